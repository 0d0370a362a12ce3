#pragma once
// A test that loads the data set's bodies works in its own copy of the runtime folder:
// loading writes model caches beside their sources, which tests copying the shared folder
// meanwhile would trip over.
#include <filesystem>

#include "support/RuntimeCopy.h"
#include "support/WorkingFolder.h"

namespace runtime_test {

inline bool HasBodies() {
    return std::filesystem::exists(std::filesystem::path(VORNS_GAME_DIR) / "Actors" / "RobotSmall.act");
}

// The working folder is a fresh copy of the runtime folder for as long as this lives.
class WorkingCopy {
public:
    WorkingCopy() : working_(copy_.Path()) {}

private:
    RuntimeCopy copy_;
    app_test::WorkingFolder working_;
};

}  // namespace runtime_test
