// Each control painted into a bitmap in every shipped skin, checked at a few pixels against
// the colours its skin gives.
#include "ControlTestSupport.h"
#include "SkinTestSupport.h"

#include "framework/ui/GdiPlus.h"
#include "framework/ui/SkinElementNames.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

class ControlPainting : public testing::TestWithParam<const char16_t*> {
protected:
    void SetUp() override { Form = ShowDemo(*GetParam() ? BuiltSkin(GetParam()) : String()); }
    TspSkinData& Data() { return *Form->spSkinData; }
    const TSkinElement& Element(StringView name) { return Data().Skin().Element(name); }

    // A flat element shows its colour (or what is behind, without one); a picture shows
    // something other than what is behind.
    void ExpectFace(const TRendered& shot, int x, int y, StringView element, TSkinState state, COLORREF behind)
    {
        const TSkinElement& face = Element(element);
        if (!face.HasImage(state) && face.Fill[state] == kClNone)
            EXPECT_TRUE(ColorNear(shot.Pixel(x, y), behind, 8)) << U16ToUtf8(element) << " at " << x << "," << y;
        else if (face.HasImage(state))
            EXPECT_FALSE(ColorNear(shot.Pixel(x, y), behind, 6)) << U16ToUtf8(element) << " at " << x << "," << y;
        else
            EXPECT_TRUE(ColorNear(shot.Pixel(x, y), face.Fill[state], 8)) << U16ToUtf8(element) << " at " << x << "," << y;
    }

    TApplicationScope Scope;
    TfrmControlsDemo* Form = nullptr;
};

} // namespace

TEST_P(ControlPainting, PanelsPagesAndTheirFrames)
{
    const COLORREF panel = FillOf(Data(), skin::kPanel);
    TRendered buttons(*Form->pnButtons);
    EXPECT_TRUE(ColorNear(buttons.Pixel(buttons.Width() - 2, 2), panel, 8));
    TRendered logo(*Form->pnLogo);
    ExpectFace(logo, logo.Width() / 2, logo.Height() / 2, skin::kPanelFramed, TSkinState::Normal, panel);

    // The shown page's tab, another tab, and the body under them.
    TRendered pages(*Form->pcDemo);
    RECT active = Form->pcDemo->TabRect(0), other = Form->pcDemo->TabRect(2);
    ExpectFace(pages, active.left + 4, (active.top + active.bottom) / 2, u"Tab.Active", TSkinState::Normal, panel);
    ExpectFace(pages, other.right - 4, (other.top + other.bottom) / 2 + 2, u"Tab", TSkinState::Normal, panel);
    ExpectFace(pages, pages.Width() / 2, pages.Height() - 4, skin::kPageFrame, TSkinState::Normal, panel);
    // Its caption is written in its text colour.
    EXPECT_GT(pages.CountNear(active, TextOf(Data(), u"Tab.Active"), 40), 5);
}

TEST_P(ControlPainting, ButtonsNormalDefaultDisabledAndTheRoomForTheirGlow)
{
    const COLORREF panel = FillOf(Data(), skin::kPanel);
    TRendered normal(*Form->btnSkin);
    ExpectFace(normal, 8, normal.Height() / 2, skin::kButton, TSkinState::Normal, panel);
    EXPECT_GT(normal.CountNear(RECT{0, 0, normal.Width(), normal.Height()}, TextOf(Data(), skin::kButton), 40), 5);
    TRendered standing(*Form->btnOK);
    ExpectFace(standing, 8, standing.Height() / 2, skin::kButtonDefault, TSkinState::Normal, panel);
    Form->btnSkin->SetEnabled(false);
    TRendered disabled(*Form->btnSkin);
    ExpectFace(disabled, 8, disabled.Height() / 2, skin::kButton, TSkinState::Disabled, panel);
    EXPECT_NE(disabled.Pixel(8, disabled.Height() / 2), normal.Pixel(8, normal.Height() / 2));

    // With glow allowed, a skin with glow keeps a margin round the face for it.
    const int glow = Element(skin::kButton).GlowSize;
    Data().SetShowButtonGlowFrame(true);
    TRendered withRoom(*Form->btnHide);
    Data().SetShowButtonGlowFrame(false);
    TRendered withoutRoom(*Form->btnHide);
    const int middle = withRoom.Height() / 2;
    EXPECT_EQ(ColorNear(withRoom.Pixel(0, middle), panel, 6), glow > 0);
    if (!Element(skin::kButton).HasImage(TSkinState::Normal)) {
        EXPECT_FALSE(ColorNear(withoutRoom.Pixel(0, middle), panel, 2)); // the border
    }
}

TEST_P(ControlPainting, CheckBoxSquareTicksAndCaption)
{
    TRendered unticked(*Form->cbAutoRun);
    const int size = Form->cbAutoRun->Scaled(Data().Skin().Metrics().CheckBoxSize);
    const int top = (unticked.Height() - size) / 2;
    // Inside the square, clear of its rounding and of the mark.
    ExpectFace(unticked, 3, top + 3, skin::kCheckBox, TSkinState::Normal, 0);
    RECT caption{size, 0, unticked.Width(), unticked.Height()};
    EXPECT_GT(unticked.CountNear(caption, TextOf(Data(), skin::kCheckBox), 40), 10);
    Form->cbAutoRun->SetChecked(true);
    TRendered ticked(*Form->cbAutoRun);
    ExpectFace(ticked, 3, top + 3, skin::kCheckBoxChecked, TSkinState::Normal, 0);
    const TSkinElement& checked = Element(skin::kCheckBoxChecked);
    RECT square{0, top, size, top + size};
    EXPECT_GT(ticked.CountNear(square, checked.GlyphColor[TSkinState::Normal], 60), 3); // the mark
}

TEST_P(ControlPainting, LabelsWrapAndLinksAreUnderlined)
{
    TRendered info(*Form->lblInfo);
    const COLORREF text = TextOf(Data(), skin::kLabel);
    const int line = Form->lblInfo->Scaled(11);
    // Words on the first line and on the second one.
    EXPECT_GT(info.CountNear(RECT{0, 0, info.Width(), line}, text, 60), 10);
    EXPECT_GT(info.CountNear(RECT{0, line + 2, info.Width(), 2 * line + 4}, text, 60), 10);
    TRendered link(*Form->lblLink);
    const COLORREF linkText = TextOf(Data(), skin::kLinkLabel);
    int underline = 0;
    for (int y = link.Height() - 4; y < link.Height(); ++y)
        underline = std::max(underline, link.CountNear(RECT{0, y, link.Width(), y + 1}, linkText, 40));
    EXPECT_GT(underline, link.Width() / 2);
}

TEST_P(ControlPainting, SpinFieldFrameAndButtons)
{
    TRendered spin(*Form->edtChangeIPTime);
    const TSkinElement& frame = Element(skin::kSpinEdit);
    EXPECT_TRUE(ColorNear(spin.Pixel(spin.Width() / 3, 0), frame.Border[TSkinState::Normal], 10));
    const int width = Form->edtChangeIPTime->Scaled(Data().Skin().Metrics().SpinButtonWidth);
    ExpectFace(spin, spin.Width() - width + 1, 3, skin::kSpinButtonUp, TSkinState::Normal, 0);
    RECT down{spin.Width() - width, spin.Height() / 2, spin.Width() - 1, spin.Height() - 1};
    EXPECT_GT(spin.CountNear(down, Element(skin::kSpinButtonDown).GlyphColor[TSkinState::Normal], 40), 2);
}

TEST_P(ControlPainting, ListItemsScrollBarMemoAndGauges)
{
    Form->pcDemo->SetActivePage(Form->tsCountries);
    Form->lvList->SetItemIndex(1);
    TRendered list(*Form->lvList);
    RECT item = Form->lvList->ItemRect(1);
    const COLORREF listFill = FillOf(Data(), skin::kListView);
    ExpectFace(list, item.left + 6, item.bottom - 3, skin::kListViewItemSelected, TSkinState::Normal, listFill);
    RECT unselected = Form->lvList->ItemRect(2);
    EXPECT_TRUE(ColorNear(list.Pixel(unselected.left + 6, unselected.bottom - 3), listFill, 8));
    // The flag of the selected item (United States: blue, white and red, none of them the fill).
    EXPECT_FALSE(ColorNear(list.Pixel((item.left + item.right) / 2, item.top + Form->lvList->Scaled(14)),
        FillOf(Data(), skin::kListViewItemSelected), 8));

    // Twenty items do not fit: the bar has a thumb at the top.
    TRendered bar(*Form->sbV);
    const int arrow = bar.Width();
    ExpectFace(bar, bar.Width() / 2, arrow + 4, skin::kScrollBarThumb, TSkinState::Normal, 0);
    ExpectFace(bar, bar.Width() / 2, bar.Height() - arrow - 3, skin::kScrollBarTrack, TSkinState::Normal, 0);

    TRendered memo(*Form->mmLog);
    EXPECT_TRUE(ColorNear(memo.Pixel(0, memo.Height() / 2), BorderOf(Data(), skin::kMemo), 10));
    EXPECT_TRUE(ColorNear(memo.Pixel(memo.Width() - 1, memo.Height() / 2), BorderOf(Data(), skin::kMemo), 10));

    Form->gValue->SetValue(60); // half of 120
    TRendered gauge(*Form->gValue);
    const COLORREF track = FillOf(Data(), skin::kGauge);
    EXPECT_FALSE(ColorNear(gauge.Pixel(gauge.Width() / 4, gauge.Height() / 2), track, 6));
    EXPECT_TRUE(ColorNear(gauge.Pixel(gauge.Width() * 3 / 4, gauge.Height() / 2), track, 8));
}

std::string SkinNameOf(const testing::TestParamInfo<const char16_t*>& param)
{
    std::string file = U16ToUtf8(StringView(param.param));
    return file.empty() ? std::string("Default") : file.substr(0, file.find('.'));
}

TEST_P(ControlPainting, AnotherSkinRepaintsEveryControl)
{
    std::vector<TspSkinControl*> controls;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TspSkinControl*>(Form->Components(i)); control && IsWindowVisible(control->Handle()))
            controls.push_back(control);
    ASSERT_GT(controls.size(), 12u);
    for (TspSkinControl* control : controls)
        ValidateRect(control->Handle(), nullptr);
    Form->UseSkin(*GetParam() ? String() : BuiltSkin(u"Midnight.skn"));
    for (TspSkinControl* control : controls)
        EXPECT_TRUE(GetUpdateRect(control->Handle(), nullptr, FALSE)) << U16ToUtf8(control->Name());
}

INSTANTIATE_TEST_SUITE_P(
    ShippedSkins, ControlPainting, testing::Values(u"", u"Midnight.skn", u"Harbor.nsf.skn"), SkinNameOf);

TEST(ImagePainting, APngWithAlphaBlendsWithWhatLiesBehind)
{
    // A blue picture, half transparent, over red: purple.
    TRendered canvas(48, 48, RGB(255, 0, 0));
    TComponent owner(nullptr);
    auto* list = new TPngImageList(&owner);
    list->SetWidth(24);
    list->SetHeight(24);
    const int index = list->Add(u"US");
    ASSERT_TRUE(list->LoadFromBytes(index, MakePng(16, 16, 0x0000FF80)));
    list->Draw(canvas.DC(), index, 0, 0, 96);
    const COLORREF blended = canvas.Pixel(12, 12);
    EXPECT_NEAR(GetRValue(blended), 127, 12);
    EXPECT_NEAR(GetBValue(blended), 128, 12);
    EXPECT_TRUE(ColorNear(canvas.Pixel(30, 30), RGB(255, 0, 0), 0)); // outside the item
    // At 144 DPI the item is half as large again.
    list->Draw(canvas.DC(), index, 0, 0, 144, false);
    EXPECT_FALSE(ColorNear(canvas.Pixel(33, 33), RGB(255, 0, 0), 0));
}

TEST(ImagePainting, AnImageShowsItsPictureOrItsCanvasOverItsParent)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    const COLORREF behind = FillOf(*form->spSkinData, skin::kPageFrame);
    form->pcDemo->SetActivePage(form->tsCountries);
    TImage& image = *form->imgFL;
    image.SetPicture(DecodePng(MakePng(48, 48, 0x00FF0040)));
    TRendered faint(image);
    EXPECT_FALSE(ColorNear(faint.Pixel(24, 24), behind, 4));
    EXPECT_TRUE(ColorNear(faint.Pixel(24, 24), behind, 80)); // mostly what lies behind

    // The main window's way: the brush empties the square, the flag goes in.
    TCanvas& canvas = image.Canvas();
    canvas.FillRect(TRect{0, 0, 48, 48});
    EXPECT_TRUE(ColorNear(TRendered(image).Pixel(24, 24), behind, 4));
    auto flag = DecodePng(MakePng(10, 10, 0x00FF00FF));
    canvas.StretchDraw(TRect{0, 0, 48, 24}, *flag);
    TRendered drawn(image);
    EXPECT_TRUE(ColorNear(drawn.Pixel(24, 10), RGB(0, 255, 0), 4));
    EXPECT_TRUE(ColorNear(drawn.Pixel(24, 40), behind, 4));
    canvas.Brush = TBrush{RGB(10, 20, 30), TBrushStyle::bsSolid};
    canvas.FillRect(TRect{0, 0, 48, 48});
    EXPECT_TRUE(ColorNear(TRendered(image).Pixel(24, 40), RGB(10, 20, 30), 2));
}
