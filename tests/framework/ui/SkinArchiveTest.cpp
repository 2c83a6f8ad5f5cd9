#include "SkinTestSupport.h"

#include "framework/ui/SkinArchive.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

TSkinArchive Read(const std::string& bytes, const TSkinArchiveLimits& limits = {})
{
    return TSkinArchive::Read(bytes, limits);
}

// The archive is refused, and the reason names what the test broke.
void ExpectRefused(const std::string& bytes, const std::string& reason, const TSkinArchiveLimits& limits = {})
{
    try {
        TSkinArchive::Read(bytes, limits);
        ADD_FAILURE() << "accepted; expected: " << reason;
    } catch (const ESkinError& e) {
        EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
    }
}

std::string Sound()
{
    return BuildZip({{"skin.ini", "[Skin]\nName=Test\n"},
        {"images/button.png", std::string(3000, 'x'), false}, {"images/", ""}, {"empty.txt", "", false}});
}

} // namespace

TEST(SkinArchive, ReadsStoredAndDeflatedEntriesByCaseFreeKeys)
{
    TSkinArchive archive = Read(Sound());
    EXPECT_EQ(archive.Count(), 3u);
    EXPECT_EQ(archive.Names(), (std::vector<String>{u"skin.ini", u"images/button.png", u"empty.txt"}));
    ASSERT_NE(archive.Find(u"SKIN.INI"), nullptr);
    EXPECT_EQ(*archive.Find(u"skin.ini"), "[Skin]\nName=Test\n");
    ASSERT_NE(archive.Find(u"Images\\Button.PNG"), nullptr);
    EXPECT_EQ(*archive.Find(u"images/button.png"), std::string(3000, 'x'));
    EXPECT_EQ(*archive.Find(u"empty.txt"), "");
    EXPECT_EQ(archive.Find(u"images/"), nullptr);
    EXPECT_EQ(archive.Find(u"missing.png"), nullptr);
    EXPECT_EQ(archive.Take(u"skin.ini"), "[Skin]\nName=Test\n");
}

TEST(SkinArchive, ReadsWhatOtherWritersProduce)
{
    // Data descriptors after the data, backslashes in names, a comment after the end record,
    // and an empty archive.
    TZipEntry described{"a.txt", std::string(500, 'a')};
    described.DataDescriptor = true;
    TZipOptions withComment;
    withComment.Comment = "made by hand";
    TSkinArchive archive = Read(BuildZip({described, {"dir\\b.txt", "b", false}}, withComment));
    EXPECT_EQ(*archive.Find(u"a.txt"), std::string(500, 'a'));
    EXPECT_EQ(archive.Names()[1], u"dir/b.txt");
    EXPECT_EQ(Read(BuildZip({})).Count(), 0u);
    // A highly compressible small entry is no bomb.
    EXPECT_EQ(Read(BuildZip({{"skin.ini", std::string(60000, ';')}})).Count(), 1u);
}

TEST(SkinArchive, RefusesEveryTruncation)
{
    std::string whole = Sound();
    for (size_t size = 0; size < whole.size(); ++size)
        EXPECT_THROW(Read(whole.substr(0, size)), ESkinError) << "cut at " << size;
}

TEST(SkinArchive, RefusesDamage)
{
    std::string whole = Sound();
    // Any byte of the stored picture changed: its CRC-32 fails.
    std::string flipped = whole;
    size_t at = flipped.find(std::string(3000, 'x'));
    flipped[at + 1500] = 'y';
    ExpectRefused(flipped, "CRC-32");

    TZipEntry badCrc{"skin.ini", "text"};
    badCrc.Crc = 0x12345678;
    ExpectRefused(BuildZip({badCrc}), "CRC-32");

    TZipEntry brokenStream{"skin.ini", "text"};
    brokenStream.Packed = std::string("\xFF\xFF\xFF\xFF", 4);
    ExpectRefused(BuildZip({brokenStream}), "damaged");

    TZipEntry shortStream{"skin.ini", std::string(1000, 'q')};
    shortStream.Packed = Deflate(std::string(1000, 'q')).substr(0, 3);
    ExpectRefused(BuildZip({shortStream}), "damaged");

    // Garbage after the end record that is not its comment.
    ExpectRefused(whole + "junk", "not a ZIP archive");
    ExpectRefused(std::string(100, 'P'), "not a ZIP archive");

    TZipOptions countTooHigh;
    countTooHigh.EntryCount = 5;
    ExpectRefused(BuildZip({{"a", "1"}, {"b", "2"}}, countTooHigh), "directory is damaged");
    TZipOptions countTooLow;
    countTooLow.EntryCount = 1;
    ExpectRefused(BuildZip({{"a", "1"}, {"b", "2"}}, countTooLow), "directory is damaged");
    TZipOptions offsetOut;
    offsetOut.DirectoryOffset = 0x7FFFFFF0;
    ExpectRefused(BuildZip({{"a", "1"}}, offsetOut), "directory is damaged");
    // Bytes before the first entry (a self-extractor's stub) move every offset.
    TZipOptions prefixed;
    prefixed.Prefix = "MZ stub";
    ExpectRefused(BuildZip({{"a", "1"}}, prefixed), "directory is damaged");
}

TEST(SkinArchive, RefusesHeadersThatDisagree)
{
    TZipEntry otherLocalName{"skin.ini", "x"};
    otherLocalName.LocalName = "other.ini";
    ExpectRefused(BuildZip({otherLocalName}), "described twice");

    // The local header repeats the directory's figures unless a data descriptor follows.
    std::string archive = BuildZip({{"skin.ini", "x", false}});
    archive[14] ^= 0x01; // the local CRC-32
    ExpectRefused(archive, "described twice");

    TZipEntry storedSizes{"skin.ini", "abc", false};
    storedSizes.Size = 2; // both headers agree, but a stored entry's two sizes cannot differ
    ExpectRefused(BuildZip({storedSizes}), "damaged");

    TZipEntry beyond{"skin.ini", "abc"};
    beyond.LocalOffset = 1000;
    ExpectRefused(BuildZip({beyond}), "damaged");
}

TEST(SkinArchive, RefusesWhatItDoesNotRead)
{
    TZipEntry encrypted{"skin.ini", "x"};
    encrypted.Flags = 0x0001;
    ExpectRefused(BuildZip({encrypted}), "encrypted");
    TZipEntry strong{"skin.ini", "x"};
    strong.Flags = 0x0040;
    ExpectRefused(BuildZip({strong}), "encrypted");
    TZipEntry bzip2{"skin.ini", "x"};
    bzip2.Method = 12;
    ExpectRefused(BuildZip({bzip2}), "compression method");
    TZipEntry zip64{"skin.ini", "x"};
    zip64.Size = 0xFFFFFFFF;
    ExpectRefused(BuildZip({zip64}), "ZIP64");
    TZipOptions zip64Count;
    zip64Count.EntryCount = 0xFFFF;
    ExpectRefused(BuildZip({{"a", "1"}}, zip64Count), "ZIP64");
    TZipOptions otherDisk;
    otherDisk.Disk = 1;
    ExpectRefused(BuildZip({{"a", "1"}}, otherDisk), "multi-part");
}

TEST(SkinArchive, RefusesHostileNames)
{
    struct TCase {
        std::string Name;
        std::string Reason;
    };
    const TCase cases[] = {
        {"../skin.ini", "not a plain name"},
        {"a/../../b", "not a plain name"},
        {"..", "not a plain name"},
        {"./a", "not a plain name"},
        {"a/./b", "not a plain name"},
        {"a//b", "not a plain name"},
        {"a\\..\\b", "not a plain name"},
        {"/etc/passwd", "absolute"},
        {"\\evil", "absolute"},
        {"C:evil", "drive or stream"},
        {"c:\\evil.png", "drive or stream"},
        {"skin.ini:stream", "drive or stream"},
        {"", "no name"},
        {std::string("a\0b", 3), "control characters"},
        {"tab\there", "control characters"},
        {std::string(256, 'n'), "too long"},
    };
    for (const TCase& c : cases)
        ExpectRefused(BuildZip({{c.Name, "x"}}), c.Reason);
}

TEST(SkinArchive, RefusesTwoEntriesUnderOneKey)
{
    ExpectRefused(BuildZip({{"skin.ini", "a"}, {"SKIN.INI", "b"}}), "there twice");
    ExpectRefused(BuildZip({{"img/a.png", "a"}, {"img\\A.png", "b"}}), "there twice");
    // The same folder twice is harmless.
    EXPECT_EQ(Read(BuildZip({{"img/", ""}, {"img/", ""}, {"img/a.png", "a"}})).Count(), 1u);
    TZipEntry folderWithData{"img/", "data"};
    ExpectRefused(BuildZip({folderWithData}), "folder with contents");
}

TEST(SkinArchive, KeepsToItsLimits)
{
    TSkinArchiveLimits limits;
    limits.MaxArchiveBytes = 4096;
    limits.MaxEntries = 3;
    limits.MaxEntryBytes = 1000;
    limits.MaxTotalBytes = 1500;
    limits.MaxNameBytes = 16;
    EXPECT_EQ(
        Read(BuildZip({{"a", std::string(1000, 'a')}, {"b", std::string(500, 'b')}}), limits).Count(), 2u);

    ExpectRefused(BuildZip({{"a", std::string(5000, 'a'), false}}), "too large", limits);
    ExpectRefused(BuildZip({{"a", std::string(1001, 'a')}}), "too large", limits);
    ExpectRefused(
        BuildZip({{"a", std::string(1000, 'a')}, {"b", std::string(501, 'b')}}), "too much", limits);
    ExpectRefused(BuildZip({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}), "too many", limits);
    ExpectRefused(BuildZip({{std::string(17, 'n'), "1"}}), "too long", limits);
}

TEST(SkinArchive, RefusesZipBombs)
{
    // 8 MB of zeros deflate to a few kilobytes: refused by its ratio before anything unpacks.
    std::string zeros(8u << 20, '\0');
    ExpectRefused(BuildZip({{"bomb.png", zeros}}), "expands too far");

    // An entry that declares less than it unpacks to stops at what it declared.
    TZipEntry liar{"skin.ini", std::string(200000, 'z')};
    liar.Packed = Deflate(std::string(200000, 'z'));
    liar.Size = 1000;
    ExpectRefused(BuildZip({liar}), "more than it declares");

    // Many entries each within the ratio whose sum expands too far against the archive.
    TSkinArchiveLimits limits;
    limits.MaxRatio = 5;
    limits.RatioFloorBytes = 1000;
    ExpectRefused(
        BuildZip({{"a", std::string(990, 'a')}, {"b", std::string(990, 'b')}, {"c", std::string(990, 'c')}}),
        "expands too far", limits);
}

TEST(SkinArchive, RefusesOverlappingEntries)
{
    // The second directory entry points into the first entry's data, where a sound local
    // header for it has been planted: each entry alone reads, together they overlap.
    std::string inner = BuildZip({{"inner.png", "payload", false}});
    std::string planted = inner.substr(0, 30 + 9 + 7); // local header, name, data
    TZipEntry outer{"outer.png", planted, false};
    TZipEntry overlapping{"inner.png", "payload", false};
    overlapping.LocalOffset = 30 + 9; // the planted header inside outer.png's data
    ExpectRefused(BuildZip({outer, overlapping}), "overlaps");
}
