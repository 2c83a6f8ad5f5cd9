#include "support/BitmapCanvas.h"
#include "support/TestSupport.h"
#include "support/UiTestSupport.h"

#include "framework/rtl/Exceptions.h"
#include "framework/ui/Actions.h"
#include "framework/ui/SkinData.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

class TCountingClient : public TComponent, public ISkinClient {
public:
    using TComponent::TComponent;
    void SkinChanged() override { ++Changes; }
    int Changes = 0;
};

class TActionWatcher : public TComponent, public IActionClient {
public:
    using TComponent::TComponent;
    void ActionChanged(TAction* action) override { Seen.push_back(action->Caption()); }
    std::vector<String> Seen;
};

} // namespace

TEST(SkinPainting, TheBuiltInSkinDrawsAFlatRoundedButtonInItsColours)
{
    TComponent owner(nullptr);
    auto* stored = new TspCompressedStoredSkin(&owner);
    ASSERT_TRUE(LoadBuiltinSkin(*stored));
    auto* data = new TspSkinData(&owner);
    data->SetCompressedStoredSkin(stored);
    EXPECT_EQ(data->Skin().Info().Name, u"Default");
    const TSkinElement& button = data->Skin().Element(u"Button");
    ASSERT_NE(button.Fill[TSkinState::Normal], kClNone);
    for (UINT dpi : {96u, 144u}) {
        TBitmapCanvas canvas(200, 80, RGB(255, 0, 255));
        TSkinPainter painter = data->Painter(dpi);
        RECT rect{0, 0, painter.Scale(120), painter.Scale(32)};
        painter.DrawElement(canvas.DC(), rect, button, TSkinState::Normal);
        EXPECT_TRUE(ColorNear(canvas.Pixel(rect.right / 2, rect.bottom / 2), button.Fill[TSkinState::Normal])) << dpi;
        if (button.Radius > 1) { // the corner lies outside the rounding
            EXPECT_TRUE(ColorNear(canvas.Pixel(0, 0), RGB(255, 0, 255))) << dpi;
        }
        EXPECT_TRUE(ColorNear(canvas.Pixel(rect.right + 2, 2), RGB(255, 0, 255))) << dpi; // nothing outside
    }
}

TEST(SkinPainting, ASkinFileDrawsFromItsPicturesAndADamagedOneChangesNothing)
{
    TComponent owner(nullptr);
    auto* data = new TspSkinData(&owner);
    auto* client = new TCountingClient(&owner);
    data->AddClient(client);
    const String midnight = FromAscii(VP_BUILT_SKINS_DIR) + u"/Midnight.skn";
    data->LoadFromCompressedFile(midnight);
    EXPECT_EQ(data->Skin().Info().Name, u"Midnight");
    EXPECT_EQ(client->Changes, 1);
    const TSkinElement& button = data->Skin().Element(u"Button");
    ASSERT_TRUE(button.HasImage(TSkinState::Normal));
    TBitmapCanvas canvas(200, 60, RGB(255, 0, 255));
    data->Painter(96).DrawElement(canvas.DC(), RECT{0, 0, 120, 30}, button, TSkinState::Normal);
    EXPECT_FALSE(ColorNear(canvas.Pixel(60, 15), RGB(255, 0, 255)));

    TTempFolder folder;
    std::string bytes = ReadFileBytes(std::filesystem::path(VP_BUILT_SKINS_DIR) / "Midnight.skn");
    WriteFileBytes(folder.Path() / "Broken.skn", bytes.substr(0, bytes.size() / 2));
    EXPECT_THROW(data->LoadFromCompressedFile(folder.Folder() + u"Broken.skn"), Exception);
    EXPECT_EQ(data->Skin().Info().Name, u"Midnight");
    EXPECT_EQ(client->Changes, 1);

    delete client; // a client that goes is forgotten
    data->SetSkinnableForm(false);
    EXPECT_FALSE(data->SkinnableForm());
}

TEST(SkinPainting, BuiltInGlyphsAreDrawnInTheirColourAtAnyDpi)
{
    TComponent owner(nullptr);
    auto* data = new TspSkinData(&owner);
    for (UINT dpi : {96u, 192u}) {
        TBitmapCanvas canvas(64, 64, RGB(255, 255, 255));
        TSkinPainter painter = data->Painter(dpi);
        int size = painter.Scale(20);
        painter.DrawGlyph(canvas.DC(), RECT{0, 0, size, size}, TSkinGlyph{TBuiltinGlyph::Maximize, {}}, RGB(0, 0, 200));
        // The square's left edge, a tenth in, is drawn; its middle stays empty.
        EXPECT_FALSE(ColorNear(canvas.Pixel(size / 10, size / 2), RGB(255, 255, 255), 40)) << dpi;
        EXPECT_TRUE(ColorNear(canvas.Pixel(size / 2, size / 2), RGB(255, 255, 255))) << dpi;
    }
}

TEST(Actions, ClientsFollowTheirActionAndAManagerForgetsActionsThatGo)
{
    TComponent owner(nullptr);
    auto* manager = new TActionManager(&owner);
    auto* hide = new TAction(&owner);
    hide->SetName(u"actStartHide");
    hide->SetActionList(manager);
    auto* watcher = new TActionWatcher(&owner);
    hide->RegisterClient(watcher);
    hide->SetCaption(u"&Hide IP");
    hide->SetCaption(u"&Hide IP"); // no change, no news
    EXPECT_EQ(watcher->Seen, (std::vector<String>{u"&Hide IP"}));
    int runs = 0;
    hide->OnExecute = [&](TObject*) { ++runs; };
    EXPECT_TRUE(hide->Execute());
    hide->SetEnabled(false);
    EXPECT_FALSE(hide->Execute());
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(manager->FindAction(u"ACTSTARTHIDE"), hide);
    delete hide;
    EXPECT_EQ(manager->ActionCount(), 0);
}
