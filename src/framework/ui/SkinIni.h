// The text of a skin.ini: sections of name=value keys, read once and looked up by name.
//
// Lines are trimmed; empty lines, lines starting with ";" or "#", lines without "=" and lines
// before the first section are skipped. Section and key names compare without regard to case.
// A repeated key replaces the earlier value; a repeated section adds to the first one.
// (The toolkit lies below the settings layer, whose INI document it cannot use.)
#pragma once

#include "framework/rtl/RtlText.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace vp {

class TSkinIniSection {
public:
    explicit TSkinIniSection(String name) : FName(std::move(name)) { }

    const String& Name() const { return FName; }
    // The value, or nullptr when the key is missing.
    const String* Find(StringView key) const;
    // The same for a key already in upper case (the loader's own keys, looked up many times).
    const String* FindUpper(const String& upperKey) const;
    // Keys in the order of their first appearance, as written.
    const std::vector<String>& Keys() const { return FKeys; }

    void Set(StringView key, StringView value);

private:
    String FName;
    std::vector<String> FKeys;
    std::unordered_map<String, String> FValues; // upper-case key -> value
};

class TSkinIni {
public:
    // The skin.ini bytes: UTF-8 with or without its byte-order mark, or UTF-16 with one.
    static TSkinIni FromBytes(std::string_view bytes);
    static TSkinIni FromText(StringView text);

    // Sections in the order of their first appearance.
    const std::vector<TSkinIniSection>& Sections() const { return FSections; }
    const TSkinIniSection* Section(StringView name) const;
    const String* Find(StringView section, StringView key) const;

private:
    std::vector<TSkinIniSection> FSections;
    std::unordered_map<String, size_t> FIndex; // upper-case name -> position
};

} // namespace vp
