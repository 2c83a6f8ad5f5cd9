#include "framework/config/IniDocument.h"

#include "framework/rtl/TextEncoding.h"

namespace vp {

size_t TCaseInsensitiveHash::operator()(StringView text) const
{
    // FNV-1a over the folded code units.
    uint64_t hash = 14695981039346656037ull;
    for (char16_t c : text) {
        hash ^= UpCaseChar(c);
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

namespace {

constexpr size_t kNoKey = StringView::npos;

bool IsBlank(char16_t c)
{
    return c <= u' ';
}

} // namespace

// One line of a section as it is held and saved. For a key, the name is Text[0, NameLength)
// and the value Text[ValueStart, end).
struct TIniDocument::TLine {
    String Text;
    size_t NameLength = kNoKey;
    size_t ValueStart = 0;

    bool IsKey() const { return NameLength != kNoKey; }
    StringView Name() const { return StringView(Text).substr(0, NameLength); }
    StringView Value() const { return StringView(Text).substr(ValueStart); }

    // A trimmed line read from text: the name and the value are trimmed as well.
    static TLine Parse(StringView trimmed)
    {
        TLine line{String(trimmed)};
        size_t equals = trimmed.find(u'=');
        if (equals == StringView::npos)
            return line;
        size_t nameEnd = equals;
        while (nameEnd > 0 && IsBlank(trimmed[nameEnd - 1]))
            --nameEnd;
        size_t valueStart = equals + 1;
        while (valueStart < trimmed.size() && IsBlank(trimmed[valueStart]))
            ++valueStart;
        line.NameLength = nameEnd;
        line.ValueStart = valueStart;
        return line;
    }

    // A line written by the program: key, "=" and the value as given.
    static TLine Make(StringView key, StringView value)
    {
        TLine line;
        line.Text.reserve(key.size() + 1 + value.size());
        line.Text.append(key).append(u"=").append(value);
        line.NameLength = key.size();
        line.ValueStart = key.size() + 1;
        return line;
    }
};

struct TIniDocument::TSection {
    String Name;
    std::vector<TLine> Lines;
    // Key name -> position in Lines of the last line with that name.
    TCaseInsensitiveMap<size_t> KeyIndex;

    void Append(TLine line)
    {
        if (line.IsKey())
            KeyIndex.insert_or_assign(String(line.Name()), Lines.size());
        Lines.push_back(std::move(line));
    }

    const TLine* FindKey(StringView key) const
    {
        auto found = KeyIndex.find(key);
        return found == KeyIndex.end() ? nullptr : &Lines[found->second];
    }
};

TIniDocument::TIniDocument() = default;
TIniDocument::~TIniDocument() = default;
TIniDocument::TIniDocument(TIniDocument&&) noexcept = default;
TIniDocument& TIniDocument::operator=(TIniDocument&&) noexcept = default;

void TIniDocument::Clear()
{
    FSections.clear();
    FSectionIndex.clear();
}

void TIniDocument::SetText(StringView text)
{
    Clear();
    TSection* current = nullptr;
    for (StringView raw : SplitLines(text)) {
        size_t begin = 0;
        size_t end = raw.size();
        while (begin < end && IsBlank(raw[begin]))
            ++begin;
        while (end > begin && IsBlank(raw[end - 1]))
            --end;
        StringView line = raw.substr(begin, end - begin);
        if (line.empty() || line.front() == u';')
            continue;
        if (line.front() == u'[' && line.back() == u']') {
            current = &AddSection(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        if (current)
            current->Append(TLine::Parse(line));
    }
}

String TIniDocument::Text() const
{
    size_t size = 0;
    for (const auto& section : FSections) {
        size += section->Name.size() + 6;
        for (const TLine& line : section->Lines)
            size += line.Text.size() + 2;
    }
    String text;
    text.reserve(size);
    for (const auto& section : FSections) {
        text.append(u"[").append(section->Name).append(u"]\r\n");
        for (const TLine& line : section->Lines)
            text.append(line.Text).append(u"\r\n");
        text.append(u"\r\n");
    }
    return text;
}

TIniDocument::TSection& TIniDocument::AddSection(StringView name)
{
    auto section = std::make_unique<TSection>();
    section->Name = String(name);
    FSectionIndex.insert_or_assign(section->Name, FSections.size());
    FSections.push_back(std::move(section));
    return *FSections.back();
}

TIniDocument::TSection* TIniDocument::FindSection(StringView section) const
{
    auto found = FSectionIndex.find(section);
    return found == FSectionIndex.end() ? nullptr : FSections[found->second].get();
}

void TIniDocument::RebuildSectionIndex()
{
    FSectionIndex.clear();
    for (size_t i = 0; i < FSections.size(); ++i)
        FSectionIndex.insert_or_assign(FSections[i]->Name, i);
}

bool TIniDocument::SectionExists(StringView section) const
{
    return FindSection(section) != nullptr;
}

bool TIniDocument::ValueExists(StringView section, StringView key) const
{
    return FindValue(section, key).has_value();
}

std::optional<StringView> TIniDocument::FindValue(StringView section, StringView key) const
{
    const TSection* found = FindSection(section);
    if (!found)
        return std::nullopt;
    const TLine* line = found->FindKey(key);
    if (!line)
        return std::nullopt;
    return line->Value();
}

String TIniDocument::ReadString(StringView section, StringView key, StringView aDefault) const
{
    std::optional<StringView> value = FindValue(section, key);
    return String(value ? *value : aDefault);
}

void TIniDocument::WriteString(StringView section, StringView key, StringView value)
{
    TSection* existing = FindSection(section);
    TSection& target = existing ? *existing : AddSection(section);
    auto found = target.KeyIndex.find(key);
    if (found == target.KeyIndex.end()) {
        target.Append(TLine::Make(key, value));
        return;
    }
    // The index keeps the name as first read; the line takes the name as now written.
    target.Lines[found->second] = TLine::Make(key, value);
}

void TIniDocument::EraseSection(StringView section)
{
    std::erase_if(FSections, [&](const auto& item) { return SameText(item->Name, section); });
    RebuildSectionIndex();
}

void TIniDocument::ReadSections(TStringList& names) const
{
    TCaseInsensitiveMap<bool> seen;
    for (const auto& section : FSections)
        if (seen.try_emplace(section->Name, true).second)
            names.Add(section->Name);
}

void TIniDocument::ReadSection(StringView section, TStringList& keys) const
{
    if (const TSection* found = FindSection(section))
        for (const TLine& line : found->Lines)
            if (line.IsKey())
                keys.Add(line.Name());
}

void TIniDocument::ReadSectionLines(StringView section, TStringList& lines) const
{
    if (const TSection* found = FindSection(section))
        for (const TLine& line : found->Lines)
            lines.Add(line.Text);
}

} // namespace vp
