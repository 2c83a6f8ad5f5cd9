#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace vp;

TEST(FileUtils, WritesAtomicallyAndReadsBack)
{
    vptest::TTempFolder folder;
    String file = folder.Folder() + u"sub\u00E9\u0416.dat";
    EXPECT_FALSE(FileExists(file));
    WriteAllBytesAtomic(file, std::string("a\0b", 3));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_EQ(ReadAllBytes(file), std::string("a\0b", 3));
    WriteAllBytesAtomic(file, "new");
    EXPECT_EQ(ReadAllBytes(file), "new");
    EXPECT_FALSE(PathExists(file + u".new"));
}

TEST(FileUtils, FailedWriteLeavesTheOldFileWhole)
{
    vptest::TTempFolder folder;
    String file = folder.Folder() + u"setting.dat";
    WriteAllBytesAtomic(file, "old contents");
    // A folder standing where the new copy would go makes the write fail.
    ASSERT_TRUE(ForceDirectories(file + u".new"));
    EXPECT_THROW(WriteAllBytesAtomic(file, "new"), EFileError);
    EXPECT_EQ(ReadAllBytes(file), "old contents");
}

TEST(FileUtils, MissingFileRaisesOpenErrorNamingIt)
{
    vptest::TTempFolder folder;
    String file = folder.Folder() + u"missing.txt";
    try {
        ReadAllBytes(file);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(u"missing.txt"), String::npos);
    }
}

TEST(FileUtils, ForceDirectoriesCreatesParents)
{
    vptest::TTempFolder folder;
    String deep =
        folder.Folder() + u"a" + String(1, char16_t(std::filesystem::path::preferred_separator)) + u"b";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_FALSE(ForceDirectories(u""));
}
