#pragma once
// Runs a test inside a folder as the program's working folder, as the game runs inside
// its runtime folder.
#include <filesystem>
#include <string>

namespace app_test {

class WorkingFolder {
public:
    explicit WorkingFolder(const std::string& path) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~WorkingFolder() { std::filesystem::current_path(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace app_test
