#include "framework/ui/CustomControl.h"

#include <commctrl.h>
#include <windowsx.h>

#include "framework/rtl/WinText.h"

#include <algorithm>

namespace vp {

namespace {

// A memory DC with a 32-bit bitmap of its own, for drawing without flicker.
class TPaintBuffer {
public:
    TPaintBuffer(HDC compatible, int width, int height)
    {
        FDC = CreateCompatibleDC(compatible);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = std::max(1, width);
        info.bmiHeader.biHeight = -std::max(1, height);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        FOld = SelectObject(FDC, FBitmap);
    }
    ~TPaintBuffer()
    {
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
    }
    TPaintBuffer(const TPaintBuffer&) = delete;
    TPaintBuffer& operator=(const TPaintBuffer&) = delete;
    HDC DC() const { return FDC; }

private:
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
};

LPCWSTR CursorResource(TCursor cursor)
{
    switch (cursor) {
    case TCursor::crHandPoint: return IDC_HAND;
    case TCursor::crIBeam: return IDC_IBEAM;
    case TCursor::crArrow:
    case TCursor::crDefault: break;
    }
    return IDC_ARROW;
}

} // namespace

const TClassInfo& TCustomControl::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCustomControl, TWinControl>(u"TCustomControl")
                                       .Other(u"Cursor", u"TCursor")
                                       .Other(u"ShowHint", u"Boolean")
                                       .Build();
    return info;
}

TCustomControl::TCustomControl(TComponent* aOwner) : TWinControl(aOwner)
{
}

TCustomControl::~TCustomControl()
{
    // The tooltip belongs to the top-level window, which may have destroyed it already.
    if (FTooltip && IsWindow(FTooltip))
        DestroyWindow(FTooltip);
}

void TCustomControl::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Background = nullptr; // the control paints every pixel
    params.Style |= WS_CLIPCHILDREN;
    // Later siblings over this control are kept out of its painting instead (see
    // ExcludeLaterSiblings), so that they are not hidden under it.
    params.Style &= ~static_cast<DWORD>(WS_CLIPSIBLINGS);
}

void TCustomControl::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateTooltip();
}

void TCustomControl::Invalidate()
{
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TCustomControl::SetShowHint(bool value)
{
    if (value == FShowHint)
        return;
    FShowHint = value;
    UpdateTooltip();
}

void TCustomControl::CaptionChanged()
{
    TWinControl::CaptionChanged();
    Invalidate();
}

void TCustomControl::HintChanged()
{
    UpdateTooltip();
}

void TCustomControl::Click()
{
    if (OnClick)
        OnClick(this);
}

bool TCustomControl::FocusCuesShown() const
{
    if (!HandleAllocated())
        return true;
    HWND window = const_cast<TCustomControl*>(this)->Handle();
    return !(SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

bool TCustomControl::AccelCuesShown() const
{
    if (!HandleAllocated())
        return true;
    HWND window = const_cast<TCustomControl*>(this)->Handle();
    return !(SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL);
}

HWND TCustomControl::TooltipHandle()
{
    if (!FTooltip)
        UpdateTooltip(true);
    return FTooltip;
}

void TCustomControl::UpdateTooltip(bool create)
{
    if (!HandleAllocated())
        return;
    HWND window = Handle();
    if (!FShowHint || FHint.empty()) {
        if (FTooltip)
            DestroyWindow(FTooltip);
        FTooltip = nullptr;
        return;
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<wchar_t*>(WStr(FHint));
    if (FTooltip) {
        SendMessageW(FTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else if (!create) {
        // Made when the pointer first comes over the control: a tooltip is a top-level
        // window of its own, which the start of the program need not wait for.
        return;
    } else {
        // Owned by the top-level window, so it stays above it.
        FTooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(window, GA_ROOT), nullptr,
            GetModuleHandleW(nullptr), nullptr);
        if (!FTooltip)
            return;
        SendMessageW(FTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ConfigureTooltip(FTooltip);
}

void TCustomControl::DrawParentBackground(HDC dc, int width, int height)
{
    HWND window = Handle();
    HWND parent = GetParent(window);
    if (!parent)
        return;
    // The parent erases and paints its client area into dc, shifted so that this control's
    // place lands at (0, 0); what lies outside is clipped away.
    POINT origin{0, 0};
    MapWindowPoints(window, parent, &origin, 1);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, width, height);
    POINT old;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);
}

void TCustomControl::PaintTo(HDC dc)
{
    RECT client{0, 0, 0, 0};
    GetClientRect(Handle(), &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    TPaintBuffer buffer(dc, client.right, client.bottom);
    if (ShowsParentBackground())
        DrawParentBackground(buffer.DC(), client.right, client.bottom);
    Paint(buffer.DC(), client);
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer.DC(), 0, 0, SRCCOPY);
}

void TCustomControl::ExcludeLaterSiblings(HDC dc)
{
    HWND window = Handle();
    RECT mine;
    GetWindowRect(window, &mine);
    for (HWND sibling = GetWindow(window, GW_HWNDNEXT); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        RECT theirs, overlap;
        if (!IsWindowVisible(sibling) || !GetWindowRect(sibling, &theirs) || !IntersectRect(&overlap, &mine, &theirs))
            continue;
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&overlap), 2);
        ExcludeClipRect(dc, overlap.left, overlap.top, overlap.right, overlap.bottom);
    }
}

bool TCustomControl::InLaterSibling(POINT screen) const
{
    HWND window = const_cast<TCustomControl*>(this)->Handle();
    for (HWND sibling = GetWindow(window, GW_HWNDNEXT); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        RECT theirs;
        if (IsWindowVisible(sibling) && GetWindowRect(sibling, &theirs) && PtInRect(&theirs, screen))
            return true;
    }
    return false;
}

void TCustomControl::PaintWindow()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    if (dc) {
        ExcludeLaterSiblings(dc);
        PaintTo(dc);
    }
    EndPaint(Handle(), &paint);
}

void TCustomControl::TrackMouse()
{
    if (FMouseInside)
        return;
    FMouseInside = true;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = Handle();
    TrackMouseEvent(&track);
    MouseEnterLeave();
}

void TCustomControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        message.Handled = true;
        return;
    case WM_PAINT:
        PaintWindow();
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(message.WParam));
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_NCHITTEST: {
        POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        if (InLaterSibling(point)) {
            message.Result = HTTRANSPARENT;
            message.Handled = true;
            return;
        }
        break;
    }
    case WM_SETCURSOR:
        if (FCursor != TCursor::crDefault && LOWORD(message.LParam) == HTCLIENT &&
            reinterpret_cast<HWND>(message.WParam) == Handle()) {
            ::SetCursor(LoadCursorW(nullptr, CursorResource(FCursor)));
            message.Result = TRUE;
            message.Handled = true;
            return;
        }
        break;
    case WM_MOUSEMOVE:
        // A tooltip made now watches the control's messages from then on; this first move
        // it hears from here.
        if (!FTooltip && TooltipHandle()) {
            MSG move{Handle(), message.Msg, message.WParam, message.LParam, static_cast<DWORD>(GetMessageTime()), {}};
            SendMessageW(FTooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
        }
        TrackMouse();
        break;
    case WM_MOUSELEAVE:
        FMouseInside = false;
        MouseEnterLeave();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FClicksOnMouseUp) {
            FMouseDown = true;
            SetCapture(Handle());
            Invalidate();
        }
        break;
    case WM_LBUTTONUP:
        if (FClicksOnMouseUp && FMouseDown) {
            FMouseDown = false;
            ReleaseCapture();
            Invalidate();
            POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            RECT client;
            GetClientRect(Handle(), &client);
            if (PtInRect(&client, point))
                Click();
            message.Result = 0;
            message.Handled = true;
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        if (FMouseDown) {
            FMouseDown = false;
            Invalidate();
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
        Invalidate();
        break;
    case WM_DESTROY:
        if (FTooltip && IsWindow(FTooltip))
            DestroyWindow(FTooltip);
        FTooltip = nullptr;
        FMouseInside = false;
        break;
    default: break;
    }
    TWinControl::WndProc(message);
}

} // namespace vp
