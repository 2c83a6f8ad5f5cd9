#include "framework/ui/SkinScrollBar.h"

#include <windowsx.h>

#include <algorithm>

namespace vp {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 350;
constexpr UINT kRepeatMs = 50;

} // namespace

const TClassInfo& TspSkinScrollBar::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspSkinScrollBar, TspSkinControl>(u"TspSkinScrollBar")
                                       .Other(u"Kind", u"TScrollBarKind")
                                       .Other(u"Min", u"Integer")
                                       .Other(u"Max", u"Integer")
                                       .Other(u"PageSize", u"Integer")
                                       .Other(u"Position", u"Integer")
                                       .Other(u"SmallChange", u"Integer")
                                       .Other(u"LargeChange", u"Integer")
                                       .Other(u"OnChange", u"TNotifyEvent")
                                       .Build();
    return info;
}

TspSkinScrollBar::TspSkinScrollBar(TComponent* aOwner) : TspSkinControl(aOwner, u"ScrollBar")
{
    FWidth = 14;
    FHeight = 121;
    FClicksOnMouseUp = false;
}

void TspSkinScrollBar::SetKind(TScrollBarKind value)
{
    FKind = value;
    Invalidate();
}

void TspSkinScrollBar::SetRange(int min, int max, int pageSize)
{
    FRange = TScrollRange{min, std::max(min, max), std::max(0, pageSize)};
    FPosition = FRange.Clamp(FPosition);
    Invalidate();
}

void TspSkinScrollBar::SetPosition(int value)
{
    value = FRange.Clamp(value);
    if (value == FPosition)
        return;
    FPosition = value;
    Invalidate();
}

void TspSkinScrollBar::UserPosition(int value)
{
    value = FRange.Clamp(value);
    if (value == FPosition)
        return;
    FPosition = value;
    Invalidate();
    if (FTarget)
        FTarget->ScrollBarChanged(this);
    if (OnChange)
        OnChange(this);
}

void TspSkinScrollBar::Scroll(int delta)
{
    UserPosition(FPosition + delta);
}

int TspSkinScrollBar::Along(POINT point) const
{
    return FKind == TScrollBarKind::sbVertical ? point.y : point.x;
}

TspSkinScrollBar::TLayout TspSkinScrollBar::Layout() const
{
    TLayout layout;
    RECT client{0, 0, 0, 0};
    if (HandleAllocated())
        GetClientRect(const_cast<TspSkinScrollBar*>(this)->Handle(), &client);
    const bool vertical = FKind == TScrollBarKind::sbVertical;
    const int length = vertical ? client.bottom : client.right;
    const int thickness = vertical ? client.right : client.bottom;
    const int arrow = std::min(thickness, length / 2);
    const int trackStart = arrow, trackEnd = length - arrow;
    layout.TrackLength = std::max(0, trackEnd - trackStart);
    layout.ThumbPlace = ThumbInTrack(FRange, FPosition, layout.TrackLength, Painter().Scale(Skin().Metrics().ScrollBarMinThumb));
    auto span = [&](int from, int to) {
        return vertical ? RECT{0, from, thickness, to} : RECT{from, 0, to, thickness};
    };
    layout.Back = span(0, trackStart);
    layout.Forward = span(trackEnd, length);
    layout.Track = span(trackStart, trackEnd);
    if (layout.ThumbPlace.Length > 0) {
        int start = trackStart + layout.ThumbPlace.Start;
        layout.Thumb = span(start, start + layout.ThumbPlace.Length);
    }
    return layout;
}

TspSkinScrollBar::TPart TspSkinScrollBar::PartAt(POINT point) const
{
    TLayout layout = Layout();
    if (PtInRect(&layout.Back, point))
        return TPart::ArrowBack;
    if (PtInRect(&layout.Forward, point))
        return TPart::ArrowForward;
    if (PtInRect(&layout.Thumb, point))
        return TPart::Thumb;
    if (!PtInRect(&layout.Track, point) || layout.ThumbPlace.Length == 0)
        return TPart::None;
    const int thumbStart = Along(POINT{layout.Thumb.left, layout.Thumb.top});
    return Along(point) < thumbStart ? TPart::TrackBack : TPart::TrackForward;
}

bool TspSkinScrollBar::Repeat()
{
    const int page = LargeChange > 0 ? LargeChange : std::max(1, FRange.PageSize);
    switch (FPressedPart) {
    case TPart::ArrowBack: Scroll(-std::max(1, SmallChange)); return true;
    case TPart::ArrowForward: Scroll(std::max(1, SmallChange)); return true;
    case TPart::TrackBack:
    case TPart::TrackForward:
        // Pages until the thumb reaches the pointer.
        if (PartAt(FPressPoint) != FPressedPart)
            return false;
        Scroll(FPressedPart == TPart::TrackBack ? -page : page);
        return true;
    case TPart::None:
    case TPart::Thumb: break;
    }
    return false;
}

void TspSkinScrollBar::MouseEnterLeave()
{
    if (!MouseInControl())
        FHotPart = TPart::None;
    Invalidate();
}

void TspSkinScrollBar::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const bool vertical = FKind == TScrollBarKind::sbVertical;
    const bool active = Enabled() && FRange.Scrollable();
    auto stateOf = [&](TPart part) {
        if (!active)
            return TSkinState::Disabled;
        if (FPressedPart == part)
            return TSkinState::Pressed;
        return FHotPart == part ? TSkinState::Hot : TSkinState::Normal;
    };
    TLayout layout = Layout();
    painter.DrawElement(dc, client, Element(u".Track"), Enabled() ? TSkinState::Normal : TSkinState::Disabled);
    const TSkinElement& back = Element(vertical ? u".Arrow.Up" : u".Arrow.Left");
    const TSkinElement& forward = Element(vertical ? u".Arrow.Down" : u".Arrow.Right");
    painter.DrawElement(dc, layout.Back, back, stateOf(TPart::ArrowBack));
    painter.DrawElementGlyph(dc, layout.Back, back, stateOf(TPart::ArrowBack));
    painter.DrawElement(dc, layout.Forward, forward, stateOf(TPart::ArrowForward));
    painter.DrawElementGlyph(dc, layout.Forward, forward, stateOf(TPart::ArrowForward));
    if (layout.ThumbPlace.Length > 0 && active) {
        // The thumb's padding narrows it across the bar (written for a vertical bar).
        const TSkinElement& thumb = Element(u".Thumb");
        RECT padding = painter.Padding(thumb);
        RECT place = layout.Thumb;
        if (vertical) {
            place.left += padding.left;
            place.right -= padding.right;
        } else {
            place.top += padding.left;
            place.bottom -= padding.right;
        }
        painter.DrawElement(dc, place, thumb, stateOf(TPart::Thumb));
    }
}

void TspSkinScrollBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        if (FPressedPart == TPart::Thumb) {
            TLayout layout = Layout();
            int start = Along(point) - FDragOffset - Along(POINT{layout.Track.left, layout.Track.top});
            UserPosition(PositionFromThumb(FRange, start, layout.TrackLength, layout.ThumbPlace.Length));
        } else if (FPressedPart != TPart::None) {
            FPressPoint = point;
        }
        TPart hot = PartAt(point);
        if (hot != FHotPart) {
            FHotPart = hot;
            Invalidate();
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        FPressedPart = PartAt(point);
        FPressPoint = point;
        if (FPressedPart == TPart::None)
            break;
        SetCapture(Handle());
        if (FPressedPart == TPart::Thumb) {
            TLayout layout = Layout();
            FDragOffset = Along(point) - Along(POINT{layout.Thumb.left, layout.Thumb.top});
        } else {
            Repeat();
            SetTimer(Handle(), kRepeatTimer, kFirstRepeatMs, nullptr);
        }
        Invalidate();
        message.Result = 0;
        message.Handled = true;
        return;
    }
    case WM_TIMER:
        if (message.WParam == kRepeatTimer) {
            if (FPressedPart == TPart::None || !Repeat())
                KillTimer(Handle(), kRepeatTimer);
            else
                SetTimer(Handle(), kRepeatTimer, kRepeatMs, nullptr);
            message.Handled = true;
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (FPressedPart != TPart::None) {
            ReleaseCapture(); // WM_CAPTURECHANGED ends the press
            message.Result = 0;
            message.Handled = true;
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        if (FPressedPart != TPart::None) {
            FPressedPart = TPart::None;
            KillTimer(Handle(), kRepeatTimer);
            Invalidate();
        }
        break;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        const int notches = -GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
        Scroll(notches * static_cast<int>(std::min<UINT>(lines, 10)) * std::max(1, SmallChange));
        message.Result = 0;
        message.Handled = true;
        return;
    }
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
