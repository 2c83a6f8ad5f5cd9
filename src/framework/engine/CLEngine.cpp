#include "framework/engine/CLEngine.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/DateTime.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/Exceptions.h"
#include "framework/ui/Application.h"
#include "framework/ui/RegisteredMessages.h"
#include "framework/ui/SkinForm.h"

namespace vp {

namespace {

TCLEngine* gEngine = nullptr;

// A forwarded command text is a path or an address; anything longer is not one of ours.
constexpr DWORD kMaxCopyDataBytes = 64 * 1024;
constexpr uint32_t kSessionEndingWindowMs = 300000;

} // namespace

const TClassInfo& TCLEngine::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCLEngine, TComponent>(u"TCLEngine")
                                       .Other(u"SettingOverwrite", u"TStrings")
                                       .Other(u"SettingDefault", u"TStrings")
                                       .Object(u"SkinForm", u"TspDynamicSkinForm", &TCLEngine::SkinForm,
                                           &TCLEngine::SetSkinForm)
                                       .Other(u"OnCmdFile", u"TOnCmdFile")
                                       .Other(u"OnTitleChange", u"TNotifyEvent")
                                       .Other(u"OnSkinChanged", u"TNotifyEvent")
                                       .Other(u"OnLanguageChanged", u"TNotifyEvent")
                                       .Build();
    return info;
}

TCLEngine* GetCLEngine()
{
    return gEngine;
}

TCLEngine::TCLEngine(TComponent* aOwner) : TComponent(aOwner)
{
    FForm = dynamic_cast<TForm*>(aOwner);
    if (!FForm)
        throw EInvalidCast(u"The application engine must be placed on a form");
    FWM_CL_GET_APPID = RegisteredMessage(kMsgGetAppId);
    FWM_CL_CLOSE_APP = RegisteredMessage(kMsgCloseApp);
    FWM_CL_INITPOST = RegisteredMessage(kMsgInitPost);
    FWM_CL_CMDPARAM = RegisteredMessage(kMsgCmdParam);
    FWM_CL_IF_BUSY = RegisteredMessage(kMsgIfBusy);
    FWM_CL_BRING_TO_FRONT = RegisteredMessage(kMsgBringToFront);
    if (!IsDesigning())
        FWndProcHook = FForm->AddMessageHook([this](TMessage& message) { HookWndProc(message); });
    FSettingDefault.Add(u"Path.Skins=skins");
    FSettingDefault.Add(u"Path.Languages=lang");
    if (!gEngine) {
        gEngine = this;
        RegisterSettingLists(this);
    }
    FDebug = DebugMode();
}

TCLEngine::~TCLEngine()
{
    if (gEngine == this) {
        UnregisterSettingLists(this);
        gEngine = nullptr;
    }
    FWndProcHook.Remove();
}

void TCLEngine::SetSkinForm(TspDynamicSkinForm* value)
{
    if (FSkinForm)
        RemoveFreeNotification(FSkinForm);
    FSkinForm = value;
    if (FSkinForm)
        FreeNotification(FSkinForm);
}

void TCLEngine::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation == TOperation::Remove && aComponent == FSkinForm)
        FSkinForm = nullptr;
}

void TCLEngine::Loaded()
{
    TComponent::Loaded();
    if (IsDesigning())
        return;
    PostMessageW(FForm->Handle(), FWM_CL_INITPOST, 0, 0);
}

void TCLEngine::InitPost()
{
    if (OnLanguageChanged)
        OnLanguageChanged(this);
    if (OnSkinChanged)
        OnSkinChanged(this);
    TStringList arguments = CommandLineArguments();
    if (arguments.Count() > 0 && !arguments[0].empty() && arguments[0][0] != u'-' &&
        arguments[0][0] != u'/') {
        FParamFile = arguments[0];
        PostMessageW(FForm->Handle(), FWM_CL_CMDPARAM, 0, 0);
    }
    FInInited = false;
}

bool TCLEngine::GetSessionEnding() const
{
    return FQueryEndSessionArrived && GetTickCount32() - FQueryEndSessionTime < kSessionEndingWindowMs;
}

void TCLEngine::HookWndProc(TMessage& message)
{
    const UINT msg = message.Msg;
    if (msg == FWM_CL_GET_APPID) {
        message.Result = GetCLSettings().GetSettingInteger(u"App.ID");
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_CLOSE_APP) {
        Application().Terminate();
        message.Result = 0;
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_INITPOST) {
        InitPost();
        message.Result = 0;
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_IF_BUSY) {
        message.Result = FInInited ? 1 : 0;
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_BRING_TO_FRONT) {
        bool restored = false;
        if (FSkinForm && FSkinForm->TrayIcon())
            restored = FSkinForm->RestoreFromTray();
        else if (OnRestoreFromTray)
            restored = OnRestoreFromTray();
        message.Result = restored ? 1 : 0;
        message.Handled = true;
        return;
    }
    if (msg == WM_COPYDATA && message.LParam != 0) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(message.LParam);
        // Another process's bytes: only a plausible UTF-16 text is taken.
        if (data->lpData != nullptr && data->cbData % 2 == 0 && data->cbData <= kMaxCopyDataBytes) {
            FParamFile = String(static_cast<const char16_t*>(data->lpData), data->cbData / 2);
            PostMessageW(FForm->Handle(), FWM_CL_CMDPARAM, 0, 0);
        }
        message.Result = 0;
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_CMDPARAM && OnCmdFile) {
        OnCmdFile(FParamFile);
        message.Result = 0;
        message.Handled = true;
        return;
    }
    if (msg == WM_QUERYENDSESSION) {
        // Noted, then passed on: the window answers it as usual.
        FQueryEndSessionArrived = true;
        FQueryEndSessionTime = GetTickCount32();
    }
}

} // namespace vp
