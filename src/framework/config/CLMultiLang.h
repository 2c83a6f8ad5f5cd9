// The language binding: TCLMultiLangData, the language data of the process (a current and a
// default language file, the binders to tell when the language changes, and the rules of
// collecting), and TCLMultiLang, the binder that writes a language's texts into its window
// (the owner) and all components the window owns, or collects them from there.
#pragma once

#include "framework/config/CLMultiLangLan.h"
#include "framework/rtl/Component.h"

#include <functional>
#include <vector>

namespace vp {

class TCLMultiLang;

class TCLMultiLangData : public TComponent {
    VP_CLASS(TCLMultiLangData)
public:
    explicit TCLMultiLangData(TComponent* aOwner);
    ~TCLMultiLangData() override;

    // Current language first, then the default one; "{AppName}" in a found value becomes the
    // program name (not in "AppName" of "AppRes" itself, and not while designing).
    bool GetProp(const String& strForm, const String& strComp, const String& strProp, String& strValue) const;
    void SetProp(const String& strForm, const String& strComp, const String& strProp, const String& strValue);
#ifdef _WIN32
    // The spellings windows.h gives the two names when it comes after this header.
    bool GetPropW(const String& strForm, const String& strComp, const String& strProp, String& strValue) const
    {
        return GetProp(strForm, strComp, strProp, strValue);
    }
    void SetPropW(const String& strForm, const String& strComp, const String& strProp, const String& strValue)
    {
        SetProp(strForm, strComp, strProp, strValue);
    }
#endif
    // Adds the section's entries of both files to sl; entries sl already has keep their value,
    // and the current language wins over the default one.
    void GetSectionStrings(const String& strSection, TStringList& sl) const;
    void ClearForm(const String& strForm);
    void UpdateData();

    // Raise the file error when the file cannot be read, before any binder is told.
    void LoadCurrentFromFile(const String& fn);
    void LoadDefaultFromFile(const String& fn);
    void SaveCurrentToFile(const String& fn);
    // Empties the current language; binders are not told.
    void ClearCurrentAll();
    void ClearCurrentAllForm();
    void CurrentToDefault();
    void DefaultToCurrent();

    void AddClient(TCLMultiLang* pClient);
    void RemoveClient(TCLMultiLang* pClient);
    void ApplyClients();
    void UpdateClients();
    void ClearClients();
    const std::vector<TCLMultiLang*>& Clients() const
    {
        return FClients;
    }

    // Looks "AppName" up in "AppRes" into value (unchanged when missing); it becomes the
    // program name that "{AppName}" stands for.
    String ReadAppName(String& value);
    const String& AppName() const
    {
        return FAppName;
    }

    // Whether collecting skips a property (the exclusion flags and patterns).
    bool IsExcluded(const String& strCompName, const String& strClassName, const String& strPropName,
        const String& strTypeName) const;

    // Published properties.
    String CurrentLanguage() const;
    String CurrentLanguageTranslator() const;
    String CurrentVersion() const;
    bool ExcludeEmptyProp() const
    {
        return FExcludeEmptyProp;
    }
    void SetExcludeEmptyProp(bool value)
    {
        FExcludeEmptyProp = value;
    }
    TStringList* ExcludeProps()
    {
        return &FExcludeProps;
    }
    void SetExcludeProps(const TStringList& value)
    {
        FExcludeProps = value;
    }
    bool ExcludeNumberEndProps() const
    {
        return FExcludeNumberEndProps;
    }
    void SetExcludeNumberEndProps(bool value)
    {
        FExcludeNumberEndProps = value;
    }
    bool AutoApply() const
    {
        return FAutoApply;
    }
    void SetAutoApply(bool value)
    {
        FAutoApply = value;
    }
    bool ExcludeWithAction() const
    {
        return FExcludeWithAction;
    }
    void SetExcludeWithAction(bool value)
    {
        FExcludeWithAction = value;
    }
    TStringList* CurrentData()
    {
        return FLangCurrentData.Data();
    }
    void SetCurrentData(const TStringList& value)
    {
        FLangCurrentData.SetData(value);
    }
    TStringList* DefaultData()
    {
        return FLangDefaultData.Data();
    }
    void SetDefaultData(const TStringList& value)
    {
        FLangDefaultData.SetData(value);
    }

    TCLMultiLangLan& LangCurrentData()
    {
        return FLangCurrentData;
    }
    TCLMultiLangLan& LangDefaultData()
    {
        return FLangDefaultData;
    }

private:
    String InfoValue(const String& key) const;
    // The binders still registered, taken before calling any of them, so that a binder that
    // leaves during the walk is not called afterwards.
    template <class Step>
    void ForEachClient(Step step);

    bool FExcludeEmptyProp = false;
    TStringList FExcludeProps;
    bool FAutoApply = true;
    bool FExcludeNumberEndProps = false;
    bool FExcludeWithAction = false;
    // Reading a language file parses it when its lines changed, so lookups change them.
    mutable TCLMultiLangLan FLangCurrentData;
    mutable TCLMultiLangLan FLangDefaultData;
    std::vector<TCLMultiLang*> FClients;
    String FAppName;
};

// The built-in exclusion patterns, in their order.
const TStringList& DefaultExcludeProps();

using TChangeLanguageEvent = std::function<void(TComponent* Sender)>;

class TCLMultiLang : public TComponent {
    VP_CLASS(TCLMultiLang)
public:
    explicit TCLMultiLang(TComponent* aOwner);
    ~TCLMultiLang() override;

    // Registers with the language data and, at run time with AutoApply set, applies.
    void Loaded() override;

    // Writes the language's texts into the window and the components it owns.
    void ApplyData();
    void ApplyProp(TComponent* TCom, const String& strParentComp);
    // Collects the window's present texts into the current language file.
    void UpdateData();
    // Removes the window's section from the current language file.
    void ClearData();

    bool GetProp(const String& strForm, const String& strComp, const String& strProp, String& strValue);
#ifdef _WIN32
    bool GetPropW(const String& strForm, const String& strComp, const String& strProp, String& strValue)
    {
        return GetProp(strForm, strComp, strProp, strValue);
    }
#endif
    // The value of strName in "ResString" with "{AppName}" filled in, or strName when missing.
    String GetResString(const String& strName);
    void GetSectionStrings(const String& strSection, TStringList& sl);
    String Language();

    const TChangeLanguageEvent& OnChangeLanguage() const
    {
        return FOnChangeLanguage;
    }
    void SetOnChangeLanguage(TChangeLanguageEvent value)
    {
        FOnChangeLanguage = std::move(value);
    }
    TCLMultiLangData* LanguageData() const
    {
        return FLanguageData;
    }
    // Leaves the old language data's clients and joins the new one's; applies nothing.
    void SetLanguageData(TCLMultiLangData* value);

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    // The window's own components that take part: named, and neither binders nor language data.
    template <class Step>
    void ForEachWindowComponent(Step step);
    void CollectProp(TComponent& component);
    void CollectOne(TComponent& component, const TPropInfo& prop, const String& section);

    TChangeLanguageEvent FOnChangeLanguage;
    TCLMultiLangData* FLanguageData = nullptr;
};

// Shows an error of collecting while designing. Design time has no message box of its own
// here, so the designer plugs one in; the default sends the text to the debug channel.
using TDesignMessageBox = std::function<void(const String& text)>;
// Returns the previous one; an empty function restores the default.
TDesignMessageBox SetDesignMessageBox(TDesignMessageBox messageBox);

} // namespace vp
