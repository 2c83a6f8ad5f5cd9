// The status panel's text commands: one text assigned to the player's variable "callbackvar"
// becomes one typed command. Fields are separated by "," with no quoting, so a city, a status
// text or a picture path may hold commas of its own; each command names the one field that
// takes them. Anything malformed gives no command.
#pragma once

#include "framework/rtl/RtlText.h"

#include <cstdint>
#include <optional>
#include <variant>

namespace vp {

enum class TPanelCardId { Local = 0, Target = 1 };
constexpr int kPanelCardCount = 2;

// Longer command texts are ignored whole.
constexpr size_t kPanelMaxCommandLength = 16384;
// Longer texts are cut; longer picture references become empty (no picture), as a cut path
// might name another file.
constexpr size_t kPanelMaxTextLength = 512;
constexpr size_t kPanelMaxPathLength = 2048;

// "Local,True,flag,IP,country,city,alpha,scale"
struct TPanelCardInfoCommand {
    TPanelCardId Card = TPanelCardId::Local;
    bool Display = false;
    String FlagURL;
    String IP;
    String CountryName;
    String City;
    int32_t Alpha = 0; // 0..100
    int32_t Scale = 0; // 0..100
    bool operator==(const TPanelCardInfoCommand&) const = default;
};

// "LocalA,alpha,scale"
struct TPanelCardLookCommand {
    TPanelCardId Card = TPanelCardId::Local;
    int32_t Alpha = 0;
    int32_t Scale = 0;
    bool operator==(const TPanelCardLookCommand&) const = default;
};

// "Fade,Target,in,100"
struct TPanelFadeCommand {
    TPanelCardId Card = TPanelCardId::Local;
    bool FadeIn = false;
    int32_t FadeMax = 0; // 0..100
    bool operator==(const TPanelFadeCommand&) const = default;
};

// "Info_Text,text,colour" and "Info_Text2,text,colour"; the colour is 0x00BBGGRR.
struct TPanelTextCommand {
    bool SecondLine = false;
    String Text;
    uint32_t Color = 0;
    bool operator==(const TPanelTextCommand&) const = default;
};

// "Background,path" and "Logo,path"
struct TPanelPictureCommand {
    bool Logo = false;
    String Path;
    bool operator==(const TPanelPictureCommand&) const = default;
};

// "Turn,Local" and "Turn,Target"
struct TPanelTurnCommand {
    TPanelCardId Card = TPanelCardId::Local;
    bool operator==(const TPanelTurnCommand&) const = default;
};

using TPanelCommand = std::variant<TPanelCardInfoCommand, TPanelCardLookCommand, TPanelFadeCommand,
    TPanelTextCommand, TPanelPictureCommand, TPanelTurnCommand>;

// Command names and card names compare without regard to case; numbers are decimal texts,
// blanks around them allowed. Alpha, scale and fade limits outside 0..100 are clamped; a
// colour must lie in 0..16777215.
std::optional<TPanelCommand> ParsePanelCommand(StringView text);

// The card's name as the commands spell it.
StringView PanelCardName(TPanelCardId card);

} // namespace vp
