// Making a read-only file writable again.
#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "platform/sys/FileSystem.h"
#include "support/TempFolder.h"

namespace {

TEST(ReadOnlyFileTest, RestoringAnswersWithTheCallsOwnResult) {
    platform_test::TempFolder folder;
    const std::string path = folder / "Unit.VRN";
    platform_test::WriteRaw(path, "Name Scout\n");
    EXPECT_EQ(RestoreReadOnlyFile(String(path.c_str())), 0);  // already writable: unchanged
    ASSERT_TRUE(sys::SetReadOnly(path, true));
    EXPECT_EQ(RestoreReadOnlyFile(String((folder / "UNIT.vrn").c_str())), 0);  // any case
    EXPECT_FALSE(sys::IsReadOnly(path));
    EXPECT_EQ(RestoreReadOnlyFile(String((folder / "Missing.VRN").c_str())), kErrorFileNotFound);
}

}  // namespace
