#include "framework/engine/FilePostGen.h"

#include "framework/rtl/UrlText.h"
#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/FileUtils.h"

namespace vp {

namespace {

const char* const kCRLF = "\r\n";

// The extension with its dot, after the last folder separator; "" when there is none.
String FileExtension(StringView aFileName)
{
    size_t dot = aFileName.find_last_of(u".\\/:");
    if (dot == StringView::npos || aFileName[dot] != u'.')
        return String();
    return String(aFileName.substr(dot));
}

// The type line with its blank line, or a single line break for other extensions.
std::string TypeLines(StringView aFileName)
{
    String ext = UpperCase(FileExtension(aFileName));
    const char* type = nullptr;
    if (ext == u".JPG" || ext == u".JPEG")
        type = "image/pjpeg";
    else if (ext == u".PNG")
        type = "image/x-png";
    else if (ext == u".PDF")
        type = "application/pdf";
    else if (ext == u".HTML")
        type = "text/html";
    if (!type)
        return kCRLF;
    return std::string("Content-Type: ") + type + kCRLF + kCRLF;
}

// Each byte as one character, so that the downloader sends exactly these bytes.
String WidenBytes(std::string_view aBytes)
{
    String text(aBytes.size(), u'\0');
    for (size_t i = 0; i < aBytes.size(); ++i)
        text[i] = static_cast<unsigned char>(aBytes[i]);
    return text;
}

} // namespace

String FormEncodeValues(const TStringList& slValues)
{
    String out;
    for (int i = 0; i < slValues.Count(); ++i) {
        if (i > 0)
            out += u'&';
        out += slValues.Names(i);
        out += u'=';
        out += URLEncode(slValues.ValueFromIndex(i));
    }
    return out;
}

void TFilePostGen::Make(const TStringList* slValues, const TStringList* slFiles)
{
    const std::string boundary = U16ToAnsi(kBoundary);
    std::string body;
    if (slValues) {
        for (int i = 0; i < slValues->Count(); ++i) {
            body += "--" + boundary + kCRLF;
            body += "Content-Disposition: form-data; name=\"" + U16ToAnsi(slValues->Names(i)) + "\"" + kCRLF +
                kCRLF;
            body += U16ToAnsi(URLEncode(slValues->ValueFromIndex(i))) + kCRLF;
        }
    }
    if (slFiles) {
        for (int i = 0; i < slFiles->Count(); ++i) {
            String fileName = slFiles->ValueFromIndex(i);
            body += "--" + boundary + kCRLF;
            body += "Content-Disposition: form-data; name=\"" + U16ToAnsi(slFiles->Names(i)) +
                "\"; filename=\"" + U16ToAnsi(fileName) + "\"" + kCRLF;
            if (fileName.empty()) {
                body += std::string("Content-Transfer-Encoding: binary") + kCRLF + kCRLF;
                continue;
            }
            body += TypeLines(fileName);
            body += ReadAllBytes(fileName);
            body += kCRLF;
        }
    }
    body += "--" + boundary + "--" + kCRLF;
    FPostData = WidenBytes(body);
    FHeaders = u"Content-Type: multipart/form-data; boundary=" + String(kBoundary);
}

} // namespace vp
