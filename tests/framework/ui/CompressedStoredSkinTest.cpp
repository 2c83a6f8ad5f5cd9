#include "SkinTestSupport.h"
#include "support/TestSupport.h"

#include "framework/ui/CompressedStoredSkin.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

std::string NamedSkin(const std::string& name)
{
    return MakeSkinFile("[Skin]\nName=" + name + "\n[Button]\nRadius=7\n");
}

} // namespace

TEST(CompressedStoredSkin, EmptyGivesTheBuiltInLook)
{
    TspCompressedStoredSkin stored(nullptr);
    EXPECT_TRUE(stored.Empty());
    EXPECT_EQ(stored.Skin()->Info().Name, u"Built-in");
    EXPECT_EQ(stored.Skin()->Element(u"Button").Radius, TSkinDefinition().Element(u"Button").Radius);
}

TEST(CompressedStoredSkin, LoadsAllOrNothing)
{
    TspCompressedStoredSkin stored(nullptr);
    std::string first = NamedSkin("First");
    stored.LoadFromBytes(first);
    EXPECT_EQ(stored.Bytes(), first);
    std::shared_ptr<const TSkinDefinition> skin = stored.Skin();
    EXPECT_EQ(skin->Info().Name, u"First");
    EXPECT_EQ(skin->Element(u"Button").Radius, 7);
    EXPECT_EQ(stored.Skin(), skin); // read once

    // A damaged file changes nothing (the byte lies in the packed skin.ini).
    std::string damaged = NamedSkin("Second");
    damaged[30 + 8 + 2] ^= 0x55;
    EXPECT_THROW(stored.LoadFromBytes(damaged), ESkinError);
    EXPECT_EQ(stored.Bytes(), first);
    EXPECT_EQ(stored.Skin(), skin);

    stored.Clear();
    EXPECT_TRUE(stored.Empty());
    EXPECT_EQ(stored.Skin()->Info().Name, u"Built-in");
}

TEST(CompressedStoredSkin, LoadsFilesWithinTheLimit)
{
    TTempFolder folder;
    TspCompressedStoredSkin stored(nullptr);
    WriteFileBytes(folder.Path() / "Blue.skn", NamedSkin("Blue"));
    String blue = folder.Folder() + u"Blue.skn";
    stored.LoadFromFile(blue);
    EXPECT_EQ(stored.Skin()->Info().Name, u"Blue");
    EXPECT_EQ(stored.CompressedFileName(), blue);

    EXPECT_THROW(stored.LoadFromFile(folder.Folder() + u"Missing.skn"), EFOpenError);
    // A file beyond the archive limit is refused by its size, before it is read.
    std::filesystem::path huge = folder.Path() / "Huge.skn";
    WriteFileBytes(huge, "PK");
    std::filesystem::resize_file(huge, TSkinArchiveLimits{}.MaxArchiveBytes + 1);
    EXPECT_THROW(stored.LoadFromFile(folder.Folder() + u"Huge.skn"), ESkinError);
    EXPECT_EQ(stored.Skin()->Info().Name, u"Blue");
    EXPECT_EQ(stored.CompressedFileName(), blue);
}
