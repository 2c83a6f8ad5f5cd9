#include "framework/ui/Timers.h"

#include "framework/ui/Application.h"

namespace vp {

const TClassInfo& TTimer::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTimer, TComponent>(u"TTimer")
                                       .Other(u"Enabled", u"Boolean")
                                       .Other(u"Interval", u"Cardinal")
                                       .Other(u"OnTimer", u"TNotifyEvent")
                                       .Build();
    return info;
}

TTimer::TTimer(TComponent* aOwner) : TComponent(aOwner)
{
}

TTimer::~TTimer()
{
    if (FId && ApplicationExists())
        Application().UnregisterTimer(FId);
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value)
{
    if (value == FInterval)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::Timer()
{
    if (FEnabled && OnTimer)
        OnTimer(this);
}

void TTimer::UpdateTimer()
{
    if (FId) {
        Application().UnregisterTimer(FId);
        FId = 0;
    }
    // A timer created in a window description starts once the window has loaded; until
    // then it needs no application (the translator's tool builds windows without one).
    if (!FEnabled || FInterval == 0 || IsLoading())
        return;
    TApplication& app = Application();
    FId = app.RegisterTimer(this);
    SetTimer(app.UtilityWindow(), FId, FInterval, nullptr);
}

} // namespace vp
