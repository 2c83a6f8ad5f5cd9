#include "framework/engine/CLSplashForm.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/FileUtils.h"

namespace vp {

namespace {

// The splash picture built into the program (the resource "VP_SPLASH").
std::string_view BuiltinSplashPicture()
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, L"VP_SPLASH", MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string_view(static_cast<const char*>(data), SizeofResource(module, resource))
                : std::string_view();
}

} // namespace

const TClassInfo& TfrmCLSplashForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmCLSplashForm, TForm>(u"TfrmCLSplashForm").Build();
    return info;
}

TfrmCLSplashForm::TfrmCLSplashForm(TComponent* aOwner) : TForm(aOwner)
{
    SetName(u"frmCLSplashForm");
    BorderStyle = TBorderStyle::bsNone;
    spngfrm1 = new TspPngForm(this);
    spngfrm1->SetName(u"spngfrm1");
    if (std::string_view builtin = BuiltinSplashPicture(); !builtin.empty())
        spngfrm1->LoadPngBytes(builtin);
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnDeactivate = [this](TObject* Sender) { FormDeactivate(Sender); };
    // Its work is done once it closes.
    OnClose = [](TObject*, TCloseAction& Action) { Action = TCloseAction::caFree; };
}

void TfrmCLSplashForm::CreateParams(TCreateParams& params)
{
    TForm::CreateParams(params);
    params.Background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // Not in the task bar: it is no window of its own for the user.
    params.ExStyle |= WS_EX_TOOLWINDOW;
}

void TfrmCLSplashForm::FormCreate(TObject*)
{
    try {
        const String oem = GetAppPath() + u"oem.splash.png";
        const String standard = GetAppPath() + u"res\\images\\splash.png";
        if (FileExists(oem)) {
            spngfrm1->LoadPng(oem);
        } else if (FileExists(standard)) {
            spngfrm1->LoadPng(standard);
        } else {
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
            return;
        }
        // Centred on the screen by the picture's size.
        HandleNeeded();
        SIZE size = spngfrm1->DrawnSize();
        int left = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
        int top = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
        SetWindowPos(Handle(), nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    } catch (...) {
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    }
}

void TfrmCLSplashForm::FormDeactivate(TObject*)
{
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void ShowSplashWindow(TComponent* aOwner)
{
    auto* splash = NewForm<TfrmCLSplashForm>(aOwner);
    splash->Show();
    UpdateWindow(splash->Handle());
}

} // namespace vp
