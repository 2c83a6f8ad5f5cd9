#include "framework/rtl/PathText.h"

namespace vp {

String FixSlashes(StringView text)
{
    String out(text);
    for (char16_t& c : out)
        if (c == u'/')
            c = u'\\';
    return out;
}

String PathJoin(StringView base, StringView relative)
{
    if (relative.find(u':') != StringView::npos)
        return FixSlashes(relative);
    if (base.size() >= 2 && base[0] == u'\\' && base[1] == u'\\')
        return FixSlashes(relative);
    size_t colon = base.find(u':');
    if (colon == 1) {
        String r = FixSlashes(relative);
        String b = FixSlashes(base);
        if (b.empty() || b.back() != u'\\')
            b += u'\\';
        if (r.size() >= 2 && r[0] == u'\\')
            return b.substr(0, 2) + r;
        return b + r;
    }
    return String(relative);
}

String ExtractFileName(StringView path)
{
    size_t sep = path.find_last_of(u"\\:");
    return String(sep == StringView::npos ? path : path.substr(sep + 1));
}

String ExtractFilePath(StringView path)
{
    size_t sep = path.find_last_of(u"\\:");
    return sep == StringView::npos ? String() : String(path.substr(0, sep + 1));
}

String ExtractFileNameNoExt(StringView path)
{
    String name = ExtractFileName(path);
    size_t dot = name.rfind(u'.');
    return dot == String::npos ? name : name.substr(0, dot);
}

String IncludeTrailingBackslash(StringView path)
{
    String out(path);
    if (out.empty() || out.back() != u'\\')
        out += u'\\';
    return out;
}

} // namespace vp
