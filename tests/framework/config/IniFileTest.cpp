#include "framework/config/IniFile.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using vptest::ReadFileBytes;
using vptest::TTempFolder;
using vptest::WriteFileBytes;

namespace {

std::string Utf16LE(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::string Utf16BE(const std::u16string& text)
{
    std::string bytes = "\xFE\xFF";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c >> 8));
        bytes.push_back(static_cast<char>(c & 0xFF));
    }
    return bytes;
}

struct TEncodingCase {
    const char* Name;
    TTextEncoding Encoding;
    std::string (*Encode)(const std::u16string&);
};

std::string Utf8WithMark(const std::u16string& text)
{
    return "\xEF\xBB\xBF" + U16ToUtf8(text);
}

} // namespace

TEST(IniFile, WritesBackInTheEncodingItWasReadIn)
{
    const TEncodingCase cases[] = {
        {"UTF-16 LE", TTextEncoding::Utf16LE, Utf16LE},
        {"UTF-16 BE", TTextEncoding::Utf16BE, Utf16BE},
        {"UTF-8", TTextEncoding::Utf8, Utf8WithMark},
    };
    for (const TEncodingCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempFolder folder;
        auto path = folder.Path() / "setting.dat";
        WriteFileBytes(path, c.Encode(u"[setting]\r\nName=\u0416\u00E9\u4E2D\r\n"));
        TIniFile file(folder.Folder() + u"setting.dat");
        EXPECT_EQ(file.Encoding(), c.Encoding);
        EXPECT_EQ(file.Document().ReadString(u"setting", u"name", u""), u"\u0416\u00E9\u4E2D");
        file.Document().WriteString(u"setting", u"Other", u"\u4E2D\u6587");
        file.Save();
        EXPECT_EQ(ReadFileBytes(path),
            c.Encode(u"[setting]\r\nName=\u0416\u00E9\u4E2D\r\nOther=\u4E2D\u6587\r\n\r\n"));
    }
}

TEST(IniFile, FileWithoutMarkIsAnsiAndNewFilesAreWrittenInAnsi)
{
    TTempFolder folder;
    WriteFileBytes(folder.Path() / "const.dat", "[setting]\nCaf\xE9=na\xEFve\n");
    TIniFile file(folder.Folder() + u"const.dat");
    EXPECT_EQ(file.Encoding(), TTextEncoding::Ansi);
    EXPECT_EQ(file.Document().ReadString(u"setting", u"Caf\u00E9", u""), u"na\u00EFve");

    TIniFile fresh(folder.Folder() + u"new.dat");
    EXPECT_EQ(fresh.Encoding(), TTextEncoding::Ansi);
    EXPECT_EQ(fresh.Document().Text(), u"");
    fresh.Document().WriteString(u"setting", u"Caf\u00E9", u"1");
    fresh.Save();
    EXPECT_EQ(ReadFileBytes(folder.Path() / "new.dat"), "[setting]\r\nCaf\xE9=1\r\n\r\n");
}

TEST(IniFile, OneBlankReadsAsEmpty)
{
    TTempFolder folder;
    WriteFileBytes(folder.Path() / "setting.dat", " ");
    TIniFile file(folder.Folder() + u"setting.dat");
    EXPECT_EQ(file.Document().Text(), u"");
    EXPECT_EQ(file.Encoding(), TTextEncoding::Ansi);
}

TEST(IniFile, ReloadDiscardsUnsavedChangesAndFollowsTheDisk)
{
    TTempFolder folder;
    auto path = folder.Path() / "setting.dat";
    WriteFileBytes(path, "[setting]\r\na=1\r\n");
    TIniFile file(folder.Folder() + u"setting.dat");
    file.Document().WriteString(u"setting", u"a", u"changed");
    WriteFileBytes(path, Utf16LE(u"[setting]\r\na=2\r\n"));
    file.Reload();
    EXPECT_EQ(file.Document().ReadString(u"setting", u"a", u""), u"2");
    EXPECT_EQ(file.Encoding(), TTextEncoding::Utf16LE);
    std::filesystem::remove(path);
    file.Reload();
    EXPECT_FALSE(file.Document().SectionExists(u"setting"));
    EXPECT_EQ(file.Encoding(), TTextEncoding::Ansi);
}

TEST(IniFile, SaveIntoAMissingFolderRaisesAndCreatesNothing)
{
    TTempFolder folder;
    String name = folder.Folder() + u"missing" +
        String(1, char16_t(std::filesystem::path::preferred_separator)) + u"setting.dat";
    TIniFile file(name);
    file.Document().WriteString(u"setting", u"a", u"1");
    EXPECT_THROW(file.Save(), EFileError);
    EXPECT_FALSE(PathExists(name));
    // The value stays changed in memory.
    EXPECT_EQ(file.Document().ReadString(u"setting", u"a", u""), u"1");
}
