// TCLEngine: the application engine on the main window. It hooks the window's messages to
// answer the instance protocol, runs the deferred end of start-up, and holds the two
// setting lists that the settings store consults before and after its files.
#pragma once

#include "framework/config/SettingLists.h"
#include "framework/rtl/Component.h"
#include "framework/ui/Forms.h"

namespace vp {

class TspDynamicSkinForm;

using TOnCmdFile = std::function<void(const String& strFileName)>;

class TCLEngine : public TComponent, public ISettingLists {
    VP_CLASS(TCLEngine)
public:
    // The owner must be a form: the engine works on that window.
    explicit TCLEngine(TComponent* aOwner);
    ~TCLEngine() override;

    void Loaded() override;

    bool Debug() const { return FDebug; }
    // Windows announced a shutdown or log-off less than five minutes ago.
    bool GetSessionEnding() const;
    bool InInited() const { return FInInited; }
    const String& ParamFile() const { return FParamFile; }

    const TStringList& SettingOverwrite() const override { return FSettingOverwrite; }
    const TStringList& SettingDefault() const override { return FSettingDefault; }
    void SetSettingOverwrite(const TStringList& value) { FSettingOverwrite = value; }
    void SetSettingDefault(const TStringList& value) { FSettingDefault = value; }

    TOnCmdFile OnCmdFile;
    TNotifyEvent OnLanguageChanged;
    TNotifyEvent OnSkinChanged;
    TNotifyEvent OnTitleChange;

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
    String FParamFile;
    bool FInInited = true;
    bool FQueryEndSessionArrived = false;
    uint32_t FQueryEndSessionTime = 0;
};

// The engine of the process, or nullptr while none exists.
TCLEngine* GetCLEngine();

} // namespace vp
