// TfrmMain: Hide IP and Stop Hide, the location reply, and the three timers.
#include "app/uFlashForm.h"
#include "app/uIPsTesting.h"
#include "app/uMain.h"
#include "browsers/FirefoxBridgeWin.h"
#include "browsers/IEProxyWin.h"
#include "browsers/OperaProxyWin.h"
#include "framework/config/CLSettings.h"

namespace vp {

namespace {

constexpr uint32_t kBlack = 0;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kLightGrey = 0xCCCCCC;

// The plain box of a refused country: it bypasses the language file on purpose.
constexpr const char16_t* kUnavailableHere = u"This product is unavailable in this country.";

} // namespace

// ---- Hide IP and Stop Hide ----

bool TfrmMain::IsHiding() const
{
    return btnHide->Action() == actStopHide;
}

bool TfrmMain::PassesActionRule()
{
    TDateTime now = Now();
    if (SecondsBetween(FLastActionTime, now) == 0) {
        ShowAppMessage(u"MSGBox_ACTIONFAST", TMsgDlgType::mtInformation, 6);
        return false;
    }
    // Taken even when the command stops later for another reason.
    FLastActionTime = now;
    return true;
}

void TfrmMain::ApplyProxy(const String& aProxy)
{
    // The system switch swallows its errors; an error of the other two ends the command here.
    SetIEProxy(aProxy);
    SetFirefoxProxy(aProxy);
    SetOperaProxy(aProxy);
}

void TfrmMain::BindHideAction(TAction* action)
{
    btnHide->SetAction(action);
    StartHide1->SetAction(btnHide->Action());
}

void TfrmMain::actStartHideExecute(TObject*)
{
    if (!PassesActionRule())
        return;
    if (!CLEngine->AppWaitFirstUpdate() || !FLocalInfoGot) {
        ShowAppMessage(u"MSGBox.CHKNET", TMsgDlgType::mtError, 0);
        FProxyManager->GetCurrentLocalInfo();
        return;
    }
    TProxyRec proxy = FProxyManager->GetIdleProxy(FProxyManager->FTargetCountry, false, KAll, true);
    // Nothing in use and nothing to be had for this country: the browsers keep what they have
    // rather than a proxy of ":".
    if (proxy.IP.empty()) {
        ShowAppMessage(u"MSGBox.NoProxy", TMsgDlgType::mtError, 0);
        return;
    }
    FProxyManager->FTargetProxy = proxy;
    const TProxyRec& target = FProxyManager->FTargetProxy;
    ApplyProxy(target.IP + u":" + target.Port);

    TCLSettings& settings = GetCLSettings();
    if (settings.GetSettingBool(u"ChangeIP"))
        tmrChangeIP->SetEnabled(true);
    if (target.IsSuper) {
        FProxyManager->Touch(target);
        FLastTouchTime = Now();
        tmrTouch->SetEnabled(true);
    } else {
        tmrTouch->SetEnabled(false);
    }

    if (TfrmFlashForm* panel = Panel()) {
        panel->SetIPInfo(u"Target", u"True", FlagAddress(target.Country_Short, true), target.IP,
            target.Country_Long, u"", u"0", u"100");
        panel->Fade(u"Target", true, 100);
        panel->SetIPInfoA(u"Local", u"50", u"100");
        panel->TurnTarget();
    }
    BindHideAction(actStopHide);
    FLastChangeIPTime = Now();
    if (TfrmFlashForm* panel = Panel())
        panel->SetTextInfo(CLEngine->GetAppString(u"FLSMsg.Hiding"),
            settings.GetSettingString(u"App.PID") == u"KWL" ? kLightGrey : kBlack);
}

void TfrmMain::actStopHideExecute(TObject*)
{
    StopHide(true);
}

void TfrmMain::StopHide(bool applyRule)
{
    if (applyRule && !PassesActionRule())
        return;
    TfrmFlashForm* panel = Panel();
    if (panel) {
        panel->SetIPInfoA(u"Local", u"100", u"100");
        panel->SetIPInfoA(u"Target", u"100", u"100");
        panel->Fade(u"Target", false, 0);
        panel->TurnLocal();
    }
    BindHideAction(actStartHide);
    ApplyProxy(u"");
    tmrChangeIP->SetEnabled(false);
    tmrTouch->SetEnabled(false);
    if (panel)
        panel->SetTextInfo(CLEngine->GetAppString(u"FLSMsg.Ready"), kBlue);
}

// ---- The location reply ----

void TfrmMain::CheckLocalIP()
{
    if (!SameText(FProxyManager->LocalInfoValue(u"COUNTRY_SHORT"), u"CN"))
        return;
    MessageDlg(Handle(), kUnavailableHere, CLEngine->GetAppName(), TMsgDlgType::mtCustom, mbOK);
    Close();
}

void TfrmMain::LocalInfoReceived(TProxyManager*)
{
    CheckLocalIP();
    const String ip = FProxyManager->LocalInfoValue(u"IP");
    const String country = FProxyManager->LocalInfoValue(u"COUNTRY_LONG");
    const String city = FProxyManager->LocalInfoValue(u"CITY");
    const String flag = FlagAddress(FProxyManager->LocalInfoValue(u"COUNTRY_SHORT"), false);
    if (TfrmFlashForm* panel = Panel()) {
        panel->SetIPInfo(u"Local", u"True", flag, ip, country, city, u"100", u"100");
        // The Target side carries the same data, not displayed.
        panel->SetIPInfo(u"Target", u"", flag, ip, country, city, u"100", u"100");
        panel->SetTextInfo(u"", kBlack);
        panel->SetTextInfo(CLEngine->GetAppString(u"FLSMsg.Ready"), kBlue);
    }
    FLocalInfoGot = true;
}

// ---- Timers ----

void TfrmMain::tmrInitTimer(TObject*)
{
    // The pools arrive with the first configuration push; until then every tick tries again.
    if (!FProxyManager || !FProxyManager->LoadSettings())
        return;
    tmrInit->SetEnabled(false);
    ResetCountryDisp();
    if (GetCLSettings().GetSettingBool(u"TestIPfromLocal"))
        TestIPfromLocal();
}

void TfrmMain::TestIPfromLocal()
{
    std::unique_ptr<TfrmTesting> testing(NewForm<TfrmTesting>(this));
    testing->ShowModal();
}

void TfrmMain::ResetChangeIPTime()
{
    FLastChangeIPTime = Now();
    tmrChangeIP->SetEnabled(GetCLSettings().GetSettingBool(u"ChangeIP"));
}

void TfrmMain::tmrChangeIPTimer(TObject*)
{
    if (!IsHiding())
        return;
    const int64_t minutes = MinutesBetween(FLastChangeIPTime, Now());
    if (minutes >= GetCLSettings().GetSettingInteger(u"ChangeIPTime"))
        actStartHide->Execute();
}

void TfrmMain::tmrTouchTimer(TObject*)
{
    if (MinutesBetween(FLastTouchTime, Now()) <= 30)
        return;
    if (FProxyManager->FTargetProxy.IsSuper) {
        FProxyManager->Touch(FProxyManager->FTargetProxy);
        FLastTouchTime = Now();
    }
}

} // namespace vp
