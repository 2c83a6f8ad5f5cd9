#include "framework/rtl/StringList.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/TextEncoding.h"

#include <algorithm>

namespace vp {

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
}

const String& TStringList::operator[](int index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)];
}

void TStringList::Put(int index, StringView text)
{
    CheckIndex(index);
    FItems[static_cast<size_t>(index)] = String(text);
}

int TStringList::Add(StringView text)
{
    FItems.emplace_back(text);
    return Count() - 1;
}

void TStringList::AddStrings(const TStringList& other)
{
    FItems.insert(FItems.end(), other.FItems.begin(), other.FItems.end());
}

void TStringList::Insert(int index, StringView text)
{
    if (index < 0 || index > Count())
        throw EListError::IndexOutOfBounds(index);
    FItems.emplace(FItems.begin() + index, text);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
}

void TStringList::Move(int currentIndex, int newIndex)
{
    if (currentIndex == newIndex)
        return;
    CheckIndex(currentIndex);
    CheckIndex(newIndex);
    String item = std::move(FItems[static_cast<size_t>(currentIndex)]);
    FItems.erase(FItems.begin() + currentIndex);
    FItems.insert(FItems.begin() + newIndex, std::move(item));
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
}

int TStringList::IndexOf(StringView text) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (SameText(FItems[i], text))
            return static_cast<int>(i);
    return -1;
}

int TStringList::IndexOfName(StringView name) const
{
    for (size_t i = 0; i < FItems.size(); ++i) {
        const String& item = FItems[i];
        size_t eq = item.find(u'=');
        if (eq != String::npos && SameText(StringView(item).substr(0, eq), name))
            return static_cast<int>(i);
    }
    return -1;
}

String TStringList::Names(int index) const
{
    const String& item = (*this)[index];
    size_t eq = item.find(u'=');
    return eq == String::npos ? String() : item.substr(0, eq);
}

String TStringList::ValueFromIndex(int index) const
{
    const String& item = (*this)[index];
    size_t eq = item.find(u'=');
    return eq == String::npos ? String() : item.substr(eq + 1);
}

String TStringList::Values(StringView name) const
{
    int index = IndexOfName(name);
    return index < 0 ? String() : ValueFromIndex(index);
}

void TStringList::SetValue(StringView name, StringView value)
{
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    String item = String(name) + u"=" + String(value);
    if (index >= 0)
        FItems[static_cast<size_t>(index)] = std::move(item);
    else
        FItems.push_back(std::move(item));
}

String TStringList::Text() const
{
    String out;
    size_t size = 0;
    for (const String& item : FItems)
        size += item.size() + 2;
    out.reserve(size);
    for (const String& item : FItems) {
        out += item;
        out += u"\r\n";
    }
    return out;
}

void TStringList::SetText(StringView text)
{
    FItems.clear();
    for (StringView line : SplitLines(text))
        FItems.emplace_back(line);
}

} // namespace vp
