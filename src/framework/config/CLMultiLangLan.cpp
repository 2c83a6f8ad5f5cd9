#include "framework/config/CLMultiLangLan.h"

#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/TextEncoding.h"

#include <algorithm>
#include <array>

namespace vp {

namespace {

// The sections that are no window's, in the order a saved file puts them first.
constexpr std::array<StringView, 5> kReservedSections = {
    u"Info", u"BasicRes", u"SkinRes", u"LibRes", u"AppRes"};

bool IsReservedSection(StringView name)
{
    return std::any_of(kReservedSections.begin(), kReservedSections.end(),
        [&](StringView reserved) { return SameText(reserved, name); });
}

// One deterministic collation: without regard to case, ties broken by the code units.
bool CollateLess(const String& a, const String& b)
{
    int byText = CompareText(a, b);
    return byText != 0 ? byText < 0 : a < b;
}

} // namespace

const TClassInfo& TCLMultiLangLan::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCLMultiLangLan, TPersistent>(u"TCLMultiLangLan")
                                       .Strings(u"Data", &TCLMultiLangLan::Data, &TCLMultiLangLan::SetData)
                                       .Build();
    return info;
}

TCLMultiLangLan::TCLMultiLangLan() = default;
TCLMultiLangLan::~TCLMultiLangLan() = default;

void TCLMultiLangLan::LoadFromFile(const String& fn)
{
    std::string bytes = ReadAllBytes(fn);
    LoadFromString(DecodeTextBytes(bytes).Text);
}

void TCLMultiLangLan::LoadFromString(const String& str)
{
    FData.SetText(str);
    FbToApply = true;
    ApplyData();
}

String TCLMultiLangLan::ToString() const
{
    return FData.Text();
}

void TCLMultiLangLan::SaveToFile(const String& fn)
{
    SortData();
    // ANSI as the format asks, unless the code page cannot hold the language's letters
    // (Russian on a Western system): then UTF-8 with its mark, which every reader detects,
    // rather than a file of question marks.
    String text = ToString();
    std::string ansi = U16ToAnsi(text);
    if (AnsiToU16(ansi) != text)
        ansi = "\xEF\xBB\xBF" + U16ToUtf8(text);
    WriteAllBytesAtomic(fn, ansi);
}

void TCLMultiLangLan::AssignTo(TPersistent* Dest) const
{
    auto* target = dynamic_cast<TCLMultiLangLan*>(Dest);
    if (!target || target == this)
        return;
    target->FData = FData;
    target->FbToApply = true;
    target->ApplyData();
}

void TCLMultiLangLan::ClearAll()
{
    FIniData.Clear();
    FData.Clear();
    FbModified = false;
    FbToApply = false;
}

void TCLMultiLangLan::ClearForm(const String& strForm)
{
    ApplyData();
    FIniData.EraseSection(strForm);
    FbModified = true;
}

void TCLMultiLangLan::ClearAllForm()
{
    ApplyData();
    TStringList sections;
    FIniData.ReadSections(sections);
    for (const String& section : sections)
        if (!IsReservedSection(section))
            FIniData.EraseSection(section);
    FbModified = true;
    UpdateData();
}

bool TCLMultiLangLan::GetProp(
    const String& strForm, const String& strComp, const String& strProp, String& strValue)
{
    ApplyData();
    std::optional<StringView> stored = FIniData.FindValue(strForm, MakeLangKey(strComp, strProp));
    if (!stored)
        return false;
    strValue = DecodeLangValue(*stored);
    return true;
}

void TCLMultiLangLan::SetProp(
    const String& strForm, const String& strComp, const String& strProp, const String& strValue)
{
    ApplyData();
    FIniData.WriteString(strForm, MakeLangKey(strComp, strProp), EncodeLangValue(strValue));
    FbModified = true;
    UpdateData();
}

void TCLMultiLangLan::GetSectionStrings(const String& strSection, TStringList& sl)
{
    ApplyData();
    TStringList keys;
    FIniData.ReadSection(strSection, keys);
    for (const String& key : keys)
        sl.SetValue(key, DecodeLangValue(FIniData.ReadString(strSection, key, u"")));
}

void TCLMultiLangLan::ApplyData()
{
    if (!FbToApply)
        return;
    FIniData.SetText(FData.Text());
    FbToApply = false;
    FbModified = false;
}

void TCLMultiLangLan::UpdateData()
{
    if (!FbModified)
        return;
    FData.SetText(FIniData.Text());
    FbModified = false;
    FbToApply = false;
}

void TCLMultiLangLan::SortData()
{
    ApplyData();
    TStringList sections;
    FIniData.ReadSections(sections);
    std::vector<String> order;
    for (const String& section : sections)
        if (!IsReservedSection(section))
            order.push_back(section);
    std::sort(order.begin(), order.end(), CollateLess);
    order.insert(order.begin(), kReservedSections.begin(), kReservedSections.end());

    TIniDocument sorted;
    for (const String& section : order) {
        TStringList lines;
        FIniData.ReadSectionLines(section, lines);
        std::vector<String>& items = lines.Items();
        if (!SameText(section, u"Info"))
            std::sort(items.begin(), items.end(), CollateLess);
        for (StringView line : items) {
            // A line without "=" carries no text and is not kept.
            size_t equals = line.find(u'=');
            if (equals != StringView::npos)
                sorted.WriteString(section, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
        }
    }
    FIniData = std::move(sorted);
    FbModified = true;
    UpdateData();
}

void TCLMultiLangLan::SetData(const TStringList& value)
{
    FData = value;
    FbToApply = true;
}

String MakeLangKey(StringView strComp, StringView strProp)
{
    if (strComp.empty())
        return String(strProp);
    String key;
    key.reserve(strComp.size() + 1 + strProp.size());
    key.append(strComp).append(u".").append(strProp);
    return key;
}

String DecodeLangValue(StringView stored)
{
    if (stored.find(u'<') == StringView::npos)
        return String(stored);
    return ReplaceTextIgnoringCase(ReplaceTextIgnoringCase(stored, u"<BR>", u"\r\n"), u"<SP>", u" ");
}

String EncodeLangValue(StringView text)
{
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            out += u"<BR>";
            ++i;
        } else if (c == u'\r' || c == u'\n') {
            out += u"<BR>";
        } else {
            out += c;
        }
    }
    return out;
}

String ReplaceTextIgnoringCase(StringView text, StringView what, StringView with)
{
    if (what.empty())
        return String(text);
    String out;
    out.reserve(text.size());
    size_t start = 0;
    for (size_t found = PosText(what, text); found != StringView::npos;) {
        out.append(text.substr(start, found - start)).append(with);
        start = found + what.size();
        size_t next = PosText(what, text.substr(start));
        found = next == StringView::npos ? next : start + next;
    }
    out.append(text.substr(start));
    return out;
}

} // namespace vp
