// Every committed fuzz input, seeds and the inputs that once crashed, hung or leaked,
// run through its target: a regression shows here as a crash, a sanitizer report or a
// test that never ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harness/FuzzTarget.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> TargetNames() {
    std::vector<std::string> names;
    for (const auto& [name, entry] : fuzz::Targets()) {
        names.push_back(name);
    }
    return names;
}

std::vector<fs::path> InputsOf(const std::string& target) {
    std::vector<fs::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const fs::path folder = fs::path(VORNS_FUZZ_DIR) / kind / target;
        if (!fs::is_directory(folder)) {
            continue;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file() && entry.path().filename() != "README.md") {
                inputs.push_back(entry.path());
            }
        }
    }
    return inputs;
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzReplay, EveryCommittedInputRunsThrough) {
    const std::vector<fs::path> inputs = InputsOf(GetParam());
    // Every target comes with seeds.
    ASSERT_FALSE(inputs.empty()) << "no inputs for " << GetParam();
    const fuzz::Entry entry = fuzz::Targets().at(GetParam());
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::string bytes = Bytes(input);
        EXPECT_EQ(entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(TargetNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
