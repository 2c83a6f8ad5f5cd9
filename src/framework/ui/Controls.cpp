#include "framework/ui/Controls.h"

#include <commctrl.h>

#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/WinText.h"

#include <algorithm>
#include <unordered_map>

namespace vp {

// ---- Hook lists ----

class TMessageHookList {
public:
    unsigned Add(TMessageHook hook)
    {
        auto entry = std::make_shared<TEntry>();
        entry->Id = FNextId++;
        entry->Hook = std::move(hook);
        FEntries.push_back(std::move(entry));
        return FEntries.back()->Id;
    }

    void Remove(unsigned id)
    {
        auto found = std::find_if(FEntries.begin(), FEntries.end(), [&](const auto& e) { return e->Id == id; });
        if (found == FEntries.end())
            return;
        (*found)->Removed = true; // a run in progress skips it from now on
        FEntries.erase(found);
    }

    bool Contains(unsigned id) const
    {
        return std::any_of(FEntries.begin(), FEntries.end(), [&](const auto& e) { return e->Id == id; });
    }

    bool Empty() const { return FEntries.empty(); }

    // Newest first, until one answers. The run works on its own copy of the list, so hooks
    // may add or remove hooks (themselves included) while it goes.
    void Run(TMessage& message)
    {
        std::vector<std::shared_ptr<TEntry>> entries = FEntries;
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            if ((*it)->Removed)
                continue;
            TMessageHook hook = (*it)->Hook; // the hook may remove itself while it runs
            hook(message);
            if (message.Handled)
                return;
        }
    }

private:
    struct TEntry {
        unsigned Id = 0;
        TMessageHook Hook;
        bool Removed = false;
    };
    std::vector<std::shared_ptr<TEntry>> FEntries;
    unsigned FNextId = 1;
};

THookToken::THookToken(THookToken&& other) noexcept : FList(std::move(other.FList)), FId(other.FId)
{
    other.FId = 0;
}

THookToken& THookToken::operator=(THookToken&& other) noexcept
{
    if (this != &other) {
        Remove();
        FList = std::move(other.FList);
        FId = other.FId;
        other.FId = 0;
    }
    return *this;
}

void THookToken::Remove()
{
    if (auto list = FList.lock())
        list->Remove(FId);
    FList.reset();
    FId = 0;
}

bool THookToken::Active() const
{
    auto list = FList.lock();
    return list && list->Contains(FId);
}

namespace {

int gDispatchDepth = 0;
constexpr UINT_PTR kSubclassId = 0x5650; // "VP"

// The subclassed system controls by window; the toolkit's own windows carry their control.
std::unordered_map<HWND, TWinControl*>& SubclassedControls()
{
    static std::unordered_map<HWND, TWinControl*> controls;
    return controls;
}

// The child window a reflected message is about, or nullptr.
HWND ReflectionTarget(HWND parent, const TMessage& message)
{
    switch (message.Msg) {
    case WM_COMMAND: return reinterpret_cast<HWND>(message.LParam);
    case WM_NOTIFY:
        return message.LParam ? reinterpret_cast<const NMHDR*>(message.LParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(message.LParam);
        return item && item->CtlType != ODT_MENU ? GetDlgItem(parent, static_cast<int>(item->CtlID)) : nullptr;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return reinterpret_cast<HWND>(message.LParam);
    default: return nullptr;
    }
}

} // namespace

int WindowDispatchDepth()
{
    return gDispatchDepth;
}

TWindowDispatchScope::TWindowDispatchScope()
{
    ++gDispatchDepth;
}

TWindowDispatchScope::~TWindowDispatchScope()
{
    --gDispatchDepth;
}

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
            .Other(u"Align", u"TAlign")
            .Other(u"OnClick", u"TNotifyEvent")
            .Build();
    return info;
}

TControl::TControl(TComponent* aOwner) : TComponent(aOwner)
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
    if (FAlign != TAlign::alNone && FParent && !FParent->FAligning)
        RequestAlign();
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FAlign != TAlign::alNone)
        RequestAlign();
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign)
        return;
    FAlign = value;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->AlignControls();
}

void TControl::SetHint(const String& value)
{
    if (value == FHint)
        return;
    FHint = value;
    HintChanged();
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

UINT TControl::CurrentDpi() const
{
    return FParent ? FParent->CurrentDpi() : SystemDpi();
}

// ---- TWinControl ----

const TClassInfo& TWinControl::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TWinControl, TControl>(u"TWinControl").Build();
    return info;
}

TWinControl::TWinControl(TComponent* aOwner) : TControl(aOwner), FHooks(std::make_shared<TMessageHookList>())
{
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

UINT TWinControl::CurrentDpi() const
{
    if (FDpi != 0)
        return FDpi;
    return TControl::CurrentDpi();
}

THookToken TWinControl::AddMessageHook(TMessageHook hook)
{
    unsigned id = FHooks->Add(std::move(hook));
    return THookToken(FHooks, id);
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
    if (TabStop)
        params.Style |= WS_TABSTOP;
}

RECT TWinControl::BoundsInPixels() const
{
    UINT dpi = CurrentDpi();
    if (!FParent) {
        // A top-level window keeps its screen position; only its size is designed.
        return RECT{FLeft, FTop, FLeft + ScaleToDpi(FWidth, dpi), FTop + ScaleToDpi(FHeight, dpi)};
    }
    int left = ScaleToDpi(FLeft, dpi);
    int top = ScaleToDpi(FTop, dpi);
    return RECT{left, top, left + ScaleToDpi(FWidth, dpi), top + ScaleToDpi(FHeight, dpi)};
}

void TWinControl::CreateHandle()
{
    if (FCreatingHandle)
        throw Exception(u"Window of " + Name() + u" is being created already");
    // The parent's window makes its children's windows, this one included.
    if (FParent && !FParent->HandleAllocated()) {
        FParent->HandleNeeded();
        if (FHandle)
            return;
    }
    TCreateParams params;
    CreateParams(params);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const bool system = !params.SystemClass.empty();
    String windowClass = system ? params.SystemClass : params.ClassName;
    if (!system) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        if (!GetClassInfoExW(instance, WStr(params.ClassName), &existing)) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.style = params.ClassStyle;
            wc.lpfnWndProc = StandardWndProc;
            wc.cbWndExtra = sizeof(LONG_PTR); // the control, bound at WM_NCCREATE
            wc.hInstance = instance;
            wc.hCursor = params.Cursor;
            wc.hbrBackground = params.Background;
            wc.hIcon = params.Icon;
            wc.lpszClassName = WStr(params.ClassName);
            if (!RegisterClassExW(&wc))
                throw Exception(u"Cannot register the window class " + params.ClassName);
        } else if (existing.lpfnWndProc != StandardWndProc) {
            throw Exception(u"The window class " + params.ClassName + u" belongs to someone else");
        }
    }
    DWORD style = params.Style;
    if (FVisible && FParent)
        style |= WS_VISIBLE;
    if (!FEnabled)
        style |= WS_DISABLED;
    FDpi = FParent ? FParent->CurrentDpi() : SystemDpi();
    RECT bounds = BoundsInPixels();
    int left = bounds.left, top = bounds.top;
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (!FParent && FLeft == CW_USEDEFAULT) {
        left = CW_USEDEFAULT;
        top = CW_USEDEFAULT;
    }
    HMENU id = nullptr;
    if (FParent) {
        if (FControlId == 0)
            FControlId = NewControlId();
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(FControlId));
    }
    FCreatingHandle = true;
    HWND window = CreateWindowExW(params.ExStyle, WStr(windowClass), WStr(FCaption), style, left, top, width,
        height, params.ParentWindow, id, instance, system ? nullptr : this);
    FCreatingHandle = false;
    if (!window) {
        FDpi = 0;
        throw Exception(u"Cannot create the window of " + (Name().empty() ? ClassName() : Name()));
    }
    if (system) {
        FHandle = window;
        FSubclassed = SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        if (FSubclassed)
            SubclassedControls()[window] = this;
        if (!FSubclassed) {
            DestroyWindow(window);
            FHandle = nullptr;
            throw Exception(u"Cannot take over the window of " + (Name().empty() ? ClassName() : Name()));
        }
    }
    // A top-level window may have landed on a monitor of another DPI.
    UINT actual = WindowDpi(FHandle);
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontForDpi(actual)), FALSE);
    if (actual != FDpi)
        ApplyDpi(actual);
    CreateWnd();
    CreateChildHandles();
}

void TWinControl::CreateChildHandles()
{
    // In order of placement, which is also the Tab order.
    std::vector<TControl*> children = FControls;
    for (TControl* child : children)
        if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed && !windowed->FHandle)
            windowed->CreateHandle();
    AlignControls();
}

int TWinControl::NewControlId()
{
    TWinControl* root = this;
    while (root->FParent)
        root = root->FParent;
    return root->FNextChildId++;
}

void TWinControl::AlignControls()
{
    if (!FHandle || FAligning)
        return;
    std::vector<TControl*> aligned;
    for (TControl* child : FControls)
        if (child->FVisible && child->FAlign != TAlign::alNone)
            aligned.push_back(child);
    if (aligned.empty())
        return;
    // In pixels, so that neighbours meet exactly at any DPI; the designed bounds follow.
    const UINT dpi = CurrentDpi();
    RECT client;
    GetClientRect(FHandle, &client);
    AdjustClientRect(client);
    std::vector<TAlignItem> items;
    for (TControl* child : aligned) {
        int left = ScaleToDpi(child->FLeft, dpi), top = ScaleToDpi(child->FTop, dpi);
        items.push_back({child->FAlign,
            TRect{left, top, left + ScaleToDpi(child->FWidth, dpi), top + ScaleToDpi(child->FHeight, dpi)}});
    }
    FAligning = true;
    AlignItems(TRect{client.left, client.top, client.right, client.bottom}, items);
    for (size_t i = 0; i < aligned.size(); ++i) {
        TControl* child = aligned[i];
        const TRect& r = items[i].Bounds;
        const TAlign align = child->FAlign;
        child->FLeft = UnscaleFromDpi(r.Left, dpi);
        child->FTop = UnscaleFromDpi(r.Top, dpi);
        if (align != TAlign::alLeft && align != TAlign::alRight)
            child->FWidth = UnscaleFromDpi(r.Width(), dpi);
        if (align != TAlign::alTop && align != TAlign::alBottom)
            child->FHeight = UnscaleFromDpi(r.Height(), dpi);
        if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed && windowed->FHandle) {
            windowed->FSettingBounds = true;
            SetWindowPos(windowed->FHandle, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                SWP_NOZORDER | SWP_NOACTIVATE);
            windowed->FSettingBounds = false;
        }
        child->BoundsChanged();
    }
    FAligning = false;
}

void TWinControl::DestroyHandle()
{
    if (FHandle)
        DestroyWindow(FHandle); // WM_NCDESTROY clears FHandle
    FHandle = nullptr;
}

HFONT TWinControl::FontForDpi(UINT dpi)
{
    return MessageFont(dpi);
}

void TWinControl::DpiChanged(UINT)
{
}

void TWinControl::ApplyDpi(UINT dpi)
{
    FDpi = dpi;
    if (FHandle) {
        if (FParent) {
            RECT bounds = BoundsInPixels();
            FSettingBounds = true;
            SetWindowPos(FHandle, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
            FSettingBounds = false;
        }
        SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontForDpi(dpi)), TRUE);
    }
    DpiChanged(dpi);
    for (TControl* child : FControls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->ApplyDpi(dpi);
    AlignControls();
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (FHandle)
        return SendMessageW(FHandle, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0, false};
    Dispatch(message);
    return message.Result;
}

void TWinControl::Dispatch(TMessage& message)
{
    std::shared_ptr<TMessageHookList> hooks = FHooks; // a hook may destroy this control
    if (!hooks->Empty()) {
        hooks->Run(message);
        if (message.Handled)
            return;
    }
    WndProc(message);
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    // An aligned control was placed by its parent just now.
    const bool placedByParent = FAlign != TAlign::alNone && FParent && FParent->FHandle;
    if (FHandle && !FSettingBounds && !placedByParent) {
        RECT bounds = BoundsInPixels();
        FSettingBounds = true;
        SetWindowPos(FHandle, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
            bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
        FSettingBounds = false;
    }
}

void TWinControl::UpdateBoundsFromWindow()
{
    RECT rect;
    if (!GetWindowRect(FHandle, &rect))
        return;
    UINT dpi = CurrentDpi();
    int width = UnscaleFromDpi(rect.right - rect.left, dpi);
    int height = UnscaleFromDpi(rect.bottom - rect.top, dpi);
    if (FParent && FParent->FHandle) {
        MapWindowPoints(nullptr, FParent->FHandle, reinterpret_cast<POINT*>(&rect), 2);
        TControl::SetBounds(UnscaleFromDpi(rect.left, dpi), UnscaleFromDpi(rect.top, dpi), width, height);
    } else {
        TControl::SetBounds(rect.left, rect.top, width, height);
    }
}

void TWinControl::SetVisible(bool value)
{
    const bool changed = value != FVisible;
    FVisible = value;
    if (value && !FHandle && FParent && FParent->HandleAllocated())
        HandleNeeded();
    // The neighbours make room (or take it) before the window shows or hides.
    if (changed && FAlign != TAlign::alNone)
        RequestAlign();
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
    TWinControl* old = FParent;
    TControl::SetParent(parent);
    if (FHandle && parent) {
        ::SetParent(FHandle, parent->Handle());
        FControlId = NewControlId();
        SetWindowLongPtrW(FHandle, GWLP_ID, FControlId);
        if (parent->CurrentDpi() != FDpi)
            ApplyDpi(parent->CurrentDpi());
    } else if (!FHandle && parent && parent->HandleAllocated() && FVisible) {
        HandleNeeded();
    }
    if (FAlign != TAlign::alNone && old != parent) {
        if (old)
            old->AlignControls();
        RequestAlign();
    }
}

void TWinControl::SetFocus()
{
    ::SetFocus(Handle());
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::CaptionChanged()
{
    if (FHandle)
        SetWindowTextW(FHandle, WStr(FCaption));
}

TWinControl* TWinControl::FindControl(HWND window)
{
    if (!window || !IsWindow(window))
        return nullptr;
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC)) == StandardWndProc)
        return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, 0));
    auto found = SubclassedControls().find(window);
    return found == SubclassedControls().end() ? nullptr : found->second;
}

bool TWinControl::ReflectToChild(TMessage& message)
{
    HWND target = ReflectionTarget(FHandle, message);
    if (!target || target == FHandle)
        return false;
    TWinControl* child = FindControl(target);
    if (!child || child == this)
        return false;
    TMessage reflected{CN_BASE + message.Msg, message.WParam, message.LParam, 0, false};
    child->Dispatch(reflected);
    if (!reflected.Handled)
        return false;
    message.Result = reflected.Result;
    message.Handled = true;
    return true;
}

void TWinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (ReflectToChild(message))
            return;
        break;
    case WM_SETTEXT:
        DefaultHandler(message);
        if (message.LParam)
            FCaption = FromWStr(reinterpret_cast<const wchar_t*>(message.LParam));
        return;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        if (!FSettingBounds && FHandle)
            UpdateBoundsFromWindow();
        return;
    case WM_SIZE:
        DefaultHandler(message);
        AlignControls();
        return;
    default:
        // A reflected message nobody answered stays unanswered: the parent handles it.
        if (IsReflectedMessage(message.Msg))
            return;
        break;
    }
    DefaultHandler(message);
}

void TWinControl::DefaultHandler(TMessage& message)
{
    message.Handled = true;
    if (!FHandle) {
        message.Result = 0;
        return;
    }
    if (!FSubclassed)
        message.Result = DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
    else if (FSubclassDepth > 0)
        message.Result = DefSubclassProc(FHandle, message.Msg, message.WParam, message.LParam);
    else
        message.Result = CallWindowProcW(reinterpret_cast<WNDPROC>(GetClassLongPtrW(FHandle, GCLP_WNDPROC)),
            FHandle, message.Msg, message.WParam, message.LParam);
}

LRESULT TWinControl::Route(TWinControl* control, HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWindowDispatchScope depth;
    TMessage message{msg, wParam, lParam, 0, false};
    bool answered = false;
    GuardCall([&] {
        control->Dispatch(message);
        answered = true;
    });
    if (!answered) {
        // The handler failed and the error was reported: the window still gets its default.
        message.Result = control->FSubclassed ? DefSubclassProc(window, msg, wParam, lParam)
                                              : DefWindowProcW(window, msg, wParam, lParam);
    }
    return message.Result;
}

LRESULT CALLBACK TWinControl::StandardWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* control = static_cast<TWinControl*>(create->lpCreateParams);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(control));
        if (control)
            control->FHandle = window;
    }
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, 0));
    if (!control)
        return DefWindowProcW(window, msg, wParam, lParam);
    LRESULT result = Route(control, window, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        control->FHandle = nullptr;
        control->FDpi = 0;
    }
    return result;
}

LRESULT CALLBACK TWinControl::SubclassProc(
    HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept
{
    auto* control = reinterpret_cast<TWinControl*>(data);
    if (!control)
        return DefSubclassProc(window, msg, wParam, lParam);
    ++control->FSubclassDepth;
    LRESULT result = Route(control, window, msg, wParam, lParam);
    --control->FSubclassDepth;
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        SubclassedControls().erase(window);
        control->FHandle = nullptr;
        control->FSubclassed = false;
        control->FDpi = 0;
    }
    return result;
}

} // namespace vp
