#include "framework/ui/Forms.h"

#include "framework/ui/Application.h"

#include <algorithm>

namespace vp {

namespace {

// The top-level windows of this thread that a modal form disables.
struct TDisabledWindows {
    HWND Keep = nullptr;
    std::vector<HWND> Windows;
};

BOOL CALLBACK DisableThreadWindow(HWND window, LPARAM data) noexcept
{
    auto* disabled = reinterpret_cast<TDisabledWindows*>(data);
    if (window != disabled->Keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        disabled->Windows.push_back(window);
    }
    return TRUE;
}

} // namespace

const TClassInfo& TForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TForm, TWinControl>(u"TForm")
                                       .Other(u"OnCreate", u"TNotifyEvent")
                                       .Other(u"OnDestroy", u"TNotifyEvent")
                                       .Other(u"OnShow", u"TNotifyEvent")
                                       .Other(u"OnHide", u"TNotifyEvent")
                                       .Other(u"OnClose", u"TCloseEvent")
                                       .Other(u"OnCloseQuery", u"TCloseQueryEvent")
                                       .Other(u"OnActivate", u"TNotifyEvent")
                                       .Other(u"OnDeactivate", u"TNotifyEvent")
                                       .Other(u"OnKeyDown", u"TKeyEvent")
                                       .Other(u"OnKeyUp", u"TKeyEvent")
                                       .Build();
    return info;
}

TForm::TForm(TComponent* aOwner) : TWinControl(aOwner)
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
        GuardCall([&] { OnDestroy(this); });
    if (ApplicationExists() && Application().MainForm() == this)
        Application().SetMainForm(nullptr);
    // Components go while the window and its hooks still exist; then the window.
    DestroyComponents();
    DestroyHandle();
}

void TForm::FinishCreation()
{
    FCreating = true;
    LoadComponentTree(*this);
    DoCreate();
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
    FCreating = false;
    if (FFrame)
        FFrame->FormCreated();
}

UINT ShiftState()
{
    UINT shift = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000)
        shift |= kShiftKey;
    if (GetKeyState(VK_CONTROL) & 0x8000)
        shift |= kCtrlKey;
    if (GetKeyState(VK_MENU) & 0x8000)
        shift |= kAltKey;
    return shift;
}

TForm* GetParentForm(TControl* control)
{
    while (control && control->Parent())
        control = control->Parent();
    return dynamic_cast<TForm*>(control);
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
    // Tab walks into the controls of panels on the form.
    params.ExStyle |= WS_EX_CONTROLPARENT;
    if (StayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
    if (FFrame)
        FFrame->AdjustFrameStyle(params.Style, params.ExStyle);
    params.Icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!params.Icon)
        params.Icon = LoadIconW(nullptr, IDI_APPLICATION);
    // Dialogs belong to the main window, so they stay above it and out of the task bar.
    TForm* main = ApplicationExists() ? Application().MainForm() : nullptr;
    if (main && main != this && main->HandleAllocated())
        params.ParentWindow = main->Handle();
}

RECT TForm::BoundsInPixels() const
{
    if (FClientWidth < 0)
        return TWinControl::BoundsInPixels();
    UINT dpi = CurrentDpi();
    TForm* self = const_cast<TForm*>(this);
    TCreateParams params;
    self->CreateParams(params);
    const int width = ScaleToDpi(FClientWidth, dpi), height = ScaleToDpi(FClientHeight, dpi);
    RECT frame = FFrame ? FFrame->FrameRectForClient(width, height, params.Style, params.ExStyle, dpi)
                        : WindowRectForClient(width, height, params.Style, params.ExStyle, dpi);
    return RECT{FLeft, FTop, FLeft + frame.right - frame.left, FTop + frame.bottom - frame.top};
}

void TForm::FrameChanged()
{
    if (!HandleAllocated())
        return;
    HWND window = Handle();
    TCreateParams params;
    CreateParams(params);
    // The window's state stays; topmost is a place in the Z order that no style sets.
    constexpr DWORD kState = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>((style & kState) | (params.Style & ~kState)));
    SetWindowLongPtrW(window, GWL_EXSTYLE,
        static_cast<LONG_PTR>((exStyle & WS_EX_TOPMOST) | (params.ExStyle & ~WS_EX_TOPMOST)));
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    RECT bounds = BoundsInPixels();
    if (FClientWidth < 0 || IsIconic(window) || IsZoomed(window))
        flags |= SWP_NOSIZE;
    SetWindowPos(window, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, flags);
}

void TForm::SetClientSize(int width, int height)
{
    FClientWidth = width;
    FClientHeight = height;
    ApplyClientSize();
}

void TForm::ApplyClientSize()
{
    if (FClientWidth < 0)
        return;
    RECT bounds = BoundsInPixels();
    UINT dpi = CurrentDpi();
    TControl::SetBounds(FLeft, FTop, UnscaleFromDpi(bounds.right - bounds.left, dpi),
        UnscaleFromDpi(bounds.bottom - bounds.top, dpi));
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TForm::ClientWidth() const
{
    if (FClientWidth >= 0)
        return FClientWidth;
    RECT client{};
    if (HandleAllocated() && GetClientRect(const_cast<TForm*>(this)->Handle(), &client))
        return UnscaleFromDpi(client.right, CurrentDpi());
    return FWidth;
}

int TForm::ClientHeight() const
{
    if (FClientHeight >= 0)
        return FClientHeight;
    RECT client{};
    if (HandleAllocated() && GetClientRect(const_cast<TForm*>(this)->Handle(), &client))
        return UnscaleFromDpi(client.bottom, CurrentDpi());
    return FHeight;
}

void TForm::PlaceWindow()
{
    if (FPlaced)
        return;
    FPlaced = true;
    RECT area;
    TForm* main = ApplicationExists() ? Application().MainForm() : nullptr;
    if (Position == TPosition::poMainFormCenter && main && main != this && main->HandleAllocated() &&
        IsWindowVisible(main->Handle())) {
        GetWindowRect(main->Handle(), &area);
    } else if (Position != TPosition::poDesigned) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    } else {
        return;
    }
    RECT window;
    GetWindowRect(Handle(), &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int left = area.left + ((area.right - area.left) - width) / 2;
    int top = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(Handle(), nullptr, std::max(left, 0), std::max(top, 0), 0, 0,
        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close()
{
    if (FModal) {
        // The modal loop asks OnCloseQuery before it ends.
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
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
        // Freed by the message loop once the handler that closed it has returned.
        Hide();
        Application().ReleaseForm(this);
        break;
    case TCloseAction::caNone: break;
    }
}

void TForm::DescribeModalRequest(TModalRequest& request) const
{
    request.Form = const_cast<TForm*>(this);
    request.Caption = Caption();
}

TModalResult TForm::ShowModal()
{
    TModalRequest request;
    DescribeModalRequest(request);
    FModalResult = mrNone;
    if (TModalResult answer = AskModalResponder(request); answer != mrNone) {
        FModalResult = answer;
        return answer;
    }
    FModal = true;
    HandleNeeded();
    TDisabledWindows disabled;
    disabled.Keep = Handle();
    EnumThreadWindows(GetCurrentThreadId(), DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
    Show();
    bool quit = false;
    TApplication& app = Application();
    while (true) {
        if (FModalResult == mrNone) {
            if (app.HandleMessage())
                continue;
            quit = true;
            FModalResult = mrCancel;
            break;
        }
        // A button, Esc, the close command or the program set a result: the form may still
        // refuse to close, which keeps the loop going.
        TCloseAction action = CloseQuery() ? TCloseAction::caHide : TCloseAction::caNone;
        if (action != TCloseAction::caNone && OnClose)
            OnClose(this, action);
        if (action != TCloseAction::caNone)
            break;
        FModalResult = mrNone;
    }
    // The owner is enabled before this form hides, so the activation goes back to it.
    for (auto it = disabled.Windows.rbegin(); it != disabled.Windows.rend(); ++it)
        if (IsWindow(*it))
            EnableWindow(*it, TRUE);
    Hide();
    FModal = false;
    if (quit)
        PostQuitMessage(0); // the outer loop must end too
    return FModalResult;
}

bool TForm::PreviewKey(const MSG& msg)
{
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    const TKeyEvent& handler = down ? OnKeyDown : OnKeyUp;
    if (KeyPreview && (down || up) && handler) {
        WORD key = static_cast<WORD>(msg.wParam);
        handler(this, key, ShiftState());
        if (key == 0)
            return true;
    }
    if (!down || !HandleAllocated())
        return false;
    for (HWND window = msg.hwnd; window && IsChild(Handle(), window); window = GetAncestor(window, GA_PARENT))
        if (TWinControl::FindControl(window) && SendMessageW(window, WM_VP_DIALOGKEY, 0, reinterpret_cast<LPARAM>(&msg)))
            return true;
    return false;
}

IDialogButton* TForm::FindDialogButton(bool wantDefault) const
{
    std::vector<const TWinControl*> pending{this};
    while (!pending.empty()) {
        const TWinControl* control = pending.back();
        pending.pop_back();
        for (int i = control->ControlCount() - 1; i >= 0; --i) {
            TControl* child = control->Controls(i);
            if (!child->Visible() || !child->Enabled())
                continue;
            if (auto* button = dynamic_cast<IDialogButton*>(child))
                if (wantDefault ? button->IsDefaultButton() : button->IsCancelButton())
                    return button;
            if (auto* container = dynamic_cast<TWinControl*>(child))
                pending.push_back(container);
        }
    }
    return nullptr;
}

IDialogButton* TForm::DefaultButton() const
{
    return FindDialogButton(true);
}

IDialogButton* TForm::CancelButton() const
{
    return FindDialogButton(false);
}

bool TForm::IsDialogCommand(WORD id) const
{
    if (id == IDOK || id == IDCANCEL)
        return true;
    auto* button = dynamic_cast<TWinControl*>(DefaultButton());
    return button && button->ControlId() == id;
}

void TForm::DialogCommand(TMessage& message)
{
    // Enter without a default button, and Esc, come as IDOK and IDCANCEL from no control.
    const WORD id = LOWORD(message.WParam);
    message.Handled = true;
    message.Result = 0;
    if (id == IDCANCEL) {
        if (IDialogButton* cancel = CancelButton())
            cancel->Click();
        else if (FModal)
            Close();
    } else if (IDialogButton* ok = DefaultButton()) {
        ok->Click();
    }
}

void TForm::NextDialogControl(TMessage& message)
{
    // A label's mnemonic moves the focus on to the control after it; the dialog navigation
    // asks the form for that as it would ask a dialog.
    HWND target = LOWORD(message.LParam)
        ? reinterpret_cast<HWND>(message.WParam)
        : GetNextDlgTabItem(Handle(), GetFocus() == Handle() ? nullptr : GetFocus(), message.WParam != 0);
    if (target && IsChild(Handle(), target)) {
        if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
            SendMessageW(target, EM_SETSEL, 0, -1);
        ::SetFocus(target);
    }
    message.Result = 0;
    message.Handled = true;
}

void TForm::HandleDpiChange(TMessage& message)
{
    const UINT dpi = HIWORD(message.WParam);
    const auto* suggested = reinterpret_cast<const RECT*>(message.LParam);
    ApplyDpi(dpi);
    RECT bounds = BoundsInPixels();
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    // Keep the window centred where the system suggests, at the size its design asks for.
    int left = suggested->left + ((suggested->right - suggested->left) - width) / 2;
    int top = suggested->top + ((suggested->bottom - suggested->top) - height) / 2;
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    message.Result = 0;
    message.Handled = true;
}

void TForm::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_DPICHANGED: HandleDpiChange(message); return;
    case WM_ACTIVATE:
        DefaultHandler(message);
        if (LOWORD(message.WParam) == WA_INACTIVE) {
            if (OnDeactivate)
                OnDeactivate(this);
        } else if (OnActivate) {
            OnActivate(this);
        }
        return;
    case WM_NEXTDLGCTL: NextDialogControl(message); return;
    case DM_GETDEFID:
        if (IDialogButton* button = DefaultButton(); button && dynamic_cast<TWinControl*>(button)) {
            message.Result = MAKELRESULT(dynamic_cast<TWinControl*>(button)->ControlId(), DC_HASDEFID);
            message.Handled = true;
            return;
        }
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_COMMAND:
        // Enter and Esc from the dialog navigation, when it found no window to name.
        if (message.LParam == 0 && HIWORD(message.WParam) == BN_CLICKED && IsDialogCommand(LOWORD(message.WParam))) {
            DialogCommand(message);
            return;
        }
        break;
    default: break;
    }
    TWinControl::WndProc(message);
}

} // namespace vp
