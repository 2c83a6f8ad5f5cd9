#include "framework/ui/SkinIni.h"

#include "framework/rtl/TextEncoding.h"

namespace vp {

const String* TSkinIniSection::Find(StringView key) const
{
    return FindUpper(UpperCase(key));
}

const String* TSkinIniSection::FindUpper(const String& upperKey) const
{
    auto it = FValues.find(upperKey);
    return it == FValues.end() ? nullptr : &it->second;
}

void TSkinIniSection::Set(StringView key, StringView value)
{
    auto [it, added] = FValues.insert_or_assign(UpperCase(key), String(value));
    if (added)
        FKeys.emplace_back(key);
}

TSkinIni TSkinIni::FromBytes(std::string_view bytes)
{
    bool utf16 = bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    if (utf16)
        return FromText(DecodeTextBytes(bytes).Text);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    return FromText(Utf8ToU16(bytes));
}

TSkinIni TSkinIni::FromText(StringView text)
{
    TSkinIni ini;
    TSkinIniSection* current = nullptr;
    for (StringView rawLine : SplitLines(text)) {
        String line = Trim(rawLine);
        if (line.empty() || line.front() == u';' || line.front() == u'#')
            continue;
        if (line.front() == u'[' && line.back() == u']') {
            String name = Trim(StringView(line).substr(1, line.size() - 2));
            auto [it, added] = ini.FIndex.emplace(UpperCase(name), ini.FSections.size());
            if (added)
                ini.FSections.emplace_back(name);
            current = &ini.FSections[it->second];
            continue;
        }
        size_t equals = line.find(u'=');
        if (!current || equals == String::npos)
            continue;
        String key = Trim(StringView(line).substr(0, equals));
        if (!key.empty())
            current->Set(key, Trim(StringView(line).substr(equals + 1)));
    }
    return ini;
}

const TSkinIniSection* TSkinIni::Section(StringView name) const
{
    auto it = FIndex.find(UpperCase(name));
    return it == FIndex.end() ? nullptr : &FSections[it->second];
}

const String* TSkinIni::Find(StringView section, StringView key) const
{
    const TSkinIniSection* found = Section(section);
    return found ? found->Find(key) : nullptr;
}

} // namespace vp
