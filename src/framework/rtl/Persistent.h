// TPersistent and published-property reflection.
//
// A class publishes its properties through a static table built with TClassBuilder:
//
//     class TButton : public TControl {
//         VP_CLASS(TButton)
//     public:
//         String Caption() const;
//         void SetCaption(const String& value);
//     };
//
//     const TClassInfo& TButton::StaticClassInfo()
//     {
//         static const TClassInfo info = TClassBuilder<TButton, TControl>(u"TButton")
//             .WideText(u"Caption", u"TCaption", &TButton::Caption, &TButton::SetCaption)
//             .Build();
//         return info;
//     }
//
// A class's property list includes its ancestors' (a redeclared name replaces the ancestor's)
// and is ordered by name without regard to case.
#pragma once

#include "framework/rtl/RtlText.h"
#include "framework/rtl/StringList.h"

#include <functional>
#include <memory>
#include <vector>

namespace vp {

class TPersistent;
class TClassInfo;

enum class TPropKind {
    AnsiText, // narrow string
    WideText, // wide (UTF-16) string
    Strings, // a TStrings list of lines
    Object, // an object reference (collections, actions, skin data, ...)
    Other, // numbers, Booleans, events, ...
};

class TPropInfo {
public:
    String Name;
    TPropKind Kind = TPropKind::Other;
    String TypeName;

    bool HasReader() const;
    bool HasWriter() const;
    bool IsText() const { return Kind == TPropKind::AnsiText || Kind == TPropKind::WideText; }

    // Each accessor raises EInvalidCast when the property is of another kind or lacks the
    // reader or writer asked for.
    String GetText(const TPersistent& object) const;
    void SetText(TPersistent& object, const String& value) const;
    // The list object itself; changing it changes the property.
    TStringList* GetStrings(TPersistent& object) const;
    // Replaces the lines, through the writer when there is one, else through the list.
    void SetStrings(TPersistent& object, const TStringList& lines) const;
    TPersistent* ReadObject(const TPersistent& object) const;
    void WriteObject(TPersistent& object, TPersistent* value) const;

    std::function<String(const TPersistent&)> FTextReader;
    std::function<void(TPersistent&, const String&)> FTextWriter;
    std::function<TStringList*(TPersistent&)> FStringsReader;
    std::function<void(TPersistent&, const TStringList&)> FStringsWriter;
    std::function<TPersistent*(const TPersistent&)> FObjectReader;
    std::function<void(TPersistent&, TPersistent*)> FObjectWriter;
    bool FOtherReadable = true;
    bool FOtherWritable = true;
};

class TClassInfo {
public:
    TClassInfo(String className, const TClassInfo* parent, std::vector<TPropInfo> ownProperties);
    // The property list points into the table itself: tables are built in place, never copied.
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const String& ClassName() const { return FClassName; }
    const TClassInfo* Parent() const { return FParent; }
    // Own and inherited properties in name order.
    const std::vector<const TPropInfo*>& Properties() const { return FProperties; }
    const TPropInfo* FindProperty(StringView name) const;
    // This class or one of its ancestors has that name (compared without regard to case).
    bool InheritsFrom(StringView className) const;

private:
    String FClassName;
    const TClassInfo* FParent;
    std::vector<TPropInfo> FOwn;
    std::vector<const TPropInfo*> FProperties;
};

// Every reflected class puts this first in its body and defines StaticClassInfo().
#define VP_CLASS(ClassType)                                                                                  \
public:                                                                                                      \
    static const ::vp::TClassInfo& StaticClassInfo();                                                        \
    const ::vp::TClassInfo& ClassInfo() const override                                                       \
    {                                                                                                        \
        return StaticClassInfo();                                                                            \
    }                                                                                                        \
                                                                                                             \
private:

class TPersistent {
public:
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;
    virtual ~TPersistent() = default;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const String& ClassName() const { return ClassInfo().ClassName(); }
};

// The sender of events.
using TObject = TPersistent;
using TNotifyEvent = std::function<void(TObject* Sender)>;

template <class T, class Parent>
class TClassBuilder {
    static_assert(std::is_base_of_v<Parent, T>, "a class builds on its direct ancestor's table");

public:
    explicit TClassBuilder(String className) : FClassName(std::move(className)) { }

    using Getter = String (T::*)() const;
    using Setter = void (T::*)(const String&);

    TClassBuilder& WideText(String name, String typeName, Getter get, Setter set = nullptr)
    {
        return AddText(std::move(name), TPropKind::WideText, std::move(typeName), get, set);
    }
    TClassBuilder& AnsiText(String name, String typeName, Getter get, Setter set = nullptr)
    {
        return AddText(std::move(name), TPropKind::AnsiText, std::move(typeName), get, set);
    }

    // A TStrings property: the getter hands out the list object.
    TClassBuilder& Strings(
        String name, TStringList* (T::*get)(), void (T::*set)(const TStringList&) = nullptr)
    {
        TPropInfo p = Make(std::move(name), TPropKind::Strings, u"TStrings");
        p.FStringsReader = [get](TPersistent& o) { return (static_cast<T&>(o).*get)(); };
        if (set)
            p.FStringsWriter = [set](TPersistent& o, const TStringList& v) { (static_cast<T&>(o).*set)(v); };
        FProps.push_back(std::move(p));
        return *this;
    }

    // An object reference of the declared type (e.g. "TCollection", "TBasicAction").
    template <class V>
    TClassBuilder& Object(String name, String typeName, V* (T::*get)() const, void (T::*set)(V*) = nullptr)
    {
        static_assert(std::is_base_of_v<TPersistent, V>, "object properties hold persistent objects");
        TPropInfo p = Make(std::move(name), TPropKind::Object, std::move(typeName));
        p.FObjectReader = [get](const TPersistent& o) -> TPersistent* {
            return (static_cast<const T&>(o).*get)();
        };
        if (set)
            p.FObjectWriter = [set](TPersistent& o, TPersistent* v) {
                V* typed = v ? dynamic_cast<V*>(v) : nullptr;
                if (v && !typed)
                    ThrowWrongObject();
                (static_cast<T&>(o).*set)(typed);
            };
        FProps.push_back(std::move(p));
        return *this;
    }

    // A property the language machinery only lists (numbers, Booleans, events).
    TClassBuilder& Other(String name, String typeName, bool readable = true, bool writable = true)
    {
        TPropInfo p = Make(std::move(name), TPropKind::Other, std::move(typeName));
        p.FOtherReadable = readable;
        p.FOtherWritable = writable;
        FProps.push_back(std::move(p));
        return *this;
    }

    TClassInfo Build()
    {
        return TClassInfo(std::move(FClassName), &Parent::StaticClassInfo(), std::move(FProps));
    }

private:
    TClassBuilder& AddText(String name, TPropKind kind, String typeName, Getter get, Setter set)
    {
        TPropInfo p = Make(std::move(name), kind, std::move(typeName));
        if (get)
            p.FTextReader = [get](const TPersistent& o) { return (static_cast<const T&>(o).*get)(); };
        if (set)
            p.FTextWriter = [set](TPersistent& o, const String& v) { (static_cast<T&>(o).*set)(v); };
        FProps.push_back(std::move(p));
        return *this;
    }

    static TPropInfo Make(String name, TPropKind kind, String typeName)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.TypeName = std::move(typeName);
        return p;
    }

    [[noreturn]] static void ThrowWrongObject();

    String FClassName;
    std::vector<TPropInfo> FProps;
};

[[noreturn]] void ThrowInvalidObjectAssignment();

template <class T, class Parent>
void TClassBuilder<T, Parent>::ThrowWrongObject()
{
    ThrowInvalidObjectAssignment();
}

} // namespace vp
