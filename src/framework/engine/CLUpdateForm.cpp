#include "framework/engine/CLUpdateForm.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/config/LangWindowList.h"
#include "framework/engine/CLEngine.h"
#include "framework/engine/UpdateReply.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/TextUtils.h"
#include "framework/ui/GdiPlus.h"
#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

constexpr StringView kDebugTag = u"CLUpdate";
constexpr int kClientWidth = 373;
constexpr int kClientHeight = 325;
constexpr int kTimerIntervalMs = 200;
constexpr int32_t kMinDelaySeconds = 5;
const String kTimerCaption = u"This window will close in {1} sec(s)...";

String LibString(const String& name)
{
    TCLEngine* engine = GetCLEngine();
    return engine ? engine->GetLibString(name) : String();
}

// The skin data among a window's components, or nullptr.
TspSkinData* FindSkinData(TComponent* window)
{
    for (int i = 0; window && i < window->ComponentCount(); ++i)
        if (auto* data = dynamic_cast<TspSkinData*>(window->Components(i)))
            return data;
    return nullptr;
}

} // namespace

const TClassInfo& TfrmCLUpdateForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmCLUpdateForm, TForm>(u"TfrmCLUpdateForm").Build();
    return info;
}

template <class T>
T* TfrmCLUpdateForm::Make(TWinControl* parent, const String& name, int left, int top, int width, int height)
{
    auto* control = new T(this);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

TfrmCLUpdateForm::TfrmCLUpdateForm(TComponent* aOwner) : TForm(aOwner)
{
    SetName(u"frmCLUpdateForm");
    SetCaption(u"Update");
    BorderStyle = TBorderStyle::bsDialog;
    Position = TPosition::poMainFormCenter;
    KeyPreview = true;
    SetClientSize(kClientWidth, kClientHeight);

    CLForm = new TCLForm(this);
    CLForm->SetName(u"CLForm");
    CLForm->SetRuntimeSetSkinData(true);
    CLForm->SetRuntimeSetLanguageData(true);
    // The decorator gives the binder the engine's language data; the binder comes after it,
    // so that its own load then finds the data and applies the window's texts.
    CLMultiLang = new TCLMultiLang(this);
    CLMultiLang->SetName(u"CLMultiLang");

    // A fixed dialog: no caption buttons, no sizing.
    spDynamicSkinForm = NewDialogFrame(this, nullptr, TDialogFrameButtons::None);

    pnLogo = Make<TspSkinPanel>(this, u"pnLogo", 0, 0, kClientWidth, 65);
    pnLogo->SetAlign(TAlign::alTop);
    imgLogo = Make<TImage>(pnLogo, u"imgLogo", 0, 0, kClientWidth, 65);
    imgLogo->SetAlign(TAlign::alClient);
    imgLogo->SetCursor(TCursor::crHandPoint);

    pnInfo = Make<TspSkinPanel>(this, u"pnInfo", 0, 65, kClientWidth, 226);
    pnInfo->SetAlign(TAlign::alClient);
    lbInfo = Make<TspSkinStdLabel>(pnInfo, u"lbInfo", 10, 12, 353, 120);
    lbInfo->SetAutoSize(false);
    lbInfo->SetWordWrap(true);
    lbInfo->SetCaption(u"Connecting...");
    lblTimer = Make<TspSkinStdLabel>(pnInfo, u"lblTimer", 10, 150, 353, 16);
    lblTimer->SetAutoSize(false);
    lblTimer->SetCaption(kTimerCaption);
    lblTimer->SetVisible(false);
    cbAutoCheckUpdate = Make<TspSkinCheckRadioBox>(pnInfo, u"cbAutoCheckUpdate", 10, 190, 240, 20);
    cbAutoCheckUpdate->SetCaption(u"&Auto Check Update");

    pnOkCancel = Make<TspSkinPanel>(this, u"pnOkCancel", 0, 285, kClientWidth, 40);
    pnOkCancel->SetAlign(TAlign::alBottom);
    btnOK = Make<TspSkinButton>(pnOkCancel, u"btnOK", 193, 7, 82, 26);
    btnOK->SetCaption(u"&OK");
    btnOK->SetDefault(true);
    btnOK->ModalResult = mrOk;
    btnCancel = Make<TspSkinButton>(pnOkCancel, u"btnCancel", 283, 7, 82, 26);
    btnCancel->SetCaption(u"&Cancel");
    btnCancel->ModalResult = mrCancel;

    pnOK = Make<TspSkinPanel>(this, u"pnOK", 0, 291, kClientWidth, 34);
    pnOK->SetAlign(TAlign::alBottom);
    btnOK2 = Make<TspSkinButton>(pnOK, u"btnOK2", 283, 4, 82, 26);
    btnOK2->SetCaption(u"&Ok");
    btnOK2->SetEnabled(false);
    btnOK2->ModalResult = mrCancel;

    pnProcess = Make<TspSkinPanel>(this, u"pnProcess", 0, 0, kClientWidth, 51);
    pnProcess->SetSkinDataName(skin::kPanelFramed);
    pnProcess->SetVisible(false);
    lbProcess = Make<TspSkinStdLabel>(pnProcess, u"lbProcess", 14, 17, 255, 16);
    lbProcess->SetAutoSize(false);
    lbProcess->SetCaption(u"Connecting...");
    btnCancelProcess = Make<TspSkinButton>(pnProcess, u"btnCancelProcess", 279, 12, 82, 26);
    btnCancelProcess->SetCaption(u"&Cancel");
    btnCancelProcess->ModalResult = mrCancel;

    tmrTimer = new TTimer(this);
    tmrTimer->SetName(u"tmrTimer");
    tmrTimer->SetInterval(kTimerIntervalMs);
    tmrTimer->SetEnabled(false);

    sdDownload = new TSingleDownloader(this);
    sdDownload->SetName(u"sdDownload");
    sdDownload->SetAcceptTypes(u"*/*");
    sdDownload->SetBinaryData(false);
    sdDownload->SetUseCache(false);
    sdDownload->SetWaitThread(false);
    sdDownload->SetHttpCharset(KAnsi);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    OnKeyDown = [this](TObject* Sender, WORD& Key, UINT Shift) { FormKeyDown(Sender, Key, Shift); };
    OnKeyUp = [this](TObject* Sender, WORD& Key, UINT Shift) { FormKeyUp(Sender, Key, Shift); };
    btnOK->OnClick = [this](TObject* Sender) { btnOKClick(Sender); };
    btnOK2->OnClick = [this](TObject* Sender) { btnOK2Click(Sender); };
    btnCancelProcess->OnClick = [this](TObject* Sender) { btnOK2Click(Sender); };
    btnCancel->OnClick = [this](TObject* Sender) { btnCancelClick(Sender); };
    tmrTimer->OnTimer = [this](TObject* Sender) { tmrTimerTimer(Sender); };
    sdDownload->OnDoneString = [this](TObject* Sender, const String& strResult) {
        sdDownloadDoneString(Sender, strResult);
    };
    sdDownload->OnError = [this](TObject* Sender) { sdDownloadError(Sender); };
}

// ---- Creation ----

void TfrmCLUpdateForm::FormCreate(TObject*)
{
    LoadLogo();
    UseSkinData();
    ApplyTexts();
    // The full dialog starts with the disabled "Ok" button only.
    pnOkCancel->SetVisible(false);
    TCLSettings& settings = GetCLSettings();
    if (settings.GetSettingBool(u"Update.NoAutoCheck"))
        cbAutoCheckUpdate->SetVisible(false);
    cbAutoCheckUpdate->SetChecked(settings.GetSettingBool(u"Update.AutoCheck"));
    FDelaySeconds = std::max(settings.GetSettingInteger(u"Update.DelaySeconds"), kMinDelaySeconds);
}

void TfrmCLUpdateForm::LoadLogo()
{
    const String file = GetAppPath() + u"res\\images\\update.png";
    int width = 0;
    int height = 0;
    if (FileExists(file) && imgLogo->LoadFromFile(file)) {
        if (Gdiplus::Bitmap* picture = imgLogo->Picture()) {
            width = static_cast<int>(picture->GetWidth());
            height = static_cast<int>(picture->GetHeight());
        }
    }
    if (height > 0 && width > 0) {
        // The window takes the picture's width, and grows or shrinks with its height.
        SetClientSize(width, ClientHeight() + height - pnLogo->Height());
        pnLogo->SetHeight(height);
        return;
    }
    pnLogo->SetVisible(false);
    imgLogo->SetVisible(false);
    SetClientSize(ClientWidth(), ClientHeight() - pnLogo->Height());
}

void TfrmCLUpdateForm::UseSkinData()
{
    // The window's decorator hands out the engine's skin data where the engine has one; the
    // main window's skin data is the next best, else the built-in skin of the window's own.
    if (spDynamicSkinForm->SkinData())
        return;
    TCLEngine* engine = GetCLEngine();
    TspSkinData* data = FindSkinData(engine ? engine->Owner() : Owner());
    if (!data) {
        auto* stored = new TspCompressedStoredSkin(this);
        LoadBuiltinSkin(*stored);
        data = new TspSkinData(this);
        data->SetCompressedStoredSkin(stored);
    }
    spDynamicSkinForm->SetSkinData(data);
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TspSkinControl*>(Components(i)); control && !control->SkinData())
            control->SetSkinData(data);
}

void TfrmCLUpdateForm::ApplyTexts()
{
    if (!GetCLEngine())
        return; // the designed texts stay
    SetCaption(LibString(ClassName() + u".Caption"));
    const String ok = LibString(u"btnOk.Caption");
    const String cancel = LibString(u"btnCancel.Caption");
    btnOK->SetCaption(ok);
    btnOK2->SetCaption(ok);
    btnCancel->SetCaption(cancel);
    cbAutoCheckUpdate->SetCaption(LibString(u"cbAutoCheckUpdate.Caption"));
    lbInfo->SetCaption(LibString(u"Update.Connecting"));
    // The progress strip keeps the texts the language binding gave it.
}

// ---- The request ----

void TfrmCLUpdateForm::StartUpdate(
    bool AShowModal, bool AShowConnecting, bool ADoUpdate, bool AProcess, bool AAutoClose)
{
    FStartTime = 0;
    FShowModal = AShowModal;
    FShowConnecting = AShowConnecting;
    FDoUpdate = ADoUpdate;
    FProcess = AProcess;
    FAutoClose = AAutoClose;
    FUpdating = true;

    TCLEngine* engine = GetCLEngine();
    const String url = engine ? engine->GetURL(u"Update", true) : String();
    DebugSend(u"Update URL : " + url, kDebugTag);
    if (AProcess)
        ShowProcessLayout();
    sdDownload->SetURL(url);
    sdDownload->GetString();

    if (AShowModal)
        ShowModal();
    else if (AShowConnecting)
        Show();
}

void TfrmCLUpdateForm::ShowProcessLayout()
{
    pnProcess->SetVisible(true);
    pnOK->SetVisible(false);
    pnOkCancel->SetVisible(false);
    pnLogo->SetVisible(false);
    pnInfo->SetVisible(false);
    // No border: the skinned frame steps back and the window has no frame of the system's.
    BorderStyle = TBorderStyle::bsNone;
    spDynamicSkinForm->SetSkinData(nullptr);
    FrameChanged();
    pnProcess->SetAlign(TAlign::alTop);
    SetClientSize(ClientWidth(), pnProcess->Height());
}

void TfrmCLUpdateForm::sdDownloadDoneString(TObject*, const String& strResult)
{
    DebugSend(u"Update Net : " + strResult, kDebugTag);
    TCLSettings& settings = GetCLSettings();
    // Every reply counts as contact with the service, whether it is accepted or not. A date
    // that cannot be saved is reported, and the reply is still handled: the window must not
    // stay at "Connecting..." with its Ok button disabled.
    GuardCall([&] { settings.SetSettingFloat(u"Update.LastDate", Now()); });
    if (!FUpdating)
        return;

    TUpdateReply reply = ParseUpdateReply(strResult, settings.GetSettingString(u"App.MagicWord"));
    bool show = false;
    try {
        show = reply.Accepted && AcceptReply(reply);
    } catch (...) {
        // The settings could not be saved: the check ends as a failed one, and the error is
        // reported as any other.
        FUpdating = false;
        if (Visible())
            ShowOutcome(LibString(u"Update.NetError"), u"");
        else
            Close();
        throw;
    }
    FUpdating = false;
    if (!reply.Accepted && Visible()) {
        ShowOutcome(LibString(u"Update.NetError"), u"");
        return;
    }
    if (show)
        PostMessageW(Handle(), WM_CL_UPDATE_SHOW_RESULT, 0, 0);
    else
        Close();
}

bool TfrmCLUpdateForm::AcceptReply(const TUpdateReply& reply)
{
    TCLSettings& settings = GetCLSettings();
    // Written in reply order and saved once: the pushed settings are in the file before the
    // reply is counted.
    settings.BeginUpdate();
    try {
        ApplyUpdateReply(reply, settings);
    } catch (...) {
        settings.EndUpdate();
        throw;
    }
    settings.EndUpdate();
    settings.SetSettingInteger(u"Update.Times", settings.GetSettingInteger(u"Update.Times") + 1);

    if (!FDoUpdate)
        return false;
    switch (reply.Version) {
    case TUpdateVersion::Latest:
        // Said only to someone who is watching.
        if (!Visible())
            return false;
        FInfo = LibString(u"Update.LastVersionAlready");
        FURL.clear();
        return true;
    case TUpdateVersion::Newer:
        FInfo = reply.Info;
        FURL = reply.Page;
        return true;
    case TUpdateVersion::NoAnswer: break;
    }
    return false;
}

void TfrmCLUpdateForm::ShowOutcome(const String& info, const String& url)
{
    FInfo = info;
    FURL = url;
    PostMessageW(Handle(), WM_CL_UPDATE_SHOW_RESULT, 0, 0);
}

void TfrmCLUpdateForm::sdDownloadError(TObject*)
{
    FUpdating = false;
    DebugSend(u"Update Net Error !", kDebugTag);
    if (FDoUpdate && Visible())
        ShowOutcome(LibString(u"Update.NetError"), u"");
    else
        Close();
}

// ---- The outcome ----

void TfrmCLUpdateForm::WndProc(TMessage& message)
{
    if (message.Msg == WM_CL_UPDATE_SHOW_RESULT) {
        ShowResult();
        message.Result = 0;
        message.Handled = true;
        return;
    }
    TForm::WndProc(message);
}

void TfrmCLUpdateForm::ShowResult()
{
    lbInfo->SetCaption(FInfo);
    const bool withPage = !FURL.empty();
    pnOkCancel->SetVisible(withPage);
    pnOK->SetVisible(!withPage);
    btnCancel->SetVisible(withPage);
    btnOK->SetEnabled(true);
    btnOK2->SetEnabled(true);
    if (FProcess) {
        // The info panel is hidden in the strip layout: the strip says what happened, rather
        // than "Connecting..." above an Ok button. The button goes below it, not over it.
        lbProcess->SetCaption(FInfo);
        TspSkinPanel* buttons = withPage ? pnOkCancel : pnOK;
        SetClientSize(ClientWidth(), pnProcess->Height() + buttons->Height());
    }
    if (!Visible())
        Show();
    // Enter presses the button that is there.
    TspSkinButton* button = withPage ? btnOK : btnOK2;
    if (IsWindowVisible(Handle()) && IsWindowEnabled(Handle()))
        button->SetFocus();
    if (FAutoClose)
        StartAutoClose();
}

void TfrmCLUpdateForm::StartAutoClose()
{
    tmrTimer->SetEnabled(true);
}

void TfrmCLUpdateForm::tmrTimerTimer(TObject*)
{
    const TDateTime now = Now();
    if (FStartTime == 0)
        FStartTime = now;
    const int64_t elapsed = SecondsBetween(FStartTime, now);
    TStringList params;
    params.Add(IntToStr(FDelaySeconds - elapsed));
    lblTimer->SetCaption(ReplaceParams(GetCLEngine() ? LibString(u"lblTimer.Caption") : kTimerCaption, params));
    lblTimer->SetVisible(true);
    if (elapsed >= FDelaySeconds) {
        tmrTimer->SetEnabled(false);
        Close();
    }
}

// ---- The user ----

void TfrmCLUpdateForm::StoreAutoCheck()
{
    TCLSettings& settings = GetCLSettings();
    if (!settings.GetSettingBool(u"Update.NoAutoCheck"))
        settings.SetSettingBool(u"Update.AutoCheck", cbAutoCheckUpdate->Checked());
}

void TfrmCLUpdateForm::btnOKClick(TObject*)
{
    StoreAutoCheck();
    if (!FURL.empty())
        if (TCLEngine* engine = GetCLEngine())
            engine->ShowPageByURL(FURL);
    Close();
}

void TfrmCLUpdateForm::btnOK2Click(TObject*)
{
    sdDownload->Abort();
    StoreAutoCheck();
    Close();
}

void TfrmCLUpdateForm::btnCancelClick(TObject*)
{
    Close();
}

void TfrmCLUpdateForm::FormClose(TObject*, TCloseAction&)
{
    // Closing hides the window; its owner frees it.
}

void TfrmCLUpdateForm::FormKeyDown(TObject*, WORD& Key, UINT)
{
    // Esc is the window's own, on its release: kept from the dialog navigation, which would
    // end the modal loop at the press and leave the request running.
    if (Key == VK_ESCAPE)
        Key = 0;
}

void TfrmCLUpdateForm::FormKeyUp(TObject*, WORD& Key, UINT)
{
    if (Key != VK_ESCAPE)
        return;
    sdDownload->Abort();
    SetModalResult(mrCancel);
}

void RegisterUpdateLangWindow(TLangWindowList& list)
{
    list.Add(u"TfrmCLUpdateForm", [] { return std::make_unique<TfrmCLUpdateForm>(nullptr); });
}

} // namespace vp
