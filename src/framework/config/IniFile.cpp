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
    if (!PathExists(FFileName)) {
        FDocument.Clear();
        FEncoding = TTextEncoding::Ansi;
        return;
    }
    std::string bytes;
    try {
        bytes = ReadAllBytes(FFileName);
    } catch (const EFileError&) {
        // What was held stays: a file held by another process for a moment must not turn
        // into an empty document that the next save writes over it.
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
