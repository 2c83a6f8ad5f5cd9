// The status panel window and its player under Wine: the texts the panel sends, frames drawn
// at moments the test's clock chooses, the frame timer, flags from a web server on
// 127.0.0.1, the missing scene file, and real clicks on a shown panel (xdotool on the Xvfb
// display).
#include "StatusPanelTestSupport.h"

#include "app/PanelScene.h"
#include "framework/config/EngineResources.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/WinText.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestSupportWin.h"
#include "support/UiTestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

constexpr uint32_t kLocalAccent = 0x2563EB;
constexpr uint32_t kTargetAccent = 0x14B8A6;
constexpr uint32_t kCardFill = 0xFFFFFF;
// Points of the 474 x 180 scene: the accent bars of the front and the back slot, the front
// card's fill, and the flag of the front card (a red stripe of US, the gold stripe of DE).
constexpr POINT kFrontAccent{148, 94};
constexpr POINT kBackAccent{17, 94};
constexpr POINT kFrontFill{452, 94};
constexpr POINT kUsStripe{200, 104};
constexpr POINT kDeGold{188, 103};


// Whether the status line's box holds a pixel of that colour (0x00RRGGBB).
bool StatusLineHas(const TFrame& frame, uint32_t rgb)
{
    double scale = frame.Width / 474.0;
    for (int y = static_cast<int>(148 * scale); y < static_cast<int>(172 * scale); ++y)
        for (int x = static_cast<int>(16 * scale); x < static_cast<int>(200 * scale); ++x)
            if (NearColor(frame.At(x, y), rgb, 40))
                return true;
    return false;
}

class StatusPanel : public testing::Test {
protected:
    StatusPanel()
    {
        PanelInstall();
        FForm = MakeFlashForm();
        FForm->HandleNeeded();
    }

    TPanelPlayer& Player() { return *FForm->FlashPlayer; }
    String Sent() { return Player().GetVariable(u"callbackvar"); }
    // Moves the clock on and lets the player's timer run until it is idle.
    void Settle(uint32_t ms = 2000)
    {
        FClock.Tick += ms;
        EXPECT_TRUE(PumpUntil([&] { return !Player().FrameTimerArmed(); }, 5000));
    }
    uint32_t At(const TFrame& frame, POINT point)
    {
        double scale = frame.Width / 474.0;
        return frame.At(static_cast<int>(point.x * scale), static_cast<int>(point.y * scale));
    }
    TTestClock FClock;
    TApplicationScope FScope;
    TfrmFlashForm* FForm = nullptr;
};

} // namespace

TEST_F(StatusPanel, CreationSetsUpThePlayerAndTheFirstDisplay)
{
    const String folder = PanelInstall().Folder();
    EXPECT_EQ(Player().Movie(), folder + u"res\\veilport.dat");
    EXPECT_TRUE(Player().MovieLoaded());
    EXPECT_FALSE(Player().Menu());
    EXPECT_FALSE(Player().Loop());
    EXPECT_EQ(Player().Quality(), 1);
    EXPECT_EQ(Player().Left(), 0);
    EXPECT_EQ(Player().Top(), 0);
    EXPECT_EQ(Player().Width(), 474);
    EXPECT_EQ(Player().Height(), 180);
    EXPECT_TRUE(FForm->FFlashMes.Active());

    const TPanelState& state = Player().Model().State();
    EXPECT_EQ(state.Background, folder + u"res\\images\\panel_bg.png");
    EXPECT_EQ(state.Logo, folder + u"res\\images\\panel_logo.png");
    for (const TPanelCard& card : state.Cards) {
        EXPECT_FALSE(card.Display);
        EXPECT_EQ(card.Alpha, 0);
        EXPECT_EQ(card.Scale, 100);
    }
    EXPECT_EQ(state.InfoText.Text, u"Verifing from Veilport server ...");
    EXPECT_EQ(state.InfoText.Color, 4474009u);
    EXPECT_EQ(Sent(), u"Info_Text2,,0");
    // Nothing shows that could move.
    EXPECT_FALSE(Player().FrameTimerArmed());
}

TEST(StatusPanelLanguage, TheBinderJoinsTheEnginesLanguageData)
{
    PanelInstall();
    TApplicationScope scope;
    class TResources : public IEngineResources {
    public:
        TPersistent* SkinData() const override { return nullptr; }
        TCLMultiLangData* LanguageData() const override { return Data; }
        TCLMultiLangData* Data = nullptr;
    } resources;
    EXPECT_EQ(MakeFlashForm()->CLMultiLang->LanguageData(), nullptr);
    resources.Data = new TCLMultiLangData(&Application());
    ASSERT_TRUE(RegisterEngineResources(&resources));
    TfrmFlashForm* form = MakeFlashForm();
    UnregisterEngineResources(&resources);
    EXPECT_EQ(form->CLMultiLang->LanguageData(), resources.Data);
    EXPECT_EQ(resources.Data->Clients(), std::vector<TCLMultiLang*>{form->CLMultiLang});
}

TEST_F(StatusPanel, EachCommandSendsItsText)
{
    FForm->SetIPInfo(u"Local", u"True", u"C:\\f\\KR.PNG", u"1.2.3.4", u"Korea, Republic of", u"Seoul", u"100", u"100");
    EXPECT_EQ(Sent(), u"Local,True,C:\\f\\KR.PNG,1.2.3.4,Korea  Republic of,Seoul,100,100");
    EXPECT_EQ(Player().Model().State().Cards[0].CountryName, u"Korea  Republic of");
    // Commas elsewhere stay: the command then has more fields than listed.
    FForm->SetIPInfo(u"Target", u"", u"", u"5.6.7.8", u"Chile", u"Santiago, RM", u"0", u"50");
    EXPECT_EQ(Sent(), u"Target,,,5.6.7.8,Chile,Santiago, RM,0,50");
    FForm->SetIPInfoA(u"Local", u"50", u"100");
    EXPECT_EQ(Sent(), u"LocalA,50,100");
    FForm->Fade(u"Target", true, 100);
    EXPECT_EQ(Sent(), u"Fade,Target,in,100");
    FForm->Fade(u"Target", false, 0);
    EXPECT_EQ(Sent(), u"Fade,Target,out,0");
    FForm->SetTextInfo(u"", 0);
    EXPECT_EQ(Sent(), u"Info_Text,,0");
    FForm->SetTextInfo(u"Ready, go", 16711680);
    EXPECT_EQ(Sent(), u"Info_Text,Ready, go,16711680");
    FForm->SetTextInfo2(u"x", 16777215);
    EXPECT_EQ(Sent(), u"Info_Text2,x,16777215");
    FForm->SetBackground(u"C:\\a\\bg.png");
    EXPECT_EQ(Sent(), u"Background,C:\\a\\bg.png");
    FForm->SetLogo(u"C:\\a\\logo.png");
    EXPECT_EQ(Sent(), u"Logo,C:\\a\\logo.png");
    FForm->TurnTarget();
    EXPECT_EQ(Sent(), u"Turn,Target");
    FForm->TurnLocal();
    EXPECT_EQ(Sent(), u"Turn,Local");
}

TEST_F(StatusPanel, FramesShowTheCardsAsTheyTurnAndFade)
{
    TFrame empty = CaptureFrame(Player());
    ASSERT_FALSE(empty.Pixels.empty());
    ShowLocalCard(*FForm);
    EXPECT_FALSE(Player().FrameTimerArmed());
    TFrame local = CaptureFrame(Player());
    EXPECT_TRUE(NearColor(At(local, kFrontAccent), kLocalAccent, 8));
    EXPECT_TRUE(NearColor(At(local, kFrontFill), kCardFill, 8));
    EXPECT_TRUE(NearColor(At(local, kUsStripe), 0xBD3D44, 24));

    HideSteps(*FForm);
    EXPECT_TRUE(Player().FrameTimerArmed());
    FClock.Tick += 250; // halfway through the turn: still moving
    PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(Player().FrameTimerArmed());
    Settle();
    EXPECT_EQ(KillTimer(Player().Handle(), 1), FALSE); // no timer left in the system either
    TFrame target = CaptureFrame(Player());
    EXPECT_TRUE(NearColor(At(target, kFrontAccent), kTargetAccent, 8));
    EXPECT_TRUE(NearColor(At(target, kDeGold), 0xFFCC00, 24));
    // Local behind at half strength.
    EXPECT_TRUE(NearColor(At(target, kBackAccent), MixColor(kLocalAccent, At(empty, kBackAccent), 0.5), 16));

    StopSteps(*FForm);
    Settle();
    TFrame stopped = CaptureFrame(Player());
    EXPECT_TRUE(NearColor(At(stopped, kFrontAccent), kLocalAccent, 8));
    // The Target card has faded out behind: the background shows there.
    EXPECT_TRUE(NearColor(At(stopped, kBackAccent), At(empty, kBackAccent), 4));
}

TEST_F(StatusPanel, StatusLineIsDrawnInItsColour)
{
    // 4474009 is 0x444499: red 0x99, green 0x44, blue 0x44.
    EXPECT_TRUE(StatusLineHas(CaptureFrame(Player()), 0x994444));
    FForm->SetTextInfo(u"Ready", 16711680); // blue
    TFrame blue = CaptureFrame(Player());
    EXPECT_TRUE(StatusLineHas(blue, 0x0000FF));
    EXPECT_FALSE(StatusLineHas(blue, 0x994444));
    // Without GDI+ the panel still shows its colour and the status line.
    TFrame plain = CapturePainting(474, 180, [&](HDC dc) { PaintPanelPlain(dc, Player().Model(), 474, 180, 96); });
    EXPECT_EQ(plain.At(300, 100), 0xF8FAFCu);
    EXPECT_TRUE(StatusLineHas(plain, 0x0000FF));
}

TEST_F(StatusPanel, ASceneThatBlowsTheCardsUpDrawsWithoutThem)
{
    // A one-pixel scene on a 474 x 180 player: every scene pixel is 180 pixels wide.
    TTempFolder folder;
    WriteFileBytes(folder.Path() / "tiny.dat", "[Panel]\r\nWidth=1\r\nHeight=1\r\n");
    Player().SetMovie(folder.Folder() + u"tiny.dat");
    ASSERT_TRUE(Player().MovieLoaded());
    ShowLocalCard(*FForm);
    TModalRecorder errors;
    TFrame frame = CaptureFrame(Player());
    EXPECT_TRUE(errors.Requests.empty());
    EXPECT_EQ(frame.At(300, 100), 0xF8FAFCu); // the scene's colour, no card
}

TEST_F(StatusPanel, RightButtonPressReachesThePlayerAsRelease)
{
    // A recorder right behind the panel's hook, in front of the player's own handling.
    std::vector<TMessage> seen;
    THookToken recorder = Player().AddMessageHook([&](TMessage& m) {
        if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST)
            seen.push_back(m);
    });
    FForm->FFlashMes = Player().AddMessageHook([this](TMessage& m) { FForm->FlashWndProc(m); });
    SendMessageW(Player().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 40));
    SendMessageW(Player().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Msg, static_cast<UINT>(WM_RBUTTONUP));
    EXPECT_EQ(seen[0].WParam, static_cast<WPARAM>(MK_RBUTTON));
    EXPECT_EQ(seen[0].LParam, MAKELPARAM(30, 40));
    EXPECT_EQ(seen[1].Msg, static_cast<UINT>(WM_LBUTTONDOWN));
}

TEST_F(StatusPanel, CmdCommandsOpenPagesWhateverTheirCase)
{
    std::vector<String> opened;
    FForm->OnCheckIPInfo = [&](const String& url) { opened.push_back(u"url " + url); };
    FForm->OnHomePage = [&](const String& page) { opened.push_back(u"page " + page); };
    FForm->FlashFSCommand(u"cmd", u"homepage");
    FForm->FlashFSCommand(u"CMD", u"CheckIPInfo");
    FForm->FlashFSCommand(u"CMD", u"ABOUT");
    FForm->FlashFSCommand(u"QUIT", u"HOMEPAGE");
    EXPECT_EQ(opened, (std::vector<String>{u"page home", u"url " + String(TPanelInstall::kCheckIPURL)}));
}

TEST_F(StatusPanel, WebFlagsAreFetchedOnceInTheBackground)
{
    std::string png = ReadFileBytes(SourcePath("data/res/flag_short/DE.PNG"));
    TLoopbackHttpServer server([&](const TRecordedRequest& request) {
        TReply reply;
        if (request.Target == "/flags/DE.PNG") {
            reply.Body = png;
            reply.DelayMs = 300;
        } else {
            reply.Status = 404;
            reply.Reason = "Not Found";
        }
        return reply;
    });
    String flag = String(server.URL("/flags/DE.PNG"));
    DWORD start = GetTickCount();
    FForm->SetIPInfo(u"Target", u"True", flag, u"198.51.100.4", u"Germany", u"", u"100", u"100");
    FForm->SetIPInfo(u"Local", u"", flag, u"198.51.100.4", u"Germany", u"", u"100", u"100");
    FForm->TurnTarget();
    EXPECT_LT(GetTickCount() - start, 250u); // the commands did not wait for the server
    EXPECT_EQ(Player().Flags().PendingCount(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return Player().Flags().Find(flag) != nullptr; }));
    Settle();
    EXPECT_TRUE(NearColor(At(CaptureFrame(Player()), kDeGold), 0xFFCC00, 24));
    FForm->SetIPInfo(u"Target", u"True", flag, u"198.51.100.9", u"Germany", u"", u"100", u"100");
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(server.RequestCount(), 1u);

    // A failed download leaves the card without a flag.
    String missing = String(server.URL("/flags/XX.PNG"));
    FForm->SetIPInfo(u"Target", u"True", missing, u"198.51.100.4", u"Nowhere", u"", u"100", u"100");
    ASSERT_TRUE(PumpUntil([&] { return Player().Flags().PendingCount() == 0; }));
    EXPECT_EQ(Player().Flags().Find(missing), nullptr);
    EXPECT_FALSE(NearColor(At(CaptureFrame(Player()), kDeGold), 0xFFCC00, 24));
}

TEST(StatusPanelScene, MissingSceneFileIsReportedOnceAndTheBuiltInSceneShows)
{
    PanelInstall();
    TApplicationScope scope;
    TTempFolder empty;
    String folder = GetLongPath(empty.Folder());
    SetAppFileNameForTests(folder + u"Veilport.exe");
    TModalRecorder recorder;
    TfrmFlashForm* form = MakeFlashForm();
    SetAppFileNameForTests(PanelInstall().Folder() + u"Veilport.exe");
    ASSERT_EQ(recorder.Requests.size(), 1u);
    EXPECT_EQ(recorder.Requests[0].Text, folder + u"res\\veilport.dat File Error!");
    EXPECT_EQ(recorder.Requests[0].Form, nullptr);
    EXPECT_FALSE(form->FlashPlayer->MovieLoaded());
    EXPECT_EQ(form->FlashPlayer->Model().Scene(), DefaultPanelScene());
    // The status lines still reach the panel.
    form->SetTextInfo(u"Ready", 16711680);
    EXPECT_EQ(form->FlashPlayer->Model().State().InfoText.Text, u"Ready");
}

TEST_F(StatusPanel, RealClicksOnTheHotSpotsRaiseTheirCommands)
{
    // The panel in a window of its own at a known place on the screen.
    auto* host = new TForm(&Application());
    host->BorderStyle = TBorderStyle::bsNone;
    host->SetBounds(100, 100, 474, 180);
    FForm->SetParent(host);
    host->Show();
    FForm->Show();
    EXPECT_EQ(FForm->Width(), 474);
    std::vector<String> opened;
    FForm->OnCheckIPInfo = [&](const String& url) { opened.push_back(url); };
    FForm->OnHomePage = [&](const String& page) { opened.push_back(page); };

    auto xdotool = [&](POINT scenePoint, const char* action) {
        double scale = CaptureFrame(Player()).Width / 474.0;
        POINT point{static_cast<LONG>(scenePoint.x * scale), static_cast<LONG>(scenePoint.y * scale)};
        ClientToScreen(Player().Handle(), &point);
        return StartXdotool(u"mousemove " + IntToStr(point.x) + u" " + IntToStr(point.y) + u" " + FromAscii(action));
    };
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    ASSERT_TRUE(xdotool({336, 76}, "")) << "xdotool could not be started";
    EXPECT_TRUE(PumpUntil([&] { return GetCursor() == hand; }, 3000));
    ASSERT_TRUE(xdotool({336, 76}, "click 1"));
    EXPECT_TRUE(PumpUntil([&] { return opened.size() == 1; }, 5000));
    // Off the hot spots: the arrow, and a click does nothing.
    ASSERT_TRUE(xdotool({300, 165}, "click 1"));
    EXPECT_TRUE(PumpUntil([&] { return GetCursor() != hand; }, 3000));
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(opened.size(), 1u);
    ASSERT_TRUE(xdotool({76, 28}, "click 1"));
    EXPECT_TRUE(PumpUntil([&] { return opened.size() == 2; }, 5000));
    EXPECT_EQ(opened, (std::vector<String>{String(TPanelInstall::kCheckIPURL), u"home"}));
}
