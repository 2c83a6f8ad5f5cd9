#include "framework/rtl/Persistent.h"

#include "framework/rtl/Exceptions.h"

#include <algorithm>

namespace vp {

namespace {

[[noreturn]] void ThrowNoAccess(const TPropInfo& p, const char16_t* what)
{
    throw EInvalidCast(u"Property " + p.Name + u" (" + p.TypeName + u") " + what);
}

} // namespace

void ThrowInvalidObjectAssignment()
{
    throw EInvalidCast(u"Invalid class typecast: the object does not fit the property");
}

bool TPropInfo::HasReader() const
{
    switch (Kind) {
    case TPropKind::AnsiText:
    case TPropKind::WideText: return static_cast<bool>(FTextReader);
    case TPropKind::Strings: return static_cast<bool>(FStringsReader);
    case TPropKind::Object: return static_cast<bool>(FObjectReader);
    case TPropKind::Other: return FOtherReadable;
    }
    return false;
}

bool TPropInfo::HasWriter() const
{
    switch (Kind) {
    case TPropKind::AnsiText:
    case TPropKind::WideText: return static_cast<bool>(FTextWriter);
    case TPropKind::Strings: return static_cast<bool>(FStringsWriter);
    case TPropKind::Object: return static_cast<bool>(FObjectWriter);
    case TPropKind::Other: return FOtherWritable;
    }
    return false;
}

String TPropInfo::GetText(const TPersistent& object) const
{
    if (!IsText() || !FTextReader)
        ThrowNoAccess(*this, u"cannot be read as text");
    return FTextReader(object);
}

void TPropInfo::SetText(TPersistent& object, const String& value) const
{
    if (!IsText() || !FTextWriter)
        ThrowNoAccess(*this, u"cannot be written as text");
    FTextWriter(object, value);
}

TStringList* TPropInfo::GetStrings(TPersistent& object) const
{
    if (Kind != TPropKind::Strings || !FStringsReader)
        ThrowNoAccess(*this, u"is no list of lines");
    return FStringsReader(object);
}

void TPropInfo::SetStrings(TPersistent& object, const TStringList& lines) const
{
    if (Kind != TPropKind::Strings)
        ThrowNoAccess(*this, u"is no list of lines");
    if (FStringsWriter) {
        FStringsWriter(object, lines);
        return;
    }
    TStringList* list = GetStrings(object);
    if (list)
        *list = lines;
}

TPersistent* TPropInfo::ReadObject(const TPersistent& object) const
{
    if (Kind != TPropKind::Object || !FObjectReader)
        ThrowNoAccess(*this, u"cannot be read as an object");
    return FObjectReader(object);
}

void TPropInfo::WriteObject(TPersistent& object, TPersistent* value) const
{
    if (Kind != TPropKind::Object || !FObjectWriter)
        ThrowNoAccess(*this, u"cannot be written as an object");
    FObjectWriter(object, value);
}

TClassInfo::TClassInfo(String className, const TClassInfo* parent, std::vector<TPropInfo> ownProperties)
    : FClassName(std::move(className)), FParent(parent), FOwn(std::move(ownProperties))
{
    if (FParent)
        for (const TPropInfo* inherited : FParent->Properties()) {
            bool redeclared = std::any_of(FOwn.begin(), FOwn.end(),
                [&](const TPropInfo& own) { return SameText(own.Name, inherited->Name); });
            if (!redeclared)
                FProperties.push_back(inherited);
        }
    for (const TPropInfo& own : FOwn)
        FProperties.push_back(&own);
    std::stable_sort(FProperties.begin(), FProperties.end(), [](const TPropInfo* a, const TPropInfo* b) {
        int byName = CompareText(a->Name, b->Name);
        return byName != 0 ? byName < 0 : a->Name < b->Name;
    });
}

const TPropInfo* TClassInfo::FindProperty(StringView name) const
{
    for (const TPropInfo* p : FProperties)
        if (SameText(p->Name, name))
            return p;
    return nullptr;
}

bool TClassInfo::InheritsFrom(StringView className) const
{
    for (const TClassInfo* info = this; info; info = info->FParent)
        if (SameText(info->FClassName, className))
            return true;
    return false;
}

const TClassInfo& TPersistent::StaticClassInfo()
{
    static const TClassInfo info(u"TPersistent", nullptr, {});
    return info;
}

} // namespace vp
