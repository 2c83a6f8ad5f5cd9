#include "framework/ui/SkinGauge.h"

#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

constexpr UINT_PTR kAnimationTimer = 1;

} // namespace

const TClassInfo& TspSkinGauge::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspSkinGauge, TspSkinControl>(u"TspSkinGauge")
                                       .Other(u"MinValue", u"Integer")
                                       .Other(u"MaxValue", u"Integer")
                                       .Other(u"Value", u"Integer")
                                       .Other(u"ProgressAnimation", u"Boolean")
                                       .Other(u"ProgressAnimationPause", u"Integer")
                                       .Build();
    return info;
}

TspSkinGauge::TspSkinGauge(TComponent* aOwner) : TspSkinControl(aOwner, skin::kGauge)
{
    FWidth = 150;
    FHeight = 16;
    FClicksOnMouseUp = false;
}

void TspSkinGauge::SetMinValue(int value)
{
    FMinValue = value;
    Invalidate();
}

void TspSkinGauge::SetMaxValue(int value)
{
    FMaxValue = value;
    Invalidate();
}

void TspSkinGauge::SetValue(int value)
{
    value = std::clamp(value, FMinValue, std::max(FMinValue, FMaxValue));
    if (value == FValue)
        return;
    FValue = value;
    Invalidate();
}

void TspSkinGauge::SetProgressAnimation(bool value)
{
    if (value == FAnimation)
        return;
    FAnimation = value;
    FStep = 0;
    UpdateTimer();
    Invalidate();
}

void TspSkinGauge::UpdateTimer()
{
    const bool wanted = FAnimation && HandleAllocated() && IsWindowVisible(Handle());
    if (wanted == FTimerRunning)
        return;
    if (wanted)
        SetTimer(Handle(), kAnimationTimer, kStepMs, nullptr);
    else if (HandleAllocated())
        KillTimer(Handle(), kAnimationTimer);
    FTimerRunning = wanted;
}

void TspSkinGauge::Tick()
{
    if (!IsWindowVisible(Handle())) {
        // Hidden (itself or its window): no timer until it is painted again.
        UpdateTimer();
        return;
    }
    if (FStep < kMarqueeSteps) {
        ++FStep;
        if (FStep == kMarqueeSteps && FPause > 0)
            SetTimer(Handle(), kAnimationTimer, static_cast<UINT>(FPause), nullptr);
    } else {
        FStep = 0;
        SetTimer(Handle(), kAnimationTimer, kStepMs, nullptr);
    }
    Invalidate();
}

void TspSkinGauge::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinState state = Enabled() ? TSkinState::Normal : TSkinState::Disabled;
    const TSkinElement& track = Element();
    painter.DrawElement(dc, client, track, state);
    RECT padding = painter.Padding(track);
    RECT inner{client.left + padding.left, client.top + padding.top, client.right - padding.right,
        client.bottom - padding.bottom};
    const int width = inner.right - inner.left;
    RECT bar = inner;
    if (FAnimation) {
        // A quarter of the track runs in from the left and out at the right; nothing shows
        // while it rests.
        if (FStep >= kMarqueeSteps)
            return;
        const int length = std::max(1, width / 4);
        const int left = inner.left - length + (width + length) * FStep / kMarqueeSteps;
        bar = RECT{std::max<LONG>(inner.left, left), inner.top, std::min<LONG>(inner.right, left + length), inner.bottom};
    } else {
        const long long span = std::max(1, FMaxValue - FMinValue);
        bar.right = inner.left + static_cast<LONG>(width * static_cast<long long>(FValue - FMinValue) / span);
    }
    if (bar.right > bar.left)
        painter.DrawElement(dc, bar, Element(u".Bar"), state);
    // A painted gauge can be seen: its animation runs again.
    if (FAnimation && !FTimerRunning)
        UpdateTimer();
}

void TspSkinGauge::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_TIMER:
        if (message.WParam == kAnimationTimer) {
            Tick();
            message.Handled = true;
            return;
        }
        break;
    case WM_SHOWWINDOW:
        TspSkinControl::WndProc(message);
        if (!message.WParam && FTimerRunning) {
            KillTimer(Handle(), kAnimationTimer);
            FTimerRunning = false;
        } else if (message.WParam) {
            PostMessageW(Handle(), WM_VP_UPDATE, 0, 0);
        }
        return;
    case WM_VP_UPDATE:
        UpdateTimer();
        message.Handled = true;
        return;
    case WM_DESTROY:
        KillTimer(Handle(), kAnimationTimer);
        FTimerRunning = false;
        break;
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
