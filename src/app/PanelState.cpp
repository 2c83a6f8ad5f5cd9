#include "app/PanelState.h"

namespace vp {

namespace {

template <class... Ts>
struct TOverloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
TOverloaded(Ts...) -> TOverloaded<Ts...>;

} // namespace

void TPanelState::Apply(const TPanelCommand& command)
{
    std::visit(TOverloaded{
                   [this](const TPanelCardInfoCommand& info) {
                       TPanelCard& card = Card(info.Card);
                       card.Display = info.Display;
                       card.FlagURL = info.FlagURL;
                       card.IP = info.IP;
                       card.CountryName = info.CountryName;
                       card.City = info.City;
                       card.Alpha = info.Alpha;
                       card.Scale = info.Scale;
                       card.Fade = {};
                   },
                   [this](const TPanelCardLookCommand& look) {
                       TPanelCard& card = Card(look.Card);
                       card.Alpha = look.Alpha;
                       card.Scale = look.Scale;
                       card.Fade = {};
                   },
                   [this](const TPanelFadeCommand& fade) {
                       Card(fade.Card).Fade = {true, fade.FadeIn, fade.FadeMax};
                   },
                   [this](const TPanelTextCommand& text) {
                       (text.SecondLine ? InfoText2 : InfoText) = {text.Text, text.Color};
                   },
                   [this](const TPanelPictureCommand& picture) {
                       (picture.Logo ? Logo : Background) = picture.Path;
                   },
                   [this](const TPanelTurnCommand& turn) { Front = turn.Card; },
               },
        command);
}

} // namespace vp
