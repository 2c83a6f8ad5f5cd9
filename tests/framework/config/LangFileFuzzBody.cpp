#include "LangFileFuzzBody.h"

#include "framework/config/CLMultiLangLan.h"
#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/TextEncoding.h"

namespace vptest {

using namespace vp;

namespace {

// Part of the input as a name; shorter or empty near its end.
String Piece(StringView text, size_t start, size_t length)
{
    return start < text.size() ? String(text.substr(start, length)) : String();
}

// Every key of a canonical text must read back as its decoded value.
std::string CheckEveryKeyReadsBack(TCLMultiLangLan& lan)
{
    String section;
    bool inSection = false;
    for (const String& line : *lan.Data()) {
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            section = Trim(StringView(line).substr(1, line.size() - 2));
            inSection = true;
            continue;
        }
        size_t equals = line.find(u'=');
        if (!inSection || equals == String::npos)
            continue;
        String name = line.substr(0, equals);
        String value = u"<none>";
        if (!lan.GetProp(section, u"", name, value))
            return "a key of the canonical text is not found: " + U16ToUtf8(section + u"/" + name);
        if (value != DecodeLangValue(StringView(line).substr(equals + 1)))
            return "a key reads back another value: " + U16ToUtf8(section + u"/" + name);
        size_t dot = name.find(u'.');
        if (dot != String::npos && dot > 0) {
            String split;
            if (!lan.GetProp(section, name.substr(0, dot), name.substr(dot + 1), split) || split != value)
                return "component and property do not address the key: " + U16ToUtf8(name);
        }
        TStringList strings;
        lan.GetSectionStrings(section, strings);
    }
    return {};
}

} // namespace

std::string FuzzLanguageFile(std::string_view bytes)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(DecodeTextBytes(bytes).Text);

    // Lookups on the file as loaded, with names taken from the input itself.
    String value;
    String text = lan.ToString();
    StringView view = text;
    lan.GetProp(Piece(view, 0, 8), Piece(view, 8, 8), Piece(view, 16, 8), value);
    lan.GetProp(u"Info", u"", u"Language", value);
    TStringList strings;
    lan.GetSectionStrings(u"SkinRes", strings);

    // From the second sort on, sorting changes nothing: the first one may still reorder lines
    // whose names were written with blanks before "=".
    lan.SortData();
    lan.LoadFromString(lan.ToString());
    lan.SortData();
    String sorted = lan.ToString();
    lan.LoadFromString(sorted);
    lan.SortData();
    if (lan.ToString() != sorted)
        return "sorting a canonical text changed it";
    if (std::string failure = CheckEveryKeyReadsBack(lan); !failure.empty())
        return failure;

    // Changing texts and clearing sections keep the text parseable.
    lan.SetProp(Piece(view, 0, 4), Piece(view, 4, 4), Piece(view, 8, 12), Piece(view, 0, 32));
    lan.ClearForm(Piece(view, 0, 4));
    lan.ClearAllForm();
    U16ToAnsi(lan.ToString());
    return {};
}

} // namespace vptest
