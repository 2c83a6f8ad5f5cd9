#include "framework/ui/TrayIcon.h"

#include <shellapi.h>

#include "framework/rtl/WinText.h"
#include "framework/ui/HiddenWindow.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/RegisteredMessages.h"
#include "framework/ui/SkinPopupMenu.h"

#include <windowsx.h>

#include <algorithm>

namespace vp {

namespace {

// Lets "TaskbarCreated" through to a program that runs elevated, where the system filters
// messages from the less privileged shell.
void AllowMessage(HWND window, UINT message)
{
    using TChangeWindowMessageFilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto allow = user32 ? reinterpret_cast<TChangeWindowMessageFilterEx>(
                              reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
                        : nullptr;
    constexpr DWORD kAllow = 1; // MSGFLT_ALLOW
    if (allow)
        allow(window, message, kAllow, nullptr);
}

HICON LoadSmallIcon(HINSTANCE instance, const wchar_t* name, UINT flags)
{
    const UINT dpi = SystemDpi();
    return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, SystemMetricForDpi(SM_CXSMICON, dpi),
        SystemMetricForDpi(SM_CYSMICON, dpi), flags));
}

// The shell repeats NIN_KEYSELECT for one press of Enter.
constexpr DWORD kRepeatedKeySelectMs = 200;

} // namespace

const TClassInfo& TspTrayIcon::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspTrayIcon, TComponent>(u"TspTrayIcon")
            .WideText(u"Hint", u"string", &TspTrayIcon::Hint, &TspTrayIcon::SetHint)
            .Object(u"PopupMenu", u"TspSkinPopupMenu", &TspTrayIcon::PopupMenu, &TspTrayIcon::SetPopupMenu)
            .Other(u"Visible", u"Boolean")
            .Other(u"Enabled", u"Boolean")
            .Other(u"Icon", u"TIcon")
            .Other(u"OnClick", u"TNotifyEvent")
            .Build();
    return info;
}

TspTrayIcon::TspTrayIcon(TComponent* aOwner) : TComponent(aOwner)
{
    UseProgramIcon();
}

TspTrayIcon::~TspTrayIcon()
{
    Remove();
    FHost.reset();
    if (FIcon)
        DestroyIcon(FIcon);
}

void TspTrayIcon::Loaded()
{
    TComponent::Loaded();
    Update();
}

void TspTrayIcon::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation == TOperation::Remove && aComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

HWND TspTrayIcon::Handle() const
{
    return FHost && FHost->HandleAllocated() ? FHost->Handle() : nullptr;
}

void TspTrayIcon::SetHint(const String& value)
{
    FHint = value;
    Modify();
}

void TspTrayIcon::SetPopupMenu(TspSkinPopupMenu* value)
{
    if (FPopupMenu)
        RemoveFreeNotification(FPopupMenu);
    FPopupMenu = value;
    if (FPopupMenu)
        FreeNotification(FPopupMenu);
}

void TspTrayIcon::SetVisible(bool value)
{
    FVisible = value;
    Update();
}

bool TspTrayIcon::LoadIconFromFile(StringView fileName)
{
    HICON icon = LoadSmallIcon(nullptr, WStr(String(fileName)), LR_LOADFROMFILE);
    if (!icon)
        return false;
    SetIcon(icon);
    return true;
}

void TspTrayIcon::UseProgramIcon()
{
    HICON icon = LoadSmallIcon(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), 0);
    if (!icon)
        icon = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)); // a program without one
    SetIcon(icon);
}

void TspTrayIcon::SetIcon(HICON icon)
{
    HICON old = FIcon;
    FIcon = icon;
    Modify();
    if (old && old != icon)
        DestroyIcon(old);
}

void TspTrayIcon::Update()
{
    if (IsLoading() || IsDesigning())
        return;
    if (FVisible && !FShown)
        Add();
    else if (!FVisible && FShown)
        Remove();
}

bool TspTrayIcon::Add()
{
    if (!FHost) {
        FHost = std::make_unique<THiddenWindow>([this](TMessage& message) { return HostMessage(message); });
        FTaskbarCreated = RegisteredMessage(kMsgTaskbarCreated);
        AllowMessage(FHost->Handle(), FTaskbarCreated);
    }
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = FHost->Handle();
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = FIcon;
    const size_t length = std::min(FHint.size(), std::size(data.szTip) - 1);
    std::copy_n(WStr(FHint), length, data.szTip);
    FShown = Shell_NotifyIconW(NIM_ADD, &data);
    if (FShown) {
        data.uVersion = NOTIFYICON_VERSION_4;
        FVersion4 = Shell_NotifyIconW(NIM_SETVERSION, &data);
    }
    return FShown;
}

void TspTrayIcon::Remove()
{
    if (!FShown)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Handle();
    data.uID = kIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    FShown = false;
}

void TspTrayIcon::Modify()
{
    if (!FShown)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = Handle();
    data.uID = kIconId;
    data.uFlags = NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.hIcon = FIcon;
    const size_t length = std::min(FHint.size(), std::size(data.szTip) - 1);
    std::copy_n(WStr(FHint), length, data.szTip);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

bool TspTrayIcon::HostMessage(TMessage& message)
{
    if (message.Msg == FTaskbarCreated && FTaskbarCreated != 0) {
        // The shell (re)started and knows no icons: ours comes back when it should show.
        FShown = false;
        Update();
        message.Result = 0;
        message.Handled = true;
        return true;
    }
    if (message.Msg != kCallbackMessage)
        return false;
    if (FVersion4) {
        IconEvent(LOWORD(message.LParam), POINT{GET_X_LPARAM(message.WParam), GET_Y_LPARAM(message.WParam)});
    } else {
        POINT cursor{};
        GetCursorPos(&cursor);
        IconEvent(static_cast<UINT>(message.LParam), cursor);
    }
    message.Result = 0;
    message.Handled = true;
    return true;
}

void TspTrayIcon::IconEvent(UINT event, POINT anchor)
{
    if (!FEnabled)
        return;
    switch (event) {
    case NIN_KEYSELECT: {
        const DWORD now = GetTickCount();
        const bool repeated = FLastKeySelect != 0 && now - FLastKeySelect < kRepeatedKeySelectMs;
        FLastKeySelect = now;
        if (repeated)
            return;
        [[fallthrough]];
    }
    case NIN_SELECT:
        if (OnClick)
            OnClick(this);
        break;
    case WM_LBUTTONUP: // the shell's older protocol
        if (!FVersion4 && OnClick)
            OnClick(this);
        break;
    case WM_CONTEXTMENU: ShowMenu(anchor); break;
    case WM_RBUTTONUP:
        if (!FVersion4)
            ShowMenu(anchor);
        break;
    default: break;
    }
}

void TspTrayIcon::ShowMenu(POINT at)
{
    if (!FPopupMenu || !FEnabled)
        return;
    if (!FHost)
        return;
    // Opens towards the screen's middle from the tray, as the shell's own menus do.
    const UINT horizontal = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    FPopupMenu->PopupFor(FHost->Handle(), at.x, at.y, horizontal | TPM_BOTTOMALIGN);
}

} // namespace vp
