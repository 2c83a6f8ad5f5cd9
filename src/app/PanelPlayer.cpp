#include "app/PanelPlayer.h"

#include <windowsx.h>

#include "framework/rtl/DateTime.h"

#include <algorithm>
#include <cmath>

namespace vp {

namespace {

constexpr UINT_PTR kFrameTimerId = 1;
constexpr StringView kCallbackVar = u"callbackvar";
// A frame is never put off longer than this, in case the clock jumps.
constexpr int64_t kLongestFrameDelayMs = 1000;

} // namespace

const TClassInfo& TPanelPlayer::StaticClassInfo()
{
    // Nothing published: the scene's path is no text to translate.
    static const TClassInfo info = TClassBuilder<TPanelPlayer, TWinControl>(u"TPanelPlayer").Build();
    return info;
}

TPanelPlayer::TPanelPlayer(TComponent* aOwner) : TWinControl(aOwner), FFlags([this] { Repaint(); }) { }

TPanelPlayer::~TPanelPlayer()
{
    // The window goes while the model, the painter and the flags still exist.
    DestroyHandle();
}

void TPanelPlayer::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = u"TPanelPlayer";
    // No double clicks: two quick clicks on a hot spot are two clicks.
    params.ClassStyle = 0;
    params.Background = nullptr;
}

void TPanelPlayer::CreateWnd()
{
    // Commands may have come before the window: their movement goes on from here.
    ScheduleFrame();
}

void TPanelPlayer::SetMovie(const String& value)
{
    FMovie = value;
    TPanelScene scene;
    FMovieLoaded = LoadPanelScene(value, scene);
    FModel.SetScene(std::move(scene));
    FPainter.Reset();
    Repaint();
    ScheduleFrame();
}

void TPanelPlayer::SetQuality(int value)
{
    FQuality = value;
    FPainter.SetHighQuality(value != 0);
    Repaint();
}

void TPanelPlayer::SetVariable(const String& name, const String& value)
{
    if (name == kCallbackVar)
        FCallbackVar = value;
    if (!FModel.SetVariable(name, value, NowMs()))
        return;
    RequestFlags();
    Repaint();
    ScheduleFrame();
}

String TPanelPlayer::GetVariable(const String& name) const
{
    return name == kCallbackVar ? FCallbackVar : String();
}

int64_t TPanelPlayer::NowMs()
{
    uint32_t tick = GetTickCount32();
    if (!FClockStarted) {
        FClockStarted = true;
        FLastTick = tick;
    }
    FElapsedMs += static_cast<uint32_t>(tick - FLastTick); // wraps around with the counter
    FLastTick = tick;
    return FElapsedMs;
}

void TPanelPlayer::RequestFlags()
{
    int64_t now = NowMs();
    for (const TPanelCard& card : FModel.State().Cards)
        FFlags.Request(card.FlagURL, now);
}

void TPanelPlayer::ScheduleFrame()
{
    if (!HandleAllocated()) {
        FFrameTimerArmed = false;
        return;
    }
    int64_t now = NowMs();
    std::optional<int64_t> due = FModel.NextFrameDue(now);
    if (!due) {
        if (FFrameTimerArmed)
            KillTimer(Handle(), kFrameTimerId);
        FFrameTimerArmed = false;
        return;
    }
    int64_t delay = std::clamp<int64_t>(*due - now, USER_TIMER_MINIMUM, kLongestFrameDelayMs);
    FFrameTimerArmed = SetTimer(Handle(), kFrameTimerId, static_cast<UINT>(delay), nullptr) != 0;
}

void TPanelPlayer::Repaint()
{
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TPanelPlayer::DpiChanged(UINT dpi)
{
    TWinControl::DpiChanged(dpi);
    FPainter.Reset();
    Repaint();
}

double TPanelPlayer::SceneScale() const
{
    RECT client{};
    if (!HandleAllocated() || !GetClientRect(const_cast<TPanelPlayer*>(this)->Handle(), &client))
        return 0;
    const TPanelScene& scene = FModel.Scene();
    return std::min(static_cast<double>(client.right) / std::max(scene.Width, 1),
        static_cast<double>(client.bottom) / std::max(scene.Height, 1));
}

StringView TPanelPlayer::HotSpotAtPixel(int x, int y) const
{
    double scale = SceneScale();
    if (scale <= 0)
        return u"";
    return FModel.HotSpotAt(static_cast<int32_t>(std::floor(x / scale)), static_cast<int32_t>(std::floor(y / scale)));
}

void TPanelPlayer::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT client{};
    GetClientRect(Handle(), &client);
    if (HDC frame = FPainter.Render(FModel, FFlags, NowMs(), client.right, client.bottom)) {
        const RECT& r = paint.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, frame, r.left, r.top, SRCCOPY);
    } else {
        PaintPanelPlain(dc, FModel, client.right, client.bottom, CurrentDpi());
    }
    EndPaint(Handle(), &paint);
}

void TPanelPlayer::PaintTo(HDC dc)
{
    RECT client{};
    if (HandleAllocated())
        GetClientRect(Handle(), &client);
    else
        client = RECT{0, 0, ScaleValue(Width()), ScaleValue(Height())};
    if (HDC frame = FPainter.Render(FModel, FFlags, NowMs(), client.right, client.bottom))
        BitBlt(dc, 0, 0, client.right, client.bottom, frame, 0, 0, SRCCOPY);
    else
        PaintPanelPlain(dc, FModel, client.right, client.bottom, CurrentDpi());
}

bool TPanelPlayer::SetHotSpotCursor()
{
    POINT point;
    if (!GetCursorPos(&point) || !ScreenToClient(Handle(), &point))
        return false;
    SetCursor(LoadCursorW(nullptr, HotSpotAtPixel(point.x, point.y).empty() ? IDC_ARROW : IDC_HAND));
    return true;
}

void TPanelPlayer::MouseDown(LPARAM lParam)
{
    FPressedHotSpot = String(HotSpotAtPixel(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    if (!FPressedHotSpot.empty())
        SetCapture(Handle());
}

void TPanelPlayer::MouseUp(LPARAM lParam)
{
    String pressed = std::move(FPressedHotSpot);
    FPressedHotSpot.clear();
    if (GetCapture() == Handle())
        ReleaseCapture();
    String spot(HotSpotAtPixel(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    // A click: pressed and released on the same hot spot.
    if (spot.empty() || spot != pressed)
        return;
    TFSCommandEvent handler = OnFSCommand; // the handler may replace itself
    if (handler)
        handler(u"CMD", spot);
}

void TPanelPlayer::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        // Every pixel comes from the frame.
        message.Result = 1;
        message.Handled = true;
        return;
    case WM_PAINT:
        Paint();
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(message.WParam));
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_TIMER:
        if (message.WParam != kFrameTimerId)
            break;
        Repaint();
        ScheduleFrame();
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_SETCURSOR:
        if (LOWORD(message.LParam) == HTCLIENT && SetHotSpotCursor()) {
            message.Result = TRUE;
            message.Handled = true;
            return;
        }
        break;
    case WM_LBUTTONDOWN: MouseDown(message.LParam); break;
    case WM_LBUTTONUP:
        // Answered here: the command's handler may have freed the window's owner.
        message.Result = 0;
        message.Handled = true;
        MouseUp(message.LParam);
        return;
    case WM_CAPTURECHANGED: FPressedHotSpot.clear(); break;
    case WM_SIZE: Repaint(); break;
    default: break;
    }
    TWinControl::WndProc(message);
}

} // namespace vp
