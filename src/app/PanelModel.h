// The portable heart of the status panel's player: it takes the player's variable
// assignments, keeps what the panel shows and how it moves, and answers where a click lands.
// The window that draws it asks PlacementAt for each frame and NextFrameDue for when to draw
// again; while nothing moves it needs no timer.
#pragma once

#include "app/PanelAnimation.h"

namespace vp {

class TPanelModel {
public:
    explicit TPanelModel(TPanelScene scene = DefaultPanelScene());

    const TPanelScene& Scene() const { return FAnimation.Scene(); }
    void SetScene(TPanelScene scene) { FAnimation.SetScene(std::move(scene)); }
    const TPanelState& State() const { return FState; }

    // The player's SetVariable. Only "callbackvar" carries commands; a text that is no
    // command changes nothing. True when the panel took a command and needs drawing.
    bool SetVariable(StringView name, StringView value, int64_t nowMs);

    TPanelCardPlacement PlacementAt(TPanelCardId card, int64_t t) const
    {
        return FAnimation.PlacementAt(FState, card, t);
    }
    TPanelCardId TopCardAt(int64_t t) const { return FAnimation.TopCardAt(t); }
    bool IsMoving(int64_t t) const { return FAnimation.IsMoving(FState, t); }
    std::optional<int64_t> NextFrameDue(int64_t t) const { return FAnimation.NextFrameDue(FState, t); }

    // The argument of the "CMD" command that a click at (x, y) raises, or "".
    StringView HotSpotAt(int32_t x, int32_t y) const { return PanelHotSpotAt(Scene(), x, y); }

private:
    TPanelState FState;
    TPanelAnimation FAnimation;
};

} // namespace vp
