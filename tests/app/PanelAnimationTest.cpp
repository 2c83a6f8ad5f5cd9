#include "app/PanelModel.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

constexpr TPanelCardId kLocal = TPanelCardId::Local;
constexpr TPanelCardId kTarget = TPanelCardId::Target;

// Both cards shown, Local in front, as the panel stands once the location is known.
TPanelModel ShownModel()
{
    TPanelModel model;
    model.SetVariable(u"callbackvar", u"Local,True,,198.51.100.2,Korea,Seoul,100,100", 0);
    model.SetVariable(u"callbackvar", u"Target,True,,203.0.113.7,United States,,100,100", 0);
    return model;
}

void ExpectRect(const TPanelCardPlacement& placement, const TRect& rect)
{
    EXPECT_DOUBLE_EQ(placement.Rect.Left, rect.Left);
    EXPECT_DOUBLE_EQ(placement.Rect.Top, rect.Top);
    EXPECT_DOUBLE_EQ(placement.Rect.Width, rect.Width());
    EXPECT_DOUBLE_EQ(placement.Rect.Height, rect.Height());
}

} // namespace

TEST(PanelAnimation, ATurnSwapsTheSlotsInItsDuration)
{
    TPanelModel model = ShownModel();
    const TPanelCardStyle& cards = model.Scene().Cards;
    EXPECT_FALSE(model.IsMoving(1000));
    EXPECT_FALSE(model.NextFrameDue(1000));
    ExpectRect(model.PlacementAt(kLocal, 1000), cards.Front);
    ExpectRect(model.PlacementAt(kTarget, 1000), cards.Back);

    model.SetVariable(u"callbackvar", u"Turn,Target", 1000);
    EXPECT_EQ(model.NextFrameDue(1000), 1016);
    EXPECT_EQ(model.NextFrameDue(1490), 1500); // the end itself is drawn
    EXPECT_EQ(model.TopCardAt(1249), kLocal);
    EXPECT_EQ(model.TopCardAt(1250), kTarget);
    // Halfway the cards meet between the slots, swerving apart.
    TPanelCardPlacement local = model.PlacementAt(kLocal, 1250), target = model.PlacementAt(kTarget, 1250);
    EXPECT_DOUBLE_EQ(local.Rect.Left, target.Rect.Left);
    EXPECT_DOUBLE_EQ(target.Rect.Top - local.Rect.Top, 2 * cards.Swing.Y);
    EXPECT_TRUE(model.IsMoving(1499));

    EXPECT_FALSE(model.IsMoving(1500));
    EXPECT_FALSE(model.NextFrameDue(1500));
    ExpectRect(model.PlacementAt(kLocal, 1500), cards.Back);
    ExpectRect(model.PlacementAt(kTarget, 1500), cards.Front);
}

TEST(PanelAnimation, ACommandInMidTurnContinuesFromWhereTheCardsAre)
{
    TPanelModel model = ShownModel();
    model.SetVariable(u"callbackvar", u"Turn,Target", 0);
    model.SetVariable(u"callbackvar", u"Turn,Local", 200);
    // 0.4 of the way out, so 0.4 of the way back (the fuzz body checks that nothing jumps).
    EXPECT_TRUE(model.IsMoving(399));
    EXPECT_FALSE(model.IsMoving(400));
    ExpectRect(model.PlacementAt(kLocal, 400), model.Scene().Cards.Front);

    // Other commands leave a turn running as it was.
    model.SetVariable(u"callbackvar", u"Turn,Target", 1000);
    model.SetVariable(u"callbackvar", u"Info_Text,x,0", 1100);
    model.SetVariable(u"callbackvar", u"Fade,Local,out,50", 1100);
    EXPECT_EQ(model.TopCardAt(1249), kLocal);
    EXPECT_EQ(model.TopCardAt(1250), kTarget);
    EXPECT_FALSE(model.IsMoving(1500));
}

TEST(PanelAnimation, FadesMoveEvenlyToTheirLimitAndStop)
{
    TPanelModel model = ShownModel();
    model.SetVariable(u"callbackvar", u"Target,True,,203.0.113.7,United States,,0,100", 0);
    model.SetVariable(u"callbackvar", u"Fade,Target,in,100", 0);
    EXPECT_DOUBLE_EQ(model.PlacementAt(kTarget, 0).Opacity, 0);
    EXPECT_DOUBLE_EQ(model.PlacementAt(kTarget, 350).Opacity, 0.5);
    EXPECT_TRUE(model.IsMoving(699));
    EXPECT_DOUBLE_EQ(model.PlacementAt(kTarget, 700).Opacity, 1);
    EXPECT_FALSE(model.NextFrameDue(700));

    // Turned back halfway through a fade out: up again from 50 at the same pace.
    model.SetVariable(u"callbackvar", u"Fade,Target,in,50", 1000);
    EXPECT_FALSE(model.IsMoving(1000)); // fading in never lowers
    model.SetVariable(u"callbackvar", u"Fade,Target,out,0", 1000);
    model.SetVariable(u"callbackvar", u"Fade,Target,in,100", 1350);
    EXPECT_DOUBLE_EQ(model.PlacementAt(kTarget, 1350).Opacity, 0.5);
    EXPECT_DOUBLE_EQ(model.PlacementAt(kTarget, 1525).Opacity, 0.75);
    EXPECT_EQ(model.NextFrameDue(1690), 1700);
    model.SetVariable(u"callbackvar", u"Fade,Target,out,80", 1700);
    EXPECT_DOUBLE_EQ(model.PlacementAt(kTarget, 1840).Opacity, 0.8);
    EXPECT_FALSE(model.IsMoving(1840));

    // An alpha a card command gives applies at once.
    model.SetVariable(u"callbackvar", u"Fade,Target,out,0", 2000);
    model.SetVariable(u"callbackvar", u"TargetA,30,100", 2100);
    EXPECT_DOUBLE_EQ(model.PlacementAt(kTarget, 2100).Opacity, 0.3);
    EXPECT_FALSE(model.IsMoving(2100));
}

TEST(PanelAnimation, HiddenCardsNeedNoFrames)
{
    TPanelModel model;
    // What the panel is sent at start: nothing on it shows yet.
    for (StringView text : {u"Local,,,,,,0,100", u"Target,,,,,,0,100", u"LocalA,100,100", u"TargetA,100,100",
             u"Fade,Target,out,0", u"Turn,Local"})
        model.SetVariable(u"callbackvar", text, 0);
    EXPECT_FALSE(model.NextFrameDue(0));
    EXPECT_DOUBLE_EQ(model.PlacementAt(kLocal, 0).Opacity, 0);

    // A card at half scale shrinks about the middle of its slot.
    model.SetVariable(u"callbackvar", u"Local,True,,ip,c,,100,50", 0);
    const TRect& front = model.Scene().Cards.Front;
    TPanelCardPlacement local = model.PlacementAt(kLocal, 0);
    EXPECT_DOUBLE_EQ(local.Rect.Width, front.Width() / 2.0);
    EXPECT_DOUBLE_EQ(local.Rect.Left + local.Rect.Width / 2, front.Left + front.Width() / 2.0);
}
