// Request bodies for the downloader: the URL-encoded form of name=value lines, and the
// multipart form with files (TFilePostGen).
#pragma once

#include "framework/rtl/RtlText.h"
#include "framework/rtl/StringList.h"

namespace vp {

// name + "=" + URLEncode(value) for each line, joined by "&"; names are not encoded.
String FormEncodeValues(const TStringList& slValues);

class TFilePostGen {
public:
    static constexpr StringView kBoundary = u"---------------------------989989989";

    // Builds the multipart body of the name=value lines of slValues and the name=file-name
    // lines of slFiles (either may be null). File contents are read whole; a file that
    // cannot be read raises EFOpenError. The body holds one byte per character: names and
    // file names in the system ANSI code page, file contents byte for byte.
    void Make(const TStringList* slValues, const TStringList* slFiles);

    String FPostData;
    String FHeaders;
};

} // namespace vp
