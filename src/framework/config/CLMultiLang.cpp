#include "framework/config/CLMultiLang.h"

#include "framework/rtl/Collection.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/Exceptions.h"

#include <algorithm>

namespace vp {

namespace {

constexpr StringView kComponentNameType = u"TComponentName";

TDesignMessageBox& DesignMessageBox()
{
    static TDesignMessageBox messageBox;
    return messageBox;
}

void ShowDesignMessage(const String& text)
{
    if (DesignMessageBox())
        DesignMessageBox()(text);
    else
        DebugSend(text, u"CLMultiLang");
}

String ItemPropPath(const String& collectionProp, int index, const String& itemProp)
{
    return collectionProp + u"[" + IntToStr(index) + u"]." + itemProp;
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

TDesignMessageBox SetDesignMessageBox(TDesignMessageBox messageBox)
{
    TDesignMessageBox previous = std::move(DesignMessageBox());
    DesignMessageBox() = std::move(messageBox);
    return previous;
}

const TStringList& DefaultExcludeProps()
{
    static const TStringList list{u"TWebBrowser:", u":TComponentName", u".SkinDataName",
        u"TspResourceStrData:", u"TShockwaveFlash:", u"TspSkinNotebook:", u"TEmbeddedWB:",
        u"TspCompressedStoredSkin:", u"TspSkinMessage:", u"TCLEngine:", u"TspSkinData:", u".Text",
        u"TIEDownload:", u":TComponentName", u".SkinDataName", u".EditSkinDataName", u".LabelSkinDataName",
        u".ButtonSkinDataName", u".BothSkinDataName", u".MessageLabelSkinDataName", u".Category",
        u".CompressedFileName", u".TrackBarSkinDataName", u".TabWidths", u".HeaderSkinDataName",
        u".LVHeaderSkinDataName"};
    return list;
}

// ---- TCLMultiLangData ----

const TClassInfo& TCLMultiLangData::StaticClassInfo()
{
    using T = TCLMultiLangData;
    static const TClassInfo info =
        TClassBuilder<T, TComponent>(u"TCLMultiLangData")
            .WideText(u"CurrentLanguage", u"string", &T::CurrentLanguage)
            .WideText(u"CurrentLanguageTranslator", u"string", &T::CurrentLanguageTranslator)
            .WideText(u"CurrentVersion", u"string", &T::CurrentVersion)
            .Other(u"ExcludeEmptyProp", u"Boolean")
            .Strings(u"ExcludeProps", &T::ExcludeProps, &T::SetExcludeProps)
            .Other(u"ExcludeNumberEndProps", u"Boolean")
            .Other(u"AutoApply", u"Boolean")
            .Other(u"ExcludeWithAction", u"Boolean")
            .Strings(u"CurrentData", &T::CurrentData, &T::SetCurrentData)
            .Strings(u"DefaultData", &T::DefaultData, &T::SetDefaultData)
            .Build();
    return info;
}

TCLMultiLangData::TCLMultiLangData(TComponent* aOwner)
    : TComponent(aOwner), FExcludeProps(DefaultExcludeProps())
{
}

TCLMultiLangData::~TCLMultiLangData()
{
    // The binders must not keep a reference to language data that is gone.
    for (TCLMultiLang* client : std::vector<TCLMultiLang*>(FClients))
        client->SetLanguageData(nullptr);
}

bool TCLMultiLangData::GetProp(
    const String& strForm, const String& strComp, const String& strProp, String& strValue) const
{
    String found;
    if (!FLangCurrentData.GetProp(strForm, strComp, strProp, found) &&
        !FLangDefaultData.GetProp(strForm, strComp, strProp, found))
        return false;
    bool isAppName = SameText(strForm, u"AppRes") && SameText(MakeLangKey(strComp, strProp), u"AppName");
    if (!IsDesigning() && !isAppName && found.find(u'{') != String::npos)
        found = ReplaceTextIgnoringCase(found, u"{AppName}", FAppName);
    strValue = std::move(found);
    return true;
}

void TCLMultiLangData::SetProp(
    const String& strForm, const String& strComp, const String& strProp, const String& strValue)
{
    FLangCurrentData.SetProp(strForm, strComp, strProp, strValue);
}

void TCLMultiLangData::GetSectionStrings(const String& strSection, TStringList& sl) const
{
    TStringList fromCurrent;
    TStringList fromDefault;
    FLangCurrentData.GetSectionStrings(strSection, fromCurrent);
    FLangDefaultData.GetSectionStrings(strSection, fromDefault);
    for (const TStringList* source : {&fromCurrent, &fromDefault})
        for (int i = 0; i < source->Count(); ++i)
            if (sl.IndexOfName(source->Names(i)) < 0)
                sl.Add((*source)[i]);
}

void TCLMultiLangData::ClearForm(const String& strForm)
{
    FLangCurrentData.ClearForm(strForm);
}

void TCLMultiLangData::UpdateData()
{
    FLangCurrentData.UpdateData();
}

void TCLMultiLangData::LoadCurrentFromFile(const String& fn)
{
    // Loading first: a file that cannot be read leaves the language and its program name as
    // they were.
    FLangCurrentData.LoadFromFile(fn);
    FAppName.clear();
    String appName;
    ReadAppName(appName);
    if (!IsDesigning())
        ApplyClients();
}

void TCLMultiLangData::LoadDefaultFromFile(const String& fn)
{
    FLangDefaultData.LoadFromFile(fn);
    FAppName.clear();
    String appName;
    ReadAppName(appName);
}

void TCLMultiLangData::SaveCurrentToFile(const String& fn)
{
    FLangCurrentData.SaveToFile(fn);
}

void TCLMultiLangData::ClearCurrentAll()
{
    FLangCurrentData.ClearAll();
}

void TCLMultiLangData::ClearCurrentAllForm()
{
    FLangCurrentData.ClearAllForm();
}

void TCLMultiLangData::CurrentToDefault()
{
    FLangCurrentData.AssignTo(&FLangDefaultData);
}

void TCLMultiLangData::DefaultToCurrent()
{
    FLangDefaultData.AssignTo(&FLangCurrentData);
}

void TCLMultiLangData::AddClient(TCLMultiLang* pClient)
{
    if (pClient && std::find(FClients.begin(), FClients.end(), pClient) == FClients.end())
        FClients.push_back(pClient);
}

void TCLMultiLangData::RemoveClient(TCLMultiLang* pClient)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), pClient), FClients.end());
}

template <class Step>
void TCLMultiLangData::ForEachClient(Step step)
{
    const std::vector<TCLMultiLang*> snapshot = FClients;
    for (TCLMultiLang* client : snapshot)
        if (std::find(FClients.begin(), FClients.end(), client) != FClients.end())
            step(*client);
}

void TCLMultiLangData::ApplyClients()
{
    ForEachClient([](TCLMultiLang& client) { client.ApplyData(); });
}

void TCLMultiLangData::UpdateClients()
{
    ForEachClient([](TCLMultiLang& client) { client.UpdateData(); });
}

void TCLMultiLangData::ClearClients()
{
    ForEachClient([](TCLMultiLang& client) { client.ClearData(); });
}

String TCLMultiLangData::ReadAppName(String& value)
{
    GetProp(u"AppRes", u"", u"AppName", value);
    FAppName = value;
    return value;
}

bool TCLMultiLangData::IsExcluded(const String& strCompName, const String& strClassName,
    const String& strPropName, const String& strTypeName) const
{
    if (FExcludeNumberEndProps && !strCompName.empty() && IsDigit(strCompName.back()))
        return true;
    const String patterns[] = {
        strClassName + u":",
        strClassName + u":." + strPropName,
        u":" + strTypeName,
        strCompName + u".",
        strCompName + u".." + strPropName,
        u"." + strPropName,
    };
    return std::any_of(std::begin(patterns), std::end(patterns),
        [&](const String& pattern) { return FExcludeProps.IndexOf(pattern) >= 0; });
}

String TCLMultiLangData::InfoValue(const String& key) const
{
    String value;
    GetProp(u"Info", u"", key, value);
    return value;
}

String TCLMultiLangData::CurrentLanguage() const
{
    return InfoValue(u"Language");
}

String TCLMultiLangData::CurrentLanguageTranslator() const
{
    return InfoValue(u"Translator");
}

String TCLMultiLangData::CurrentVersion() const
{
    return InfoValue(u"Version");
}

// ---- TCLMultiLang ----

const TClassInfo& TCLMultiLang::StaticClassInfo()
{
    using T = TCLMultiLang;
    static const TClassInfo info =
        TClassBuilder<T, TComponent>(u"TCLMultiLang")
            .Other(u"OnChangeLanguage", u"TNotifyEvent")
            .Object(u"LanguageData", u"TCLMultiLangData", &T::LanguageData, &T::SetLanguageData)
            .Build();
    return info;
}

TCLMultiLang::TCLMultiLang(TComponent* aOwner) : TComponent(aOwner)
{
}

TCLMultiLang::~TCLMultiLang()
{
    if (FLanguageData)
        FLanguageData->RemoveClient(this);
}

void TCLMultiLang::SetLanguageData(TCLMultiLangData* value)
{
    if (value == FLanguageData)
        return;
    if (FLanguageData) {
        FLanguageData->RemoveClient(this);
        RemoveFreeNotification(FLanguageData);
    }
    FLanguageData = value;
    if (FLanguageData) {
        FLanguageData->AddClient(this);
        FreeNotification(FLanguageData);
    }
}

void TCLMultiLang::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation == TOperation::Remove && FLanguageData && aComponent == FLanguageData)
        FLanguageData = nullptr;
}

void TCLMultiLang::Loaded()
{
    TComponent::Loaded();
    if (!FLanguageData)
        return;
    FLanguageData->AddClient(this);
    if (!IsDesigning() && FLanguageData->AutoApply())
        ApplyData();
}

template <class Step>
void TCLMultiLang::ForEachWindowComponent(Step step)
{
    TComponent* window = Owner();
    for (int i = 0; window && i < window->ComponentCount(); ++i) {
        TComponent* component = window->Components(i);
        if (component->Name().empty() || dynamic_cast<TCLMultiLang*>(component) ||
            dynamic_cast<TCLMultiLangData*>(component))
            continue;
        step(*component);
    }
}

void TCLMultiLang::ApplyData()
{
    if (!FLanguageData || !Owner())
        return;
    ApplyProp(Owner(), u"");
    ForEachWindowComponent([this](TComponent& component) { ApplyProp(&component, u""); });
    if (!IsDesigning() && FOnChangeLanguage)
        FOnChangeLanguage(this);
}

void TCLMultiLang::ApplyProp(TComponent* TCom, const String&)
{
    if (!FLanguageData || !Owner() || !TCom)
        return;
    const String section = Owner()->ClassName();
    const String component = TCom->Name();
    String value;
    for (const TPropInfo* prop : TCom->ClassInfo().Properties()) {
        switch (prop->Kind) {
        case TPropKind::Strings:
            if ((prop->HasReader() || prop->HasWriter()) && GetProp(section, component, prop->Name, value)) {
                TStringList lines;
                lines.SetText(value);
                prop->SetStrings(*TCom, lines);
            }
            break;
        case TPropKind::AnsiText:
        case TPropKind::WideText:
            // A key for a property without a writer cannot be honoured; it is skipped.
            if (!SameText(prop->TypeName, kComponentNameType) && prop->HasWriter() &&
                GetProp(section, component, prop->Name, value))
                prop->SetText(*TCom, value);
            break;
        case TPropKind::Object: {
            auto* collection =
                prop->HasReader() ? dynamic_cast<TCollection*>(prop->ReadObject(*TCom)) : nullptr;
            for (int i = 0; collection && i < collection->Count(); ++i) {
                TCollectionItem* item = collection->Items(i);
                for (const TPropInfo* itemProp : item->ClassInfo().Properties())
                    if (itemProp->IsText() && itemProp->HasWriter() &&
                        GetProp(section, component, ItemPropPath(prop->Name, i, itemProp->Name), value))
                        itemProp->SetText(*item, value);
            }
            break;
        }
        case TPropKind::Other: break;
        }
    }
}

void TCLMultiLang::UpdateData()
{
    if (!FLanguageData || !Owner())
        return;
    CollectProp(*Owner());
    ForEachWindowComponent([this](TComponent& component) { CollectProp(component); });
}

void TCLMultiLang::CollectProp(TComponent& component)
{
    TCLMultiLangData& data = *FLanguageData;
    if (data.ExcludeWithAction()) {
        const TPropInfo* action = component.ClassInfo().FindProperty(u"Action");
        if (action && action->Kind == TPropKind::Object && SameText(action->TypeName, u"TBasicAction") &&
            action->HasReader() && action->ReadObject(component))
            return;
    }
    const String section = Owner()->ClassName();
    for (const TPropInfo* prop : component.ClassInfo().Properties()) {
        if (prop->Kind == TPropKind::Other || !prop->HasReader())
            continue;
        // Lists and collections are written through the object they hand out; a text needs a
        // writer, or the collected key could never be applied.
        if (prop->IsText() && !prop->HasWriter())
            continue;
        if (data.IsExcluded(component.Name(), component.ClassName(), prop->Name, prop->TypeName))
            continue;
        try {
            CollectOne(component, *prop, section);
        } catch (const std::exception& error) {
            if (IsDesigning()) {
                const auto* known = dynamic_cast<const Exception*>(&error);
                String text = known ? known->Message() : Utf8ToU16(error.what());
                ShowDesignMessage(text + u": " + u"" + u" > " + component.Name() + u":" +
                    component.ClassName() + u"  " + prop->Name + u":" + prop->TypeName);
            }
        }
    }
    data.UpdateData();
}

void TCLMultiLang::CollectOne(TComponent& component, const TPropInfo& prop, const String& section)
{
    TCLMultiLangData& data = *FLanguageData;
    const bool excludeEmpty = data.ExcludeEmptyProp();
    const String name = component.Name();
    switch (prop.Kind) {
    case TPropKind::Strings: {
        const TStringList* lines = prop.GetStrings(component);
        if (!lines || (excludeEmpty && lines->Empty()))
            return;
        data.SetProp(section, name, prop.Name, lines->Text());
        return;
    }
    case TPropKind::AnsiText:
    case TPropKind::WideText: {
        if (SameText(prop.TypeName, kComponentNameType))
            return;
        String text = prop.GetText(component);
        // A menu separator's "-" counts as empty only for narrow texts.
        if (excludeEmpty && (text.empty() || (prop.Kind == TPropKind::AnsiText && text == u"-")))
            return;
        data.SetProp(section, name, prop.Name, text);
        return;
    }
    case TPropKind::Object: {
        auto* collection = dynamic_cast<TCollection*>(prop.ReadObject(component));
        for (int i = 0; collection && i < collection->Count(); ++i) {
            TCollectionItem* item = collection->Items(i);
            for (const TPropInfo* itemProp : item->ClassInfo().Properties()) {
                if (!itemProp->IsText() || !itemProp->HasReader() || !itemProp->HasWriter())
                    continue;
                String text = itemProp->GetText(*item);
                if (excludeEmpty && text.empty())
                    continue;
                data.SetProp(section, name, ItemPropPath(prop.Name, i, itemProp->Name), text);
            }
        }
        return;
    }
    case TPropKind::Other: return;
    }
}

void TCLMultiLang::ClearData()
{
    if (FLanguageData && Owner())
        FLanguageData->ClearForm(Owner()->ClassName());
}

bool TCLMultiLang::GetProp(
    const String& strForm, const String& strComp, const String& strProp, String& strValue)
{
    return FLanguageData && FLanguageData->GetProp(strForm, strComp, strProp, strValue);
}

String TCLMultiLang::GetResString(const String& strName)
{
    String value;
    return GetProp(u"ResString", u"", strName, value) ? value : strName;
}

void TCLMultiLang::GetSectionStrings(const String& strSection, TStringList& sl)
{
    if (FLanguageData)
        FLanguageData->GetSectionStrings(strSection, sl);
}

String TCLMultiLang::Language()
{
    return FLanguageData ? FLanguageData->CurrentLanguage() : String();
}

} // namespace vp
