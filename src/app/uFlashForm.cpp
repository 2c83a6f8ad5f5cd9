#include "app/uFlashForm.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/config/EngineResources.h"
#include "framework/rtl/FileUtils.h"
#include "framework/ui/Application.h"

namespace vp {

TfrmFlashForm* frmFlashForm = nullptr;

namespace {

constexpr int kDesignWidth = 635;
constexpr int kDesignHeight = 300;
// The status line while the location lookup has not answered.
constexpr uint32_t kVerifyingColor = 4474009; // dark red, 0x444499

} // namespace

const TClassInfo& TfrmFlashForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmFlashForm, TForm>(u"TfrmFlashForm").Build();
    return info;
}

TfrmFlashForm::TfrmFlashForm(TComponent* aOwner) : TForm(aOwner)
{
    SetName(u"frmFlashForm");
    BorderStyle = TBorderStyle::bsNone;
    SetWidth(kDesignWidth);
    SetHeight(kDesignHeight);

    CLMultiLang = new TCLMultiLang(this);
    CLMultiLang->SetName(u"CLMultiLang");
    spDynamicSkinForm = new TspDynamicSkinForm(this);
    spDynamicSkinForm->SetName(u"spDynamicSkinForm");
    if (IEngineResources* resources = RegisteredEngineResources()) {
        CLMultiLang->SetLanguageData(resources->LanguageData());
        spDynamicSkinForm->SetSkinData(dynamic_cast<TspSkinData*>(resources->SkinData()));
    }

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };
}

TfrmFlashForm::~TfrmFlashForm()
{
    // The handler works on this window's own fields, which are gone by the time the form's
    // destructor would call it.
    TNotifyEvent handler = std::move(OnDestroy);
    OnDestroy = nullptr;
    if (handler)
        GuardCall([&] { handler(this); });
}

void TfrmFlashForm::CreateParams(TCreateParams& params)
{
    TForm::CreateParams(params);
    if (Parent()) {
        params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        params.ExStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW);
        params.ParentWindow = Parent()->Handle();
    }
}

void TfrmFlashForm::SetParent(TWinControl* parent)
{
    // A window made before it had a parent becomes a child window first.
    if (parent && HandleAllocated()) {
        LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
        SetWindowLongPtrW(Handle(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP | WS_CAPTION)) | WS_CHILD);
    }
    TForm::SetParent(parent);
    FParentSizeHook = THookToken();
    if (!parent)
        return;
    FParentSizeHook = parent->AddMessageHook([this](TMessage& message) {
        if (message.Msg == WM_SIZE)
            FillParent();
    });
    FillParent();
}

void TfrmFlashForm::FillParent()
{
    TWinControl* parent = Parent();
    if (!parent)
        return;
    int width = parent->Width(), height = parent->Height();
    RECT client{};
    if (parent->HandleAllocated() && GetClientRect(parent->Handle(), &client)) {
        width = UnscaleFromDpi(client.right, parent->CurrentDpi());
        height = UnscaleFromDpi(client.bottom, parent->CurrentDpi());
    }
    SetBounds(0, 0, width, height);
}

void TfrmFlashForm::FormCreate(TObject*)
{
    CreateFlashPlayer();
    String appPath = GetAppPath();
    TCLSettings& settings = GetCLSettings();
    SetBackground(PathJoin(appPath, settings.GetSettingString(u"FLS.Background")));
    SetLogo(PathJoin(appPath, settings.GetSettingString(u"FLS.Logo")));
    InitDisplay();
}

void TfrmFlashForm::CreateFlashPlayer()
{
    FlashPlayer = new TPanelPlayer(this);
    FlashPlayer->SetName(u"FlashPlayer");
    FlashPlayer->SetParent(this);
    FlashPlayer->OnFSCommand = [this](const String& command, const String& args) { FlashFSCommand(command, args); };
    FFlashMes = FlashPlayer->AddMessageHook([this](TMessage& message) { FlashWndProc(message); });

    FlashPlayer->SetMovie(GetAppPath() + u"res\\veilport.dat");
    if (!FileExists(FlashPlayer->Movie())) {
        // The player still plays its built-in scene, so the status lines show.
        MessageDlg(nullptr, FlashPlayer->Movie() + u" File Error!", ApplicationExists() ? Application().Title() : u"",
            TMsgDlgType::mtCustom, mbOK);
    }
    FlashPlayer->SetMenu(false);
    FlashPlayer->SetLoop(false);
    FlashPlayer->SetQuality(1);

    TCLSettings& settings = GetCLSettings();
    int width = settings.GetSettingInteger(u"FLS.Width");
    int height = settings.GetSettingInteger(u"FLS.Height");
    // Without a size in the settings the player takes its scene's.
    if (width <= 0)
        width = FlashPlayer->Model().Scene().Width;
    if (height <= 0)
        height = FlashPlayer->Model().Scene().Height;
    FlashPlayer->SetBounds(0, 0, width, height);
}

void TfrmFlashForm::InitDisplay()
{
    SetIPInfo(u"Local", u"", u"", u"", u"", u"", u"0", u"100");
    SetIPInfo(u"Target", u"", u"", u"", u"", u"", u"0", u"100");
    SetTextInfo(u"Verifing from " + GetCLSettings().GetSettingString(u"APP.Name") + u" server ...", kVerifyingColor);
    SetTextInfo2(u"", 0);
}

void TfrmFlashForm::FormDestroy(TObject*)
{
    FFlashMes.Remove();
    delete FlashPlayer;
    FlashPlayer = nullptr;
}

void TfrmFlashForm::SendCommand(const String& text)
{
    if (FlashPlayer)
        FlashPlayer->SetVariable(u"callbackvar", text);
}

void TfrmFlashForm::SetIPInfo(const String& aPosition, const String& aDisplay, const String& aFlagURL,
    const String& aIP, const String& aCountryName, const String& aCity, const String& aAlpha, const String& aScale)
{
    SendCommand(aPosition + u"," + aDisplay + u"," + aFlagURL + u"," + aIP + u"," +
        ReplaceAll(aCountryName, u",", u" ") + u"," + aCity + u"," + aAlpha + u"," + aScale);
}

void TfrmFlashForm::SetIPInfoA(const String& aPosition, const String& aAlpha, const String& aScale)
{
    SendCommand(aPosition + u"A," + aAlpha + u"," + aScale);
}

void TfrmFlashForm::Fade(const String& Obj, bool FadeIn, int FadeMax)
{
    SendCommand(u"Fade," + Obj + u"," + (FadeIn ? u"in" : u"out") + u"," + IntToStr(FadeMax));
}

void TfrmFlashForm::SetTextInfo(const String& aInfoText, uint32_t aColor)
{
    SendCommand(u"Info_Text," + aInfoText + u"," + IntToStr(aColor));
}

void TfrmFlashForm::SetTextInfo2(const String& aInfoText, uint32_t aColor)
{
    SendCommand(u"Info_Text2," + aInfoText + u"," + IntToStr(aColor));
}

void TfrmFlashForm::SetBackground(const String& aBGFileName)
{
    SendCommand(u"Background," + aBGFileName);
}

void TfrmFlashForm::SetLogo(const String& aLogoFileName)
{
    SendCommand(u"Logo," + aLogoFileName);
}

void TfrmFlashForm::TurnLocal()
{
    SendCommand(u"Turn,Local");
}

void TfrmFlashForm::TurnTarget()
{
    SendCommand(u"Turn,Target");
}

void TfrmFlashForm::FlashWndProc(TMessage& Message)
{
    if (Message.Msg == WM_RBUTTONDOWN)
        Message.Msg = WM_RBUTTONUP; // same parameters; the player never sees the press
}

void TfrmFlashForm::FlashFSCommand(const String& command, const String& args)
{
    if (!SameText(command, u"CMD"))
        return;
    if (SameText(args, u"CHECKIPINFO") && OnCheckIPInfo)
        OnCheckIPInfo(GetCLSettings().GetSettingString(u"URL.CheckIP"));
    if (SameText(args, u"HOMEPAGE") && OnHomePage)
        OnHomePage(u"home");
}

} // namespace vp
