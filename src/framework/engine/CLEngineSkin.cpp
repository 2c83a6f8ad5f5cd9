// The engine's skin choice, its language and skin menus, and its message boxes.
#include "framework/engine/CLEngine.h"

#include "framework/config/CLMultiLang.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/cwm_WinVersionWin.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/FileUtils.h"
#include "framework/ui/Menus.h"
#include "framework/ui/SkinMessage.h"

#include <algorithm>

namespace vp {

namespace {

const String kDefaultSkin = u"Default";

// The folder of the skin files, ending in "\".
String SkinFolder()
{
    return GetAppPath() + GetCLSettings().GetSettingString(u"Path.Skins") + u"\\";
}

} // namespace

void TCLEngine::SetSkinData(TspSkinData* value)
{
    if (value == FSkinData)
        return;
    if (FSkinData)
        RemoveFreeNotification(FSkinData);
    FSkinData = value;
    if (FSkinData)
        FreeNotification(FSkinData);
    if (FMessageDlg)
        FMessageDlg->SetSkinData(FSkinData);
}

void TCLEngine::SetSkin(const String& Value)
{
    if (!FSkinData)
        return;
    String name = Value.empty() ? kDefaultSkin : Value;
    if (name == FSkin)
        return;
    String file = SkinFolder() + name + u".skn";
    bool skinnable = true;
    if (!FileExists(file)) {
        file = SkinFolder() + name + u".nsf.skn";
        skinnable = false;
    }
    bool loaded = false;
    if (FileExists(file)) {
        // A damaged or partial file counts as missing: the skin drawn so far is kept whole.
        try {
            FSkinData->LoadFromCompressedFile(file);
            loaded = true;
        } catch (const Exception& e) {
            DebugSend(u"Skin refused: " + file + u": " + e.Message(), u"CLEngine");
        }
    }
    if (loaded) {
        FSkinData->SetSkinnableForm(skinnable);
        FSkin = name;
    } else {
        if (!FSkin.empty()) {
            FSkinData->SetCompressedStoredSkin(FDefaultSkin);
            FSkinData->SetSkinnableForm(FDefaultSkinForm);
        }
        FSkin = kDefaultSkin;
    }
    if (IsWindowsVista64()) {
        FSkinData->SetShowButtonGlowFrame(false);
        FSkinData->SetShowCaptionButtonGlowFrame(false);
    }
    GetCLSettings().SetSettingstring(u"Skin", FSkin);
    TickChoiceMenu(FSkinMenuItems, FSkin);
    if (!FInLoaded && OnSkinChanged)
        OnSkinChanged(this);
}

const TStringList& TCLEngine::SkinList()
{
    if (FSkinListBuilt)
        return FSkinList;
    FSkinListBuilt = true;
    TStringList files;
    ListFiles(SkinFolder() + u"*.skn", files, false);
    std::vector<String> names;
    for (const String& file : files) {
        String name = ExtractFileNameNoExt(ExtractFileNameNoExt(file));
        if (!SameText(name, kDefaultSkin))
            names.push_back(name);
    }
    std::stable_sort(
        names.begin(), names.end(), [](const String& a, const String& b) { return CompareText(a, b) < 0; });
    FSkinList.Add(kDefaultSkin);
    for (const String& name : names)
        FSkinList.Add(name);
    return FSkinList;
}

void TCLEngine::MergeSkinTexts()
{
    if (!FSkinData || !FSkinData->ResourceStrData() || !FLanguageData)
        return;
    // A new language starts from the toolkit's own texts, not from the last language's.
    TspResourceStrData* texts = FSkinData->ResourceStrData();
    texts->Reset();
    TStringList lines;
    FLanguageData->GetSectionStrings(u"SkinRes", lines);
    texts->Merge(lines);
}

void TCLEngine::SetLanguageMenuItem(TMenuItem* value)
{
    if (FLanguageMenuItem)
        RemoveFreeNotification(FLanguageMenuItem);
    FLanguageMenuItem = value;
    FLanguageMenuItems.clear();
    if (FLanguageMenuItem)
        FreeNotification(FLanguageMenuItem);
}

void TCLEngine::SetSkinMenuItem(TMenuItem* value)
{
    if (FSkinMenuItem)
        RemoveFreeNotification(FSkinMenuItem);
    FSkinMenuItem = value;
    FSkinMenuItems.clear();
    if (FSkinMenuItem)
        FreeNotification(FSkinMenuItem);
}

void TCLEngine::BuildChoiceMenu(TMenuItem* parent, std::vector<TMenuItem*>& items, const TStringList& names,
    const String& current, bool language)
{
    if (!items.empty())
        return; // built once
    if (names.Count() <= 1) {
        parent->SetVisible(false);
        return;
    }
    for (const String& name : names) {
        // Owned by the engine, so the language binding does not take the names for texts.
        auto* item = new TMenuItem(this);
        item->SetCaption(name);
        item->SetChecked(SameText(name, current));
        item->OnClick = [this, name, language](TObject*) {
            if (language)
                SetLanguage(name);
            else
                SetSkin(name);
        };
        parent->Add(item);
        items.push_back(item);
    }
}

void TCLEngine::TickChoiceMenu(const std::vector<TMenuItem*>& items, const String& current)
{
    for (TMenuItem* item : items)
        item->SetChecked(SameText(item->Caption(), current));
}

int TCLEngine::ShowMessageEx(const String& strMsgName, const TStringList& Params, int32_t iShowAgainNumber,
    TMsgDlgType DlgType, TMsgDlgButtons Buttons, int iDefaultResult, bool bLib)
{
    String text = bLib ? GetLibString(strMsgName) : GetAppString(strMsgName);
    if (text.empty())
        text = (bLib ? u"[LibRes]" : u"[AppRes]") + strMsgName;
    text = ReplaceParams(text, Params);
    TCLSettings& settings = GetCLSettings();
    if (iShowAgainNumber != 0 && !settings.GetMessageShowAgainFlag(iShowAgainNumber))
        return iDefaultResult != 0 ? iDefaultResult : settings.GetMessageShowAgainResult(iShowAgainNumber);
    if (!FMessageDlg) {
        // Made once, on the main window, drawing with the engine's skin.
        FMessageDlg = new TspSkinMessage(FForm);
        FMessageDlg->SetName(u"CLEngineMessageDlg");
        FMessageDlg->SetSkinData(FSkinData);
        FreeNotification(FMessageDlg);
    }
    FMessageDlg->SetShowAgainCheckBox(iShowAgainNumber != 0);
    int result = FMessageDlg->MessageDlg(text, GetAppName(), DlgType, Buttons);
    if (iShowAgainNumber != 0 && !FMessageDlg->ShowAgainChecked()) {
        settings.SetMessageShowAgainFlag(iShowAgainNumber, false);
        settings.SetMessageShowAgainResult(iShowAgainNumber, result);
    }
    return result;
}

void TCLEngine::ShowErrorMessage(const String& strError, const String& strErrorParam, bool bLib)
{
    TStringList params;
    params.Add(strErrorParam);
    ShowMessageEx(strError, params, 0, TMsgDlgType::mtError, mbOK, 0, bLib);
}

} // namespace vp
