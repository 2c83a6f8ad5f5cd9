// An INI file: its document in memory, the file's name and the encoding it was read in, so
// that saving writes it back the same way. A file that did not exist is saved in the ANSI
// code page.
#pragma once

#include "framework/config/IniDocument.h"
#include "framework/rtl/TextEncoding.h"

namespace vp {

// What loading does with a file that exists but cannot be read.
enum class TUnreadableIni { Raise, ReadAsEmpty };

class TIniFile {
public:
    // Loads the file; a missing file gives an empty document. An unreadable one raises
    // EFOpenError, or reads as empty when the caller says so.
    explicit TIniFile(StringView fileName, TUnreadableIni unreadable = TUnreadableIni::Raise);

    const String& FileName() const { return FFileName; }
    TTextEncoding Encoding() const { return FEncoding; }
    TIniDocument& Document() { return FDocument; }
    const TIniDocument& Document() const { return FDocument; }

    // Reads the file again in place of the contents held; a missing file gives an empty
    // document. A file that exists but cannot be read leaves the contents as they were
    // (and raises unless the file reads as empty when unreadable).
    void Reload();
    // Writes the whole document, replacing the file only once the new copy is complete.
    // Raises EFCreateError or EWriteError; the old file then stays as it was.
    void Save() const;

private:
    String FFileName;
    TUnreadableIni FUnreadable;
    TTextEncoding FEncoding = TTextEncoding::Ansi;
    TIniDocument FDocument;
};

} // namespace vp
