#include "framework/config/IniFile.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"

namespace vp {

TIniFile::TIniFile(StringView fileName, TUnreadableIni unreadable)
    : FFileName(fileName), FUnreadable(unreadable)
{
    Reload();
}

void TIniFile::Reload()
{
    FDocument.Clear();
    FEncoding = TTextEncoding::Ansi;
    if (!PathExists(FFileName))
        return;
    std::string bytes;
    try {
        bytes = ReadAllBytes(FFileName);
    } catch (const EFileError&) {
        if (FUnreadable == TUnreadableIni::Raise)
            throw;
        return;
    }
    TDecodedText decoded = DecodeTextBytes(bytes);
    FEncoding = decoded.Encoding;
    FDocument.SetText(decoded.Text);
}

void TIniFile::Save() const
{
    WriteAllBytesAtomic(FFileName, EncodeTextBytes(FDocument.Text(), FEncoding));
}

} // namespace vp
