#include "core/ThrowError.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "core/Debugger.h"

namespace {

TEST(ThrowErrorTest, RaiseCarriesThePlaceMessageAndCode) {
    int line = 0;
    try {
        line = __LINE__ + 1;
        VORNS_RAISE_ERROR("Unable to initialize", 7);
        FAIL() << "no throw";
    } catch (const ThrowError& error) {
        EXPECT_EQ(error.line, line);
        EXPECT_TRUE(std::string(error.file.CStr()).ends_with("ThrowErrorTest.cpp"));
        EXPECT_STREQ(error.message.CStr(), "Unable to initialize");
        EXPECT_EQ(error.code, 7);
        EXPECT_STREQ(
            DescribeError(error).CStr(),
            (std::string(error.file.CStr()) + ", " + std::to_string(error.line) + ", Unable to initialize, 7").c_str());
    }
}

TEST(ThrowErrorTest, RunProtectedPassesTheBodysResultOn) {
    EXPECT_EQ(RunProtected([] { return 0; }), 0);
    EXPECT_EQ(RunProtected([] { return 3; }), 3);
}

TEST(ThrowErrorTest, AFatalErrorIsLoggedAndPrintedAndExitsWithOne) {
    std::string logged;
    Debugger::Instance().SetCallback([&](const char* text) { logged += text; });
    testing::internal::CaptureStderr();
    const int status = RunProtected([]() -> int { RaiseError(12, ".\\Main.cpp", "Broken", 0); });
    const std::string printed = testing::internal::GetCapturedStderr();
    Debugger::Instance().SetCallback(nullptr);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(logged, ".\\Main.cpp, 12, Broken, 0\n");
    EXPECT_NE(printed.find(".\\Main.cpp, 12, Broken, 0\n"), std::string::npos);
}

TEST(ThrowErrorTest, OutOfMemoryExitsWith255) {
    testing::internal::CaptureStderr();
    const int status = RunProtected([]() -> int { throw std::bad_alloc(); });
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 255);
    EXPECT_EQ(printed, "Error: Out of memory\n");
}

TEST(ThrowErrorTest, OtherExceptionsAreNotSwallowed) {
    EXPECT_THROW(RunProtected([]() -> int { throw 5; }), int);
}

}  // namespace
