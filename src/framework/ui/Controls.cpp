#include "framework/ui/Controls.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/Application.h"

#include <algorithm>

namespace vp {

namespace {

// The control whose window is being created on this thread; its first message binds it.
thread_local TWinControl* tCreatingControl = nullptr;

const wchar_t* ControlProperty()
{
    return L"VeilportControl";
}

TWinControl* ControlOf(HWND window)
{
    return static_cast<TWinControl*>(GetPropW(window, ControlProperty()));
}

} // namespace

// ---- TControl ----

const TClassInfo& TControl::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TControl, TComponent>(u"TControl")
            .WideText(u"Caption", u"TCaption", &TControl::Caption, &TControl::SetCaption)
            .WideText(u"Hint", u"string", &TControl::Hint, &TControl::SetHint)
            .Other(u"Left", u"Integer")
            .Other(u"Top", u"Integer")
            .Other(u"Width", u"Integer")
            .Other(u"Height", u"Integer")
            .Other(u"Visible", u"Boolean")
            .Other(u"Enabled", u"Boolean")
            .Other(u"OnClick", u"TNotifyEvent")
            .Build();
    return info;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
}

TControl::~TControl()
{
    if (FParent)
        FParent->FControls.erase(std::remove(FParent->FControls.begin(), FParent->FControls.end(), this),
            FParent->FControls.end());
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    if (FParent)
        FParent->FControls.erase(std::remove(FParent->FControls.begin(), FParent->FControls.end(), this),
            FParent->FControls.end());
    FParent = parent;
    if (FParent)
        FParent->FControls.push_back(this);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    BoundsChanged();
}

void TControl::SetVisible(bool value)
{
    FVisible = value;
}

void TControl::SetEnabled(bool value)
{
    FEnabled = value;
}

void TControl::SetCaption(const String& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    CaptionChanged();
}

// ---- TWinControl ----

const TClassInfo& TWinControl::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TWinControl, TControl>(u"TWinControl").Build();
    return info;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    WindowProc = [this](TMessage& message) { WndProc(message); };
}

TWinControl::~TWinControl()
{
    DestroyHandle();
    for (TControl* child : FControls)
        child->FParent = nullptr;
}

HWND TWinControl::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.ClassName = ClassName();
    params.Cursor = LoadCursorW(nullptr, IDC_ARROW);
    params.Background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (FParent) {
        params.Style = WS_CHILD | WS_CLIPSIBLINGS;
        params.ParentWindow = FParent->Handle();
    } else {
        params.Style = WS_OVERLAPPEDWINDOW;
    }
}

void TWinControl::CreateHandle()
{
    if (FCreatingHandle)
        throw Exception(u"Window of " + Name() + u" is being created already");
    TCreateParams params;
    CreateParams(params);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    String windowClass = params.SystemClass.empty() ? params.ClassName : params.SystemClass;
    if (params.SystemClass.empty()) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        if (!GetClassInfoExW(instance, WStr(params.ClassName), &existing)) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.style = params.ClassStyle;
            wc.lpfnWndProc = InitialWndProc;
            wc.hInstance = instance;
            wc.hCursor = params.Cursor;
            wc.hbrBackground = params.Background;
            wc.hIcon = params.Icon;
            wc.lpszClassName = WStr(params.ClassName);
            if (!RegisterClassExW(&wc))
                throw Exception(u"Cannot register the window class " + params.ClassName);
        }
    }
    DWORD style = params.Style;
    if (FVisible && FParent)
        style |= WS_VISIBLE;
    if (!FEnabled)
        style |= WS_DISABLED;
    FCreatingHandle = true;
    TWinControl* previous = tCreatingControl;
    tCreatingControl = params.SystemClass.empty() ? this : nullptr;
    HWND window = CreateWindowExW(params.ExStyle, WStr(windowClass), WStr(FCaption), style, FLeft, FTop,
        FWidth, FHeight, params.ParentWindow, nullptr, instance, nullptr);
    tCreatingControl = previous;
    FCreatingHandle = false;
    if (!window)
        throw Exception(u"Cannot create the window of " + (Name().empty() ? ClassName() : Name()));
    if (!params.SystemClass.empty()) {
        // A system control: route its messages through WindowProc, keeping its own procedure.
        FHandle = window;
        SetPropW(window, ControlProperty(), this);
        FDefWndProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandardWndProc)));
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    CreateWnd();
}

void TWinControl::DestroyHandle()
{
    if (FHandle)
        DestroyWindow(FHandle); // WM_NCDESTROY clears FHandle
    FHandle = nullptr;
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    WindowProc(message);
    return message.Result;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    if (FHandle)
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool value)
{
    TControl::SetVisible(value);
    if (value && !FHandle && FParent && FParent->HandleAllocated())
        HandleNeeded();
    if (FHandle)
        ShowWindow(FHandle, value ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool value)
{
    TControl::SetEnabled(value);
    if (FHandle)
        EnableWindow(FHandle, value);
}

void TWinControl::SetParent(TWinControl* parent)
{
    TControl::SetParent(parent);
    if (FHandle && parent)
        ::SetParent(FHandle, parent->Handle());
}

void TWinControl::CaptionChanged()
{
    if (FHandle)
        SetWindowTextW(FHandle, WStr(FCaption));
}

void TWinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_COMMAND:
        // Commands of child controls go to the child that sent them.
        if (message.LParam != 0) {
            if (TWinControl* child = ControlOf(reinterpret_cast<HWND>(message.LParam));
                child && child != this) {
                message.Result = child->Perform(CN_COMMAND, message.WParam, message.LParam);
                return;
            }
        }
        break;
    case WM_SETTEXT:
        DefaultHandler(message);
        if (message.LParam)
            FCaption = FromWStr(reinterpret_cast<const wchar_t*>(message.LParam));
        return;
    default: break;
    }
    DefaultHandler(message);
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (!FHandle) {
        message.Result = 0;
        return;
    }
    message.Result = FDefWndProc
        ? CallWindowProcW(FDefWndProc, FHandle, message.Msg, message.WParam, message.LParam)
        : DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
}

LRESULT CALLBACK TWinControl::InitialWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = tCreatingControl;
    if (!control)
        return DefWindowProcW(window, msg, wParam, lParam);
    tCreatingControl = nullptr;
    control->FHandle = window;
    control->FDefWndProc = nullptr;
    SetPropW(window, ControlProperty(), control);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandardWndProc));
    return StandardWndProc(window, msg, wParam, lParam);
}

LRESULT CALLBACK TWinControl::StandardWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = ControlOf(window);
    if (!control)
        return DefWindowProcW(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    bool handled = false;
    Application().Guard([&] {
        control->WindowProc(message);
        handled = true;
    });
    if (!handled && msg != WM_NCDESTROY)
        message.Result = control->FDefWndProc
            ? CallWindowProcW(control->FDefWndProc, window, msg, wParam, lParam)
            : DefWindowProcW(window, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        WNDPROC original = control->FDefWndProc;
        RemovePropW(window, ControlProperty());
        control->FHandle = nullptr;
        control->FDefWndProc = nullptr;
        if (original)
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    return message.Result;
}

} // namespace vp
