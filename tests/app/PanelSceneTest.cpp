#include "app/PanelScene.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vp;

TEST(PanelScene, TheShippedFileHoldsTheBuiltInValues)
{
    std::filesystem::path shipped = vptest::SourcePath("data/res/veilport.dat");
    TPanelScene scene;
    ASSERT_TRUE(LoadPanelScene(shipped.u16string(), scene)) << shipped;
    EXPECT_EQ(scene, DefaultPanelScene());
    // One changed value is told apart, so the comparison above has teeth.
    TPanelScene other = ParsePanelScene(u"[Timing]\nTurn=501");
    EXPECT_NE(other, scene);
}

TEST(PanelScene, BadValuesKeepTheirDefaultsAndGoodOnesApply)
{
    TPanelScene scene = ParsePanelScene(u"\xFEFF; a comment\r\n"
                                        u"[panel]\nWidth=0\nheight=200\nColor=#12345\n"
                                        u"[Timing]\nTurn=-1\nFade=$100\nFrame=5\n"
                                        u"[Cards]\nFront=1,2,3\nBack=10 , 20, 30,40\nSwing=1,x\nFill=#80ff0000\n"
                                        u"Border=#GG0000\nRadius=101\nFlag=0,0,-1,5\n"
                                        u"[CardIP]\nFont=Tahoma,12,bold+italic\nAlign=Right\nColor=123456\n"
                                        u"[CardCity]\nFont=Tahoma,0\n[CardCountry]\nFont=Tahoma,9,underline\nAlign=middle\n"
                                        u"[InfoText]\nFont=,9\n[InfoText2]\nFont=ThisFaceNameIsFarTooLongForAnyFont,9\n"
                                        u"[HotSpots]\nHome=400,0,74,40\n");
    // Only the good values differ from the defaults.
    TPanelScene expected = DefaultPanelScene();
    expected.Height = 200;
    expected.FadeMs = 256;
    expected.Cards.Back = TRect{10, 20, 40, 60};
    expected.Cards.Fill = 0x80FF0000u;
    expected.Cards.IP.Font = TPanelFont{u"Tahoma", 12, true, true};
    expected.Cards.IP.Align = TPanelAlign::Right;
    expected.Home = TRect{400, 0, 474, 40};
    EXPECT_EQ(scene, expected);
}

TEST(PanelScene, UnreadableFilesGiveTheDefaults)
{
    vptest::TTempFolder folder;
    TPanelScene scene;
    scene.Width = 1;
    EXPECT_FALSE(LoadPanelScene(folder.Folder() + u"veilport.dat", scene));
    EXPECT_EQ(scene, DefaultPanelScene());

    vptest::WriteFileBytes(folder.Path() / "big.dat", "[Panel]\nWidth=100\n" + std::string(kPanelMaxSceneFileSize, ';'));
    EXPECT_FALSE(LoadPanelScene(folder.Folder() + u"big.dat", scene));
    EXPECT_EQ(scene, DefaultPanelScene());

    vptest::WriteFileBytes(folder.Path() / "small.dat", "[Panel]\r\nWidth=100\r\n");
    EXPECT_TRUE(LoadPanelScene(folder.Folder() + u"small.dat", scene));
    EXPECT_EQ(scene.Width, 100);
}

TEST(PanelScene, HotSpotsAndColours)
{
    TPanelScene scene = DefaultPanelScene();
    const TRect& check = scene.CheckIP;
    EXPECT_EQ(PanelHotSpotAt(scene, check.Left, check.Top), u"CHECKIPINFO");
    EXPECT_EQ(PanelHotSpotAt(scene, check.Right - 1, check.Bottom - 1), u"CHECKIPINFO");
    EXPECT_EQ(PanelHotSpotAt(scene, check.Right, check.Top), u"");
    EXPECT_EQ(PanelHotSpotAt(scene, scene.Home.Left + 5, scene.Home.Top + 5), u"HOMEPAGE");
    EXPECT_EQ(PanelHotSpotAt(scene, scene.Home.Left - 1, scene.Home.Top), u"");
    EXPECT_EQ(PanelHotSpotAt(scene, -5, 1000), u"");

    EXPECT_EQ(ColorRefToArgb(4474009), 0xFF994444u); // 0x444499: dark red
    EXPECT_EQ(ColorRefToArgb(16711680), 0xFF0000FFu); // 0xFF0000: blue
}
