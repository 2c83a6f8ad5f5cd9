#include "framework/ui/AcceleratorText.h"
#include "framework/ui/SkinFrameLayout.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

using enum TCaptionButton;

// The main window's frame: system menu, minimise and close, 474 x 236 client at dpi.
TSkinFrameParams MainWindowFrame(unsigned dpi)
{
    TSkinFrameParams params;
    params.Metrics.CaptionHeight = 32;
    params.Metrics.BorderWidth = 1;
    params.Metrics.CaptionButtonWidth = 40;
    params.Metrics.CaptionButtonHeight = 32;
    params.Metrics.CaptionIconSize = 16;
    params.CaptionPadding = TSkinMargins{10, 0, 10, 0};
    params.Dpi = dpi;
    params.Buttons.Include(Close).Include(Minimize).Include(SysMenu);
    TSkinFrameLayout sizing(params);
    params.Width = sizing.WindowWidth(ScaleDesigned(474, dpi));
    params.Height = sizing.WindowHeight(ScaleDesigned(236, dpi));
    return params;
}

} // namespace

TEST(SkinFrameLayout, PartsScaleWithTheDpiAndButtonsStandFromTheRight)
{
    TSkinFrameLayout normal(MainWindowFrame(96));
    EXPECT_EQ(normal.BorderWidth(), 1);
    EXPECT_EQ(normal.CaptionHeight(), 32);
    EXPECT_EQ(normal.ClientRect(), (TRect{1, 33, 475, 269}));
    EXPECT_EQ(normal.ButtonRect(Close), (TRect{435, 1, 475, 33}));
    EXPECT_EQ(normal.ButtonRect(Minimize), (TRect{395, 1, 435, 33}));
    EXPECT_EQ(normal.ButtonRect(SysMenu), (TRect{355, 1, 395, 33}));
    EXPECT_EQ(normal.ButtonRect(Maximize).Width(), 0); // not asked for
    EXPECT_EQ(normal.IconRect(), (TRect{11, 9, 27, 25}));
    // The painter indents the title by the padding again: 6 pixels after the icon.
    EXPECT_EQ(normal.TitleRect(), (TRect{23, 1, 355, 33}));

    TSkinFrameLayout large(MainWindowFrame(144));
    EXPECT_EQ(large.CaptionHeight(), 48); // one and a half times
    EXPECT_EQ(large.BorderWidth(), 2); // 1.5 rounds up
    EXPECT_EQ(large.ClientRect().Width(), 711);
    EXPECT_EQ(large.ClientRect().Height(), 354);
    EXPECT_EQ(large.ButtonRect(Close).Width(), 60);
    EXPECT_EQ(large.IconRect().Width(), 24);
    EXPECT_EQ(large.Insets(), (TRect{2, 50, 2, 2}));
}

TEST(SkinFrameLayout, HitTestFindsButtonsIconCaptionClientAndBorder)
{
    TSkinFrameLayout layout(MainWindowFrame(96));
    EXPECT_EQ(layout.HitTest(450, 10), (TFrameHitTest{TFrameHit::Button, Close}));
    EXPECT_EQ(layout.HitTest(400, 30), (TFrameHitTest{TFrameHit::Button, Minimize}));
    EXPECT_EQ(layout.HitTest(360, 2), (TFrameHitTest{TFrameHit::Button, SysMenu}));
    EXPECT_EQ(layout.HitTest(15, 15).Hit, TFrameHit::Icon);
    EXPECT_EQ(layout.HitTest(200, 15).Hit, TFrameHit::Caption);
    EXPECT_EQ(layout.HitTest(200, 0).Hit, TFrameHit::Caption); // the border above the caption drags too
    EXPECT_EQ(layout.HitTest(200, 100).Hit, TFrameHit::Client);
    // Not sizeable: the edges are plain border.
    EXPECT_EQ(layout.HitTest(0, 100).Hit, TFrameHit::Border);
    EXPECT_EQ(layout.HitTest(200, 269).Hit, TFrameHit::Border);
    EXPECT_EQ(layout.HitTest(-1, 100).Hit, TFrameHit::Nowhere);
    EXPECT_EQ(layout.HitTest(476, 100).Hit, TFrameHit::Nowhere);
}

TEST(SkinFrameLayout, SizeableEdgesAndCornersReachInButNotWhenMaximisedAndOnlySidewaysWhenRolledUp)
{
    TSkinFrameParams params = MainWindowFrame(96);
    params.Sizeable = true;
    TSkinFrameLayout layout(params);
    EXPECT_EQ(layout.HitTest(3, 100).Hit, TFrameHit::Left); // 4 pixels reach in, past the 1-pixel border
    EXPECT_EQ(layout.HitTest(4, 100).Hit, TFrameHit::Client);
    EXPECT_EQ(layout.HitTest(474, 100).Hit, TFrameHit::Right);
    EXPECT_EQ(layout.HitTest(200, 269).Hit, TFrameHit::Bottom);
    EXPECT_EQ(layout.HitTest(200, 0).Hit, TFrameHit::Top);
    EXPECT_EQ(layout.HitTest(10, 0).Hit, TFrameHit::TopLeft); // corners reach along the edges
    EXPECT_EQ(layout.HitTest(0, 10).Hit, TFrameHit::TopLeft);
    EXPECT_EQ(layout.HitTest(474, 260).Hit, TFrameHit::BottomRight);
    EXPECT_EQ(layout.HitTest(465, 269).Hit, TFrameHit::BottomRight);
    EXPECT_EQ(layout.HitTest(475, 0).Hit, TFrameHit::TopRight);

    params.Maximized = true;
    EXPECT_EQ(TSkinFrameLayout(params).HitTest(0, 100).Hit, TFrameHit::Border);
    EXPECT_EQ(TSkinFrameLayout(params).HitTest(450, 5), (TFrameHitTest{TFrameHit::Button, Close}));

    params.Maximized = false;
    params.RolledUp = true;
    params.Height = 34;
    TSkinFrameLayout rolled(params);
    EXPECT_EQ(rolled.HitTest(200, 0).Hit, TFrameHit::Caption);
    EXPECT_EQ(rolled.HitTest(200, 33).Hit, TFrameHit::Border);
    EXPECT_EQ(rolled.HitTest(0, 0).Hit, TFrameHit::Left);
    EXPECT_EQ(rolled.ClientRect().Height(), 0);
}

TEST(SkinFrameLayout, LowButtonsAreCentredSpacedAndTheMinimumKeepsThemWithRoomForTheTitle)
{
    TSkinFrameParams params = MainWindowFrame(96);
    params.Metrics.CaptionButtonHeight = 20;
    params.Metrics.CaptionButtonSpacing = 2;
    TSkinFrameLayout layout(params);
    EXPECT_EQ(layout.ButtonRect(Close), (TRect{435, 7, 475, 27}));
    EXPECT_EQ(layout.ButtonRect(Minimize), (TRect{393, 7, 433, 27}));
    EXPECT_EQ(layout.MinimumWidth(), 27 + 8 + 124 + 1); // icon, title room, 3 buttons and 2 gaps, border
    EXPECT_EQ(layout.MinimumHeight(), 34);
    // No icon, buttons or border: the title starts at the edge, the caption is all there is.
    params.Buttons = TCaptionButtonSet();
    params.Icon = false;
    params.Metrics.BorderWidth = 0;
    TSkinFrameLayout bare(params);
    EXPECT_EQ(bare.TitleRect().Left, 0);
    EXPECT_EQ(bare.IconRect().Width(), 0);
    EXPECT_EQ(bare.MinimumWidth(), 8);
    EXPECT_EQ(bare.Insets(), (TRect{0, 32, 0, 0}));
}

TEST(SkinFrameLayout, DesignedLengthsRoundLikeTheWin32Side)
{
    EXPECT_EQ(ScaleDesigned(1, 144), 2);
    EXPECT_EQ(ScaleDesigned(3, 120), 4); // 3.75
    EXPECT_EQ(ScaleDesigned(75, 144), 113); // 112.5
    EXPECT_EQ(ScaleDesigned(-75, 144), -113);
    EXPECT_EQ(ScaleDesigned(0, 192), 0);
}

TEST(AcceleratorText, TheMarkedCharacterAndTheCaptionWithoutMarks)
{
    EXPECT_EQ(AcceleratorChar(u"&Open..."), u'O');
    EXPECT_EQ(AcceleratorChar(u"Choose &ip Country"), u'I');
    EXPECT_EQ(AcceleratorChar(u"Save && &Exit"), u'E');
    EXPECT_EQ(AcceleratorChar(u"Save && Exit"), 0);
    EXPECT_EQ(AcceleratorChar(u"Trailing&"), 0);
    EXPECT_EQ(AcceleratorChar(u""), 0);
    EXPECT_EQ(StripAccelerators(u"Se&ttings"), u"Settings");
    EXPECT_EQ(StripAccelerators(u"Save && &Exit"), u"Save & Exit");
    EXPECT_EQ(StripAccelerators(u"Trailing&"), u"Trailing");
    EXPECT_EQ(StripAccelerators(u"-"), u"-");
}
