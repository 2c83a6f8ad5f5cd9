// TspSkinGauge: a progress bar drawn from the skin ("Gauge" for the track, ".Bar" for the
// bar): Value within MinValue..MaxValue, or, while ProgressAnimation is on, a bar that runs
// across the track and rests ProgressAnimationPause milliseconds before it runs again. Its
// timer runs only while it animates and can be seen.
#pragma once

#include "framework/ui/SkinControl.h"

#include <algorithm>

namespace vp {

class TspSkinGauge : public TspSkinControl {
    VP_CLASS(TspSkinGauge)
public:
    explicit TspSkinGauge(TComponent* aOwner);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Value() const { return FValue; }
    void SetValue(int value);

    bool ProgressAnimation() const { return FAnimation; }
    void SetProgressAnimation(bool value);
    int ProgressAnimationPause() const { return FPause; }
    void SetProgressAnimationPause(int value) { FPause = std::max(0, value); }
    void StartProgressAnimation() { SetProgressAnimation(true); }
    void StopProgressAnimation() { SetProgressAnimation(false); }
    // The animation's timer is running (tests look).
    bool AnimationTimerRunning() const { return FTimerRunning; }
    // Where the running bar is: step 0 .. kMarqueeSteps, then the pause.
    int AnimationStep() const { return FStep; }

    static constexpr int kMarqueeSteps = 60;
    static constexpr unsigned kStepMs = 30;

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;

private:
    void UpdateTimer();
    void Tick();

    int FMinValue = 0;
    int FMaxValue = 100;
    int FValue = 0;
    bool FAnimation = false;
    int FPause = 1000;
    int FStep = 0;
    bool FTimerRunning = false;
};

} // namespace vp
