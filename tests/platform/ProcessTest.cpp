#include "platform/sys/Process.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sys/FileSystem.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform_test::TempFolder;
using platform_test::WriteRaw;
using Args = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(sys::SplitCommandLine("gen  \"a b\"\tc;d \"\""), (Args{"gen", "a b", "c;d", ""}));
    EXPECT_EQ(sys::SplitCommandLine("gen a\"b c\"d"), (Args{"gen", "ab cd"}));
    EXPECT_EQ(sys::SplitCommandLine("gen \"unclosed quote"), (Args{"gen", "unclosed quote"}));
    EXPECT_EQ(sys::SplitCommandLine("  \t "), Args{});
}

TEST(SplitCommandLine, ResolvesOnlyTheProgramPath) {
    TempFolder root;
    WriteRaw(root / "Tools/Gen.sh", "");
    const Args args = sys::SplitCommandLine("\"" + root.Path() + "\\TOOLS\\gen.SH\" Data\\X.tga");
    EXPECT_EQ(args, (Args{root / "Tools/Gen.sh", "Data\\X.tga"}));
}

TEST(RunAndWait, StartsProgramsAndIgnoresTheirExitCode) {
    EXPECT_TRUE(sys::RunAndWait({"/bin/true", "--one", "two"}, true));
    EXPECT_TRUE(sys::RunAndWait({"false"}, true));
}

TEST(RunAndWait, FailsWhenTheProgramCannotStart) {
    TempFolder root;
    WriteRaw(root / "not-executable", "");
    EXPECT_FALSE(sys::RunAndWait({root / "missing-program"}, true));
    EXPECT_FALSE(sys::RunAndWait({"vorns-no-such-program"}, true));
    EXPECT_FALSE(sys::RunAndWait({root / "not-executable"}, true));
    EXPECT_FALSE(sys::RunAndWait({}, true));
}

TEST(RunAndWait, PassesEachArgumentIntactWithoutAShell) {
    TempFolder root;
    const std::string name = "with space; touch injected";
    ASSERT_TRUE(sys::RunAndWait({"touch", root / name}, true));
    EXPECT_TRUE(fs::exists(root / name));
    EXPECT_FALSE(fs::exists(root / "injected"));
    EXPECT_FALSE(fs::exists("injected"));
    EXPECT_TRUE(sys::Exists(root / "WITH SPACE; TOUCH INJECTED"));
}

TEST(RunAndWait, HiddenSilencesTheProgramsOutput) {
    const Args speaker = {"/bin/sh", "-c", "echo out; echo err >&2"};
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(sys::RunAndWait(speaker, true));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(sys::RunAndWait(speaker, false));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "out\n");
}

TEST(RunAndWait, TheProgramInheritsNoOtherDescriptor) {
    TempFolder root;
    const int fd = ::open(root.Path().c_str(), O_RDONLY);  // deliberately inheritable
    ASSERT_GE(fd, 0);
    const std::string probe = "test -e /proc/self/fd/" + std::to_string(fd) + " && touch \"$0\"";
    ASSERT_TRUE(sys::RunAndWait({"/bin/sh", "-c", probe, root / "leaked"}, true));
    ::close(fd);
    EXPECT_FALSE(fs::exists(root / "leaked"));
}

}  // namespace
