// The panel's movement as a function of time: the caller passes the time in milliseconds of
// its own clock, and nothing here reads a clock or keeps a timer. A command starts each
// movement from the value shown at that moment, so a command in mid-movement continues it
// smoothly instead of starting over.
//
// A turn swaps the two cards between the front slot and the back slot: each slides along
// the way between the slots, swerving aside halfway, and the card coming forward is drawn
// over the other from the middle of the way on. A fade moves a card's alpha at an even pace
// towards its limit. Alpha and scale that a card command gives apply at once.
#pragma once

#include "app/PanelCommand.h"
#include "app/PanelScene.h"
#include "app/PanelState.h"

#include <array>
#include <optional>

namespace vp {

struct TPanelRectF {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

// Where and how strongly a card is drawn: its front-slot drawing scaled into Rect.
struct TPanelCardPlacement {
    TPanelRectF Rect;
    double Opacity = 0; // 0..1
    bool Visible() const { return Opacity > 0 && Rect.Width > 0 && Rect.Height > 0; }
};

// A value moving at an even pace from where it was towards a target.
class TPanelRamp {
public:
    explicit TPanelRamp(double value = 0) : FFrom(value), FTo(value) { }

    void Jump(double value);
    // From the value shown at nowMs towards target, taking msPerUnit for each unit of way.
    void MoveTo(double target, double msPerUnit, int64_t nowMs);
    double ValueAt(int64_t t) const;
    double Target() const { return FTo; }
    // When the target is reached (a jump has arrived at any time).
    int64_t EndMs() const;

private:
    double FFrom;
    double FTo;
    double FMsPerUnit = 0;
    int64_t FStartMs = 0;
};

class TPanelAnimation {
public:
    explicit TPanelAnimation(TPanelScene scene);

    const TPanelScene& Scene() const { return FScene; }
    // New timings and slots apply from the next command on.
    void SetScene(TPanelScene scene) { FScene = std::move(scene); }

    // Follows a command at nowMs.
    void Follow(const TPanelCommand& command, int64_t nowMs);

    // 0 while Local is in front, 1 while Target is.
    double TurnAt(int64_t t) const { return FTurn.ValueAt(t); }
    // 0..100
    double AlphaAt(TPanelCardId card, int64_t t) const { return FAlpha[static_cast<size_t>(card)].ValueAt(t); }

    TPanelCardPlacement PlacementAt(const TPanelState& state, TPanelCardId card, int64_t t) const;
    // The card drawn over the other.
    TPanelCardId TopCardAt(int64_t t) const;

    // Whether anything that shows changes after t (a hidden card's fade does not count).
    bool IsMoving(const TPanelState& state, int64_t t) const;
    // When to draw the next frame: one frame time after t, or earlier where a movement
    // ends, so that its end is drawn; nothing while nothing moves.
    std::optional<int64_t> NextFrameDue(const TPanelState& state, int64_t t) const;

private:
    bool Shows(const TPanelState& state, TPanelCardId card) const;

    TPanelScene FScene;
    TPanelRamp FTurn{0};
    std::array<TPanelRamp, kPanelCardCount> FAlpha{TPanelRamp(100), TPanelRamp(100)};
};

} // namespace vp
