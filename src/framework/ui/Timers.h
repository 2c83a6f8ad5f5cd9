// TTimer: calls OnTimer every Interval milliseconds on the user-interface thread while
// enabled. The call goes through the general error report.
#pragma once

#include "framework/rtl/Component.h"

namespace vp {

class TTimer : public TComponent {
    VP_CLASS(TTimer)
public:
    explicit TTimer(TComponent* aOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);
    TNotifyEvent OnTimer;

    // What a tick does; the application calls it.
    void Timer();
    void Loaded() override;

private:
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    uintptr_t FId = 0;
};

} // namespace vp
