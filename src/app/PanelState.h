// What the status panel shows, as the commands left it: two cards, which one is in front, the
// two status lines and the pictures. Time plays no part here (see PanelAnimation.h).
#pragma once

#include "app/PanelCommand.h"

#include <array>

namespace vp {

struct TPanelFade {
    bool Active = false;
    bool FadeIn = false;
    int32_t Limit = 0;
    bool operator==(const TPanelFade&) const = default;
};

struct TPanelCard {
    bool Display = false;
    // A local path or a web address.
    String FlagURL;
    String IP;
    String CountryName;
    String City;
    // The last values a card command gave, 0..100. A fade moves the shown alpha from where it
    // is towards its limit and leaves Alpha as it was; the next alpha a command gives ends it.
    int32_t Alpha = 100;
    int32_t Scale = 100;
    TPanelFade Fade;
    bool operator==(const TPanelCard&) const = default;
};

struct TPanelTextLine {
    String Text;
    uint32_t Color = 0; // 0x00BBGGRR
    bool operator==(const TPanelTextLine&) const = default;
};

struct TPanelState {
    std::array<TPanelCard, kPanelCardCount> Cards;
    TPanelCardId Front = TPanelCardId::Local;
    TPanelTextLine InfoText;
    TPanelTextLine InfoText2;
    String Background;
    String Logo;

    TPanelCard& Card(TPanelCardId card) { return Cards[static_cast<size_t>(card)]; }
    const TPanelCard& Card(TPanelCardId card) const { return Cards[static_cast<size_t>(card)]; }

    void Apply(const TPanelCommand& command);
    bool operator==(const TPanelState&) const = default;
};

} // namespace vp
