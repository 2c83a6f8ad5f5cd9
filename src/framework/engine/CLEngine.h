// TCLEngine: the application engine on the main window. It gives the texts of the language
// data by key, chooses the language at start-up, puts the title on the application and the
// window, addresses the publisher's pages, hooks the window's messages to answer the
// instance protocol, runs the deferred end of start-up, and holds the two setting lists
// that the settings store consults before and after its files.
#pragma once

#include "framework/config/EngineResources.h"
#include "framework/config/SettingLists.h"
#include "framework/rtl/Component.h"
#include "framework/ui/Forms.h"
#include "framework/ui/SkinData.h"

#include <vector>

namespace vp {

class TCLMultiLangData;
class TMenuItem;
class TspCompressedStoredSkin;
class TspDynamicSkinForm;
class TspSkinMessage;

using TOnCmdFile = std::function<void(const String& strFileName)>;

class TCLEngine : public TComponent, public ISettingLists, public IEngineResources {
    VP_CLASS(TCLEngine)
public:
    // The owner must be a form: the engine works on that window.
    explicit TCLEngine(TComponent* aOwner);
    ~TCLEngine() override;

    // The language start-up, then the deferred rest of start-up is posted to the window.
    void Loaded() override;

    bool Debug() const { return FDebug; }
    // Windows announced a shutdown or log-off less than five minutes ago.
    bool GetSessionEnding() const;
    bool InInited() const { return FInInited; }
    const String& ParamFile() const { return FParamFile; }

    // ---- Texts: "AppRes" for the product, "LibRes" for the framework's own windows ----

    // "" without language data or when the key is missing everywhere.
    String GetAppString(const String& strName) const;
    String GetLibString(const String& strName) const;
    // The text with "{1}", "{2}", ... filled from Params in that order.
    String GetAppStringEx(const String& strName, const TStringList& Params) const;
    String GetLibStringEx(const String& strName, const TStringList& Params) const;
    // The language's program name ("AppName" of "AppRes"), else the setting "App.Name".
    String GetAppName() const;
    String AppName() const { return GetAppName(); }

    // ---- Language ----

    const String& Language() const { return FLanguage; }
    // Loads lang\<name>.lan; a missing file falls back to "English" with no file loaded.
    // The choice is written back to the setting "Language".
    void SetLanguage(const String& Value);
    // "English", then the language files' names in order; built on first use.
    const TStringList& LanguageList();
    const String& LanguageTranslator() const { return FLanguageTranslator; }
    void SetLanguageTranslator(const String& value) { FLanguageTranslator = value; }
    TCLMultiLangData* LanguageData() const override { return FLanguageData; }
    void SetLanguageData(TCLMultiLangData* value);

    // The optional language menu: one item per language under it (it hides itself when there
    // is only one language); a click chooses that language.
    TMenuItem* LanguageMenuItem() const { return FLanguageMenuItem; }
    void SetLanguageMenuItem(TMenuItem* value);

    // ---- Skin ----

    TspSkinData* SkinData() const override { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    const String& Skin() const { return FSkin; }
    // Loads skins\<name>.skn (skinned frame) or skins\<name>.nsf.skn (system frame); a missing
    // or unreadable file gives the skin built into the main window ("Default"). The choice is
    // written back to the setting "Skin".
    void SetSkin(const String& Value);
    // "Default", then the skin files' names (both Blue.skn and Blue.nsf.skn give Blue).
    const TStringList& SkinList();
    TMenuItem* SkinMenuItem() const { return FSkinMenuItem; }
    void SetSkinMenuItem(TMenuItem* value);

    // ---- Message boxes ----

    // A box with the text of strMsgName ("[AppRes]"/"[LibRes]" + the name when the language
    // has none), its placeholders filled from Params, caption GetAppName. With
    // iShowAgainNumber not 0 the box offers the show-again choice; once the user turned it
    // off, later calls show nothing and return iDefaultResult (when not 0) or the answer
    // given then.
    int ShowMessageEx(const String& strMsgName, const TStringList& Params, int32_t iShowAgainNumber,
        TMsgDlgType DlgType, TMsgDlgButtons Buttons, int iDefaultResult = 0, bool bLib = false);
    void ShowErrorMessage(const String& strError, const String& strErrorParam, bool bLib = false);

    // ---- Title ----

    const String& AppTitle() const { return FAppTitle; }
    bool TitleIncludeVer() const { return FTitleIncludeVer; }
    void SetTitleIncludeVer(bool value);
    // The program name (and version) on the application and the window, unless the setting
    // "App.NoAutoTitle" is on.
    void RefreshTitle();

    // ---- Publisher pages ----

    // The page's address from the settings; an http address gets the parameter block.
    String GetURL(const String& strPage, bool bAddParams);
    // The parameter block without a leading "?" or "&".
    String GetURLParam();
    void ShowPage(const String& strPage);
    // Opens the address in the default browser; a failure is not reported.
    void ShowPageByURL(const String& strURL);

    // ---- About box ----

    // Shows the about box modally. It is made on the first call, owned by the engine's
    // window, and kept (its texts are those of that first time); a call while it shows does
    // nothing. With ParentHWND it is placed into that window at its top-left corner.
    void AppAbout();
    TForm* AboutForm() const { return FAboutForm; }

    // ---- Settings lists and the rest of the description ----

    const TStringList& SettingOverwrite() const override { return FSettingOverwrite; }
    const TStringList& SettingDefault() const override { return FSettingDefault; }
    void SetSettingOverwrite(const TStringList& value) { FSettingOverwrite = value; }
    void SetSettingDefault(const TStringList& value) { FSettingDefault = value; }
    // The window the about box is placed into (nullptr: none).
    HWND ParentHWND() const { return FParentHWND; }
    void SetParentHWND(HWND value) { FParentHWND = value; }

    TOnCmdFile OnCmdFile;
    TNotifyEvent OnLanguageChanged;
    TNotifyEvent OnSkinChanged;
    TNotifyEvent OnTitleChange;
    // Windows ends the session (WM_ENDSESSION, wParam true): the process may be ended at any
    // moment after it, so whatever must not be left behind is put right here.
    TNotifyEvent OnEndSession;

    // The registered message numbers of the instance protocol.
    UINT WM_CL_GET_APPID() const { return FWM_CL_GET_APPID; }
    UINT WM_CL_CLOSE_APP() const { return FWM_CL_CLOSE_APP; }
    UINT WM_CL_INITPOST() const { return FWM_CL_INITPOST; }
    UINT WM_CL_CMDPARAM() const { return FWM_CL_CMDPARAM; }
    UINT WM_CL_IF_BUSY() const { return FWM_CL_IF_BUSY; }
    UINT WM_CL_BRING_TO_FRONT() const { return FWM_CL_BRING_TO_FRONT; }

    // The main window's skinned frame: when it has a tray icon, "CL BringtoFront" restores
    // the window from the tray and answers 1.
    TspDynamicSkinForm* SkinForm() const { return FSkinForm; }
    void SetSkinForm(TspDynamicSkinForm* value);
    // Restores the main window from the tray when no skinned frame with a tray icon does.
    // Without either, "CL BringtoFront" answers 0 and the sender brings the window forward.
    std::function<bool()> OnRestoreFromTray;

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;
    // The deferred end of start-up, run from the message loop.
    virtual void InitPost();

private:
    void HookWndProc(TMessage& message);
    String LookupText(const String& section, const String& strName) const;
    void MergeSkinTexts();
    void BuildChoiceMenu(TMenuItem* parent, std::vector<TMenuItem*>& items, const TStringList& names,
        const String& current, bool language);
    static void TickChoiceMenu(const std::vector<TMenuItem*>& items, const String& current);

    TForm* FForm = nullptr;
    TspDynamicSkinForm* FSkinForm = nullptr;
    // The engine's place in the main window's message handling; taken out when it goes.
    THookToken FWndProcHook;
    UINT FWM_CL_GET_APPID = 0;
    UINT FWM_CL_CLOSE_APP = 0;
    UINT FWM_CL_INITPOST = 0;
    UINT FWM_CL_CMDPARAM = 0;
    UINT FWM_CL_IF_BUSY = 0;
    UINT FWM_CL_BRING_TO_FRONT = 0;
    bool FDebug = false;
    TStringList FSettingOverwrite;
    TStringList FSettingDefault;
    HWND FParentHWND = nullptr;
    bool FInLoaded = false;
    String FParamFile;
    bool FInInited = true;
    String FAppTitle;
    bool FTitleIncludeVer = true;
    String FLanguage;
    String FLanguageTranslator;
    TCLMultiLangData* FLanguageData = nullptr;
    TStringList FLanguageList;
    bool FLanguageListBuilt = false;
    TMenuItem* FLanguageMenuItem = nullptr;
    std::vector<TMenuItem*> FLanguageMenuItems;
    TspSkinData* FSkinData = nullptr;
    String FSkin;
    TStringList FSkinList;
    bool FSkinListBuilt = false;
    TspCompressedStoredSkin* FDefaultSkin = nullptr;
    bool FDefaultSkinForm = true;
    TMenuItem* FSkinMenuItem = nullptr;
    std::vector<TMenuItem*> FSkinMenuItems;
    TspSkinMessage* FMessageDlg = nullptr;
    TForm* FAboutForm = nullptr; // a TfrmCLAboutForm
    bool FQueryEndSessionArrived = false;
    uint32_t FQueryEndSessionTime = 0;
};

// The engine of the process, or nullptr while none exists.
TCLEngine* GetCLEngine();

} // namespace vp
