#include "app/PanelModel.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

void Send(TPanelModel& model, StringView text, int64_t nowMs = 0)
{
    EXPECT_TRUE(model.SetVariable(u"callbackvar", text, nowMs)) << U16ToUtf8(text);
}

} // namespace

TEST(PanelState, EachCommandChangesWhatItNames)
{
    TPanelModel model;
    const TPanelState& state = model.State();
    Send(model, u"Local,True,C:\\f\\KR.PNG,198.51.100.2,Korea  Republic of,Seoul,100,100");
    Send(model, u"Fade,Local,out,0");
    TPanelCard local = state.Card(TPanelCardId::Local);
    EXPECT_EQ(local, (TPanelCard{true, u"C:\\f\\KR.PNG", u"198.51.100.2", u"Korea  Republic of", u"Seoul", 100, 100,
                         TPanelFade{true, false, 0}}));

    // The short form changes alpha and scale only, and ends the fade.
    Send(model, u"LocalA,50,80");
    local.Alpha = 50;
    local.Scale = 80;
    local.Fade = {};
    EXPECT_EQ(state.Card(TPanelCardId::Local), local);
    EXPECT_EQ(state.Card(TPanelCardId::Target), TPanelCard{});

    Send(model, u"Info_Text,Hiding,13421772");
    Send(model, u"Info_Text2,,0");
    Send(model, u"Background,C:\\V\\res\\bg.png");
    Send(model, u"Logo,C:\\V\\res\\logo.png");
    Send(model, u"Turn,Target");
    EXPECT_EQ(state.InfoText, (TPanelTextLine{u"Hiding", 0xCCCCCC}));
    EXPECT_EQ(state.InfoText2, (TPanelTextLine{u"", 0}));
    EXPECT_EQ(state.Background, u"C:\\V\\res\\bg.png");
    EXPECT_EQ(state.Logo, u"C:\\V\\res\\logo.png");
    EXPECT_EQ(state.Front, TPanelCardId::Target);

    // A card command replaces every field, an empty one included.
    Send(model, u"Local,,,,,,0,100");
    EXPECT_EQ(state.Card(TPanelCardId::Local), (TPanelCard{false, u"", u"", u"", u"", 0, 100, {}}));
}

TEST(PanelState, OnlyCommandsOnTheCallbackVariableCount)
{
    TPanelModel model;
    TPanelState before = model.State();
    EXPECT_FALSE(model.SetVariable(u"callbackVar", u"Turn,Target", 0));
    EXPECT_FALSE(model.SetVariable(u"callbackvar", u"Turn,Sideways", 0));
    EXPECT_FALSE(model.SetVariable(u"callbackvar", u"Info_Text,x,y", 0));
    EXPECT_EQ(model.State(), before);
}
