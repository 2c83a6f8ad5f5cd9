#include "framework/ui/Forms.h"

#include "framework/ui/Application.h"

namespace vp {

const TClassInfo& TForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TForm, TWinControl>(u"TForm")
                                       .Other(u"OnCreate", u"TNotifyEvent")
                                       .Other(u"OnDestroy", u"TNotifyEvent")
                                       .Other(u"OnShow", u"TNotifyEvent")
                                       .Other(u"OnHide", u"TNotifyEvent")
                                       .Other(u"OnClose", u"TCloseEvent")
                                       .Other(u"OnCloseQuery", u"TCloseQueryEvent")
                                       .Build();
    return info;
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    BeginLoading();
    FVisible = false;
    FWidth = 400;
    FHeight = 300;
    FLeft = CW_USEDEFAULT;
    FTop = CW_USEDEFAULT;
}

TForm::~TForm()
{
    if (OnDestroy)
        Application().Guard([&] { OnDestroy(this); });
    if (ApplicationExists() && Application().MainForm() == this)
        Application().SetMainForm(nullptr);
    // Components go while the window and its hooks still exist; then the window.
    DestroyComponents();
    DestroyHandle();
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ParentWindow = nullptr;
    switch (BorderStyle) {
    case TBorderStyle::bsNone: params.Style = WS_POPUP; break;
    case TBorderStyle::bsSingle:
        params.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    case TBorderStyle::bsSizeable: params.Style = WS_OVERLAPPEDWINDOW; break;
    case TBorderStyle::bsDialog:
        params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TBorderStyle::bsToolWindow:
        params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    params.Style |= WS_CLIPCHILDREN;
    if (StayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
    params.Icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!params.Icon)
        params.Icon = LoadIconW(nullptr, IDI_APPLICATION);
    // Dialogs belong to the main window, so they stay above it and out of the task bar.
    TForm* main = ApplicationExists() ? Application().MainForm() : nullptr;
    if (main && main != this && main->HandleAllocated())
        params.ParentWindow = main->Handle();
}

void TForm::PlaceWindow()
{
    if (FPlaced)
        return;
    FPlaced = true;
    RECT area;
    if (Position == TPosition::poMainFormCenter && ApplicationExists() && Application().MainForm() &&
        Application().MainForm() != this && Application().MainForm()->HandleAllocated() &&
        IsWindowVisible(Application().MainForm()->Handle())) {
        GetWindowRect(Application().MainForm()->Handle(), &area);
    } else if (Position != TPosition::poDesigned) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    } else {
        return;
    }
    int left = area.left + ((area.right - area.left) - FWidth) / 2;
    int top = area.top + ((area.bottom - area.top) - FHeight) / 2;
    SetBounds(left < 0 ? 0 : left, top < 0 ? 0 : top, FWidth, FHeight);
}

void TForm::Show()
{
    HandleNeeded();
    PlaceWindow();
    FVisible = true;
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    if (OnShow)
        OnShow(this);
}

void TForm::Hide()
{
    FVisible = false;
    if (HandleAllocated())
        ShowWindow(Handle(), SW_HIDE);
    if (OnHide)
        OnHide(this);
}

void TForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    if (!canClose)
        return;
    bool isMain = ApplicationExists() && Application().MainForm() == this;
    TCloseAction action = isMain ? TCloseAction::caFree : TCloseAction::caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == TCloseAction::caNone)
        return;
    if (isMain) {
        Application().Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize:
        if (HandleAllocated())
            ShowWindow(Handle(), SW_MINIMIZE);
        break;
    case TCloseAction::caFree:
        // Freed from the message loop, once the handler that closed it has returned.
        Hide();
        PostMessageW(Handle(), WM_VP_RELEASE, 0, 0);
        break;
    case TCloseAction::caNone: break;
    }
}

TModalResult TForm::ShowModal()
{
    TModalRequest request;
    request.Form = this;
    request.Caption = Caption();
    FModalResult = mrNone;
    if (TModalResult answer = AskModalResponder(request); answer != mrNone) {
        FModalResult = answer;
        return answer;
    }
    FModal = true;
    TForm* main = ApplicationExists() ? Application().MainForm() : nullptr;
    HWND disabled = (main && main != this && main->HandleAllocated() && IsWindowEnabled(main->Handle()))
        ? main->Handle()
        : nullptr;
    if (disabled)
        EnableWindow(disabled, FALSE);
    Show();
    bool quit = false;
    while (FModalResult == mrNone) {
        if (!Application().HandleMessage()) {
            quit = true;
            FModalResult = mrCancel;
        }
    }
    if (disabled)
        EnableWindow(disabled, TRUE);
    Hide();
    FModal = false;
    if (quit)
        PostQuitMessage(0); // the outer loop must end too
    return FModalResult;
}

void TForm::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        message.Result = 0;
        return;
    case WM_VP_RELEASE: delete this; return;
    default: break;
    }
    TWinControl::WndProc(message);
}

} // namespace vp
