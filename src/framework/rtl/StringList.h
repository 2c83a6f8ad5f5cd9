// TStringList: an ordered list of texts, duplicates allowed, with name=value access.
#pragma once

#include "framework/rtl/RtlText.h"

#include <vector>

namespace vp {

class TStringList {
public:
    TStringList() = default;
    TStringList(std::initializer_list<String> items) : FItems(items) { }

    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }

    // Indexed access raises EListError for an index outside 0..Count-1.
    const String& operator[](int index) const;
    const String& Strings(int index) const { return (*this)[index]; }
    void Put(int index, StringView text);

    int Add(StringView text);
    void AddStrings(const TStringList& other);
    // index may be Count (appends).
    void Insert(int index, StringView text);
    void Delete(int index);
    void Move(int currentIndex, int newIndex);
    void Exchange(int index1, int index2);
    void Clear() { FItems.clear(); }

    // First item equal to text without regard to case, or -1.
    int IndexOf(StringView text) const;

    // name=value items: the name is the text before the first "=" (an item without "=" has
    // none); names compare without regard to case.
    int IndexOfName(StringView name) const;
    String Names(int index) const;
    String ValueFromIndex(int index) const;
    String Values(StringView name) const;
    // Sets the value of the first item with that name, appending name=value when there is
    // none; an empty value removes the item.
    void SetValue(StringView name, StringView value);

    // Every line followed by CR LF. Setting splits at CR LF, LF or CR.
    String Text() const;
    void SetText(StringView text);

    bool operator==(const TStringList& other) const { return FItems == other.FItems; }

    std::vector<String>::const_iterator begin() const { return FItems.begin(); }
    std::vector<String>::const_iterator end() const { return FItems.end(); }
    std::vector<String>& Items() { return FItems; }
    const std::vector<String>& Items() const { return FItems; }

private:
    void CheckIndex(int index) const;

    std::vector<String> FItems;
};

using TStrings = TStringList;

} // namespace vp
