// An INI text held in memory: sections of lines, some of them name=value keys.
//
// Reading trims every line, drops empty lines, ";" comments and lines before the first
// section. Section and key names compare without regard to case; of two equal keys in a
// section, or two equal sections, the later one is read and written. Lookups go through a
// case-insensitive index, so they cost no scan of the text.
#pragma once

#include "framework/rtl/RtlText.h"
#include "framework/rtl/StringList.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vp {

// Hashing and equality that ignore letter case the way SameText does.
struct TCaseInsensitiveHash {
    using is_transparent = void;
    size_t operator()(StringView text) const;
};
struct TCaseInsensitiveEqual {
    using is_transparent = void;
    bool operator()(StringView a, StringView b) const { return SameText(a, b); }
};
template <typename T>
using TCaseInsensitiveMap = std::unordered_map<String, T, TCaseInsensitiveHash, TCaseInsensitiveEqual>;

class TIniDocument {
public:
    TIniDocument();
    ~TIniDocument();
    TIniDocument(TIniDocument&&) noexcept;
    TIniDocument& operator=(TIniDocument&&) noexcept;

    // Replaces the contents by the parsed text (CR LF, LF or CR end a line).
    void SetText(StringView text);
    // The saving layout: per section "[name]", its lines, one empty line; CR LF throughout.
    String Text() const;
    void Clear();

    bool SectionExists(StringView section) const;
    bool ValueExists(StringView section, StringView key) const;
    // The key's value, viewing into the document (valid until the next change), or nothing.
    std::optional<StringView> FindValue(StringView section, StringView key) const;
    String ReadString(StringView section, StringView key, StringView aDefault) const;

    // Replaces the key's line by key=value (the value as given, untrimmed) or appends it to the
    // section; a missing section is appended at the end.
    void WriteString(StringView section, StringView key, StringView value);
    // Removes every section of that name.
    void EraseSection(StringView section);

    // Section names in file order (a repeated name appears once, in its first place).
    void ReadSections(TStringList& names) const;
    // Key names of the section in line order, repeated keys included.
    void ReadSection(StringView section, TStringList& keys) const;
    // Every line of the section as held (keys and other lines).
    void ReadSectionLines(StringView section, TStringList& lines) const;

private:
    struct TLine;
    struct TSection;

    TSection* FindSection(StringView section) const;
    TSection& AddSection(StringView name);
    void RebuildSectionIndex();

    std::vector<std::unique_ptr<TSection>> FSections;
    // Name -> position in FSections of the last section of that name.
    TCaseInsensitiveMap<size_t> FSectionIndex;
};

} // namespace vp
