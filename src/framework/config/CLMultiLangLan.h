// TCLMultiLangLan: one language file held in memory, in two representations: the text lines
// (FData) and the parsed INI view (FIniData). Two flags keep them in step lazily: FbToApply
// (the lines changed, the view must be parsed again) and FbModified (the view changed, the
// lines must be regenerated).
//
// A text is addressed by section (a window's class name or a fixed section), component and
// property path; the key is "component.path", or the path alone for an empty component.
// Stored values hold no line breaks: "<BR>" stands for CR LF and "<SP>" for a blank.
#pragma once

#include "framework/config/IniDocument.h"
#include "framework/rtl/Persistent.h"
#include "framework/rtl/StringList.h"

// windows.h turns GetProp and SetProp into macros for its window property calls, which this
// program calls by their W names. The language classes keep their own names: the macros go
// here, and where windows.h comes after this header, its W spellings (the GetPropW and
// SetPropW members) reach the same operations.
#ifdef GetProp
#undef GetProp
#endif
#ifdef SetProp
#undef SetProp
#endif

namespace vp {

class TCLMultiLangLan : public TPersistent {
    VP_CLASS(TCLMultiLangLan)
public:
    TCLMultiLangLan();
    ~TCLMultiLangLan() override;

    // Raises EFOpenError when the file cannot be read; the object then keeps its contents.
    void LoadFromFile(const String& fn);
    void LoadFromString(const String& str);
    // The lines, each followed by CR LF.
    String ToString() const;
    // Canonical order first, then ANSI text without a byte-order mark (UTF-8 with its mark when
    // the code page cannot hold every letter). Raises the file error
    // when the file cannot be written (the data is sorted all the same).
    void SaveToFile(const String& fn);
    // Copies the lines into another language file, which parses them at once; any other
    // destination is left as it is.
    void AssignTo(TPersistent* Dest) const;

    void ClearAll();
    // Removes the section; the lines follow at the next UpdateData.
    void ClearForm(const String& strForm);
    // Removes every section but the reserved ones ("Info", "AppRes", "SkinRes", "LibRes",
    // "BasicRes").
    void ClearAllForm();

    // The decoded value when the key exists; otherwise false with strValue untouched.
    bool GetProp(const String& strForm, const String& strComp, const String& strProp, String& strValue);
    void SetProp(const String& strForm, const String& strComp, const String& strProp, const String& strValue);
#ifdef _WIN32
    bool GetPropW(const String& strForm, const String& strComp, const String& strProp, String& strValue)
    {
        return GetProp(strForm, strComp, strProp, strValue);
    }
    void SetPropW(const String& strForm, const String& strComp, const String& strProp, const String& strValue)
    {
        SetProp(strForm, strComp, strProp, strValue);
    }
#endif
    // Each key of the section, in file order, sets its entry in sl to the decoded value
    // (replacing an existing entry; an empty value removes it).
    void GetSectionStrings(const String& strSection, TStringList& sl);

    void ApplyData();
    void UpdateData();
    // Canonical order: "Info" (lines as they are), "BasicRes", "SkinRes", "LibRes", "AppRes",
    // then the other sections by name; every section but "Info" with its lines sorted.
    void SortData();

    // The published Data property: the lines. Writing copies them; they are parsed at the
    // next reading operation.
    TStringList* Data()
    {
        return &FData;
    }
    void SetData(const TStringList& value);

private:
    TStringList FData;
    TIniDocument FIniData;
    bool FbModified = false;
    bool FbToApply = true;
};

// The key of a text: component + "." + property path, or the path alone.
String MakeLangKey(StringView strComp, StringView strProp);
// Stored value -> text: "<BR>" becomes CR LF and "<SP>" a blank, both without regard to case.
String DecodeLangValue(StringView stored);
// Text -> stored value: CR LF, then lone CR, then lone LF become "<BR>"; blanks stay.
String EncodeLangValue(StringView text);
// Replaces every occurrence of what, found without regard to case, by with.
String ReplaceTextIgnoringCase(StringView text, StringView what, StringView with);

} // namespace vp
