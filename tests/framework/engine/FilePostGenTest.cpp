#include "framework/engine/FilePostGen.h"

#include "framework/rtl/Exceptions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const std::string B = "-----------------------------989989989"; // "--" and the boundary

// The body as the bytes it stands for.
std::string Bytes(const String& body)
{
    std::string bytes;
    for (char16_t c : body) {
        EXPECT_LE(c, 0xFF);
        bytes.push_back(static_cast<char>(c));
    }
    return bytes;
}

String Path(const TTempFolder& temp, const char* name)
{
    return (temp.Path() / name).u16string();
}

std::string Utf8(const String& text)
{
    return U16ToUtf8(text);
}

} // namespace

TEST(FormEncodeValues, NamesAsTheyAreValuesEncoded)
{
    EXPECT_EQ(FormEncodeValues(TStringList{u"q=a b&c"}), u"q=a+b%26c");
    EXPECT_EQ(FormEncodeValues(TStringList{u"a=1", u"b=", u"c=x=y", u"na me=v"}), u"a=1&b=&c=x%3Dy&na me=v");
    EXPECT_EQ(FormEncodeValues(TStringList{u"v=*@._-$!'()"}), u"v=*@._-$!'()");
    EXPECT_EQ(FormEncodeValues(TStringList{u"v=\u00E9/\r\n"}), u"v=%E9%2F%0D%0A");
    EXPECT_EQ(FormEncodeValues(TStringList{}), u"");
}

TEST(TFilePostGen, ValuesAndFilesWithTheirTypeLines)
{
    TTempFolder temp;
    const std::string png("\x89PNG\0\xFF", 6);
    WriteFileBytes(temp.Path() / "a.Png", png);
    WriteFileBytes(temp.Path() / "b.JPEG", "jpeg");
    WriteFileBytes(temp.Path() / "c.jpg", "jpg");
    WriteFileBytes(temp.Path() / "d.pdf", "pdf");
    WriteFileBytes(temp.Path() / "e.html", "<p>");
    WriteFileBytes(temp.Path() / "f.htm", "htm");
    WriteFileBytes(temp.Path() / "noext", "plain");
    TStringList files{u"p=" + Path(temp, "a.Png"), u"j1=" + Path(temp, "b.JPEG"),
        u"j2=" + Path(temp, "c.jpg"), u"d=" + Path(temp, "d.pdf"), u"h=" + Path(temp, "e.html"),
        u"o=" + Path(temp, "f.htm"), u"n=" + Path(temp, "noext")};
    TFilePostGen gen;
    TStringList values{u"name=a b", u"amp=x&y"};
    gen.Make(&values, &files);

    auto part = [&](const char* name, const char* file, const char* typeLines, const std::string& content) {
        return B + "\r\nContent-Disposition: form-data; name=\"" + name + "\"; filename=\"" +
            Utf8(Path(temp, file)) + "\"\r\n" + typeLines + content + "\r\n";
    };
    std::string expected = B + "\r\nContent-Disposition: form-data; name=\"name\"\r\n\r\na+b\r\n" + B +
        "\r\nContent-Disposition: form-data; name=\"amp\"\r\n\r\nx%26y\r\n" +
        part("p", "a.Png", "Content-Type: image/x-png\r\n\r\n", png) +
        part("j1", "b.JPEG", "Content-Type: image/pjpeg\r\n\r\n", "jpeg") +
        part("j2", "c.jpg", "Content-Type: image/pjpeg\r\n\r\n", "jpg") +
        part("d", "d.pdf", "Content-Type: application/pdf\r\n\r\n", "pdf") +
        part("h", "e.html", "Content-Type: text/html\r\n\r\n", "<p>") + part("o", "f.htm", "\r\n", "htm") +
        part("n", "noext", "\r\n", "plain") + B + "--\r\n";
    EXPECT_EQ(Bytes(gen.FPostData), expected);
    EXPECT_EQ(
        gen.FHeaders, u"Content-Type: multipart/form-data; boundary=---------------------------989989989");
}

TEST(TFilePostGen, AnEmptyFileNameGivesTheBinaryLineAndNoContent)
{
    TFilePostGen gen;
    TStringList files{u"upload="};
    gen.Make(nullptr, &files);
    EXPECT_EQ(Bytes(gen.FPostData),
        B + "\r\nContent-Disposition: form-data; name=\"upload\"; filename=\"\"\r\n" +
            "Content-Transfer-Encoding: binary\r\n\r\n" + B + "--\r\n");
}

TEST(TFilePostGen, WithoutFileLinesTheBodyStillEndsWithTheClosingLine)
{
    TFilePostGen gen;
    TStringList values{u"k=v"};
    TStringList noFiles;
    gen.Make(&values, &noFiles);
    EXPECT_EQ(Bytes(gen.FPostData),
        B + "\r\nContent-Disposition: form-data; name=\"k\"\r\n\r\nv\r\n" + B + "--\r\n");
    TFilePostGen nothing;
    nothing.Make(nullptr, nullptr);
    EXPECT_EQ(Bytes(nothing.FPostData), B + "--\r\n");
}

TEST(TFilePostGen, TheExtensionIsTakenAfterTheLastFolderSeparator)
{
    TTempFolder temp;
    std::filesystem::create_directory(temp.Path() / "dir.png");
    WriteFileBytes(temp.Path() / "dir.png" / "file", "x");
    TFilePostGen gen;
    TStringList files{u"f=" + Path(temp, "dir.png/file")};
    gen.Make(nullptr, &files);
    std::string body = Bytes(gen.FPostData);
    EXPECT_EQ(body.find("Content-Type"), std::string::npos);
}

TEST(TFilePostGen, NamesGoInTheAnsiCodePage)
{
    TFilePostGen gen;
    TStringList values{u"caf\u00E9=1"};
    gen.Make(&values, nullptr);
    EXPECT_NE(Bytes(gen.FPostData).find("name=\"caf\xE9\""), std::string::npos);
}

TEST(TFilePostGen, AFileThatCannotBeReadRaises)
{
    TTempFolder temp;
    TFilePostGen gen;
    TStringList files{u"f=" + Path(temp, "missing.png")};
    EXPECT_THROW(gen.Make(nullptr, &files), EFOpenError);
}
