#include "SkinUiTestSupport.h"
#include "support/TestSupportWin.h"
#include "support/UiTestSupport.h"

#include "framework/engine/CLEngine.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/RegisteredMessages.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinPopupMenu.h"
#include "framework/ui/TrayIcon.h"

#include <gtest/gtest.h>

#include <set>

using namespace vp;
using namespace vptest;

namespace {

using enum TspFormCommand;

// The main window's shape: a skinned frame on a 474 x 236 client area.
class TfrmSkinnedFrame : public TForm {
    VP_CLASS(TfrmSkinnedFrame)
public:
    explicit TfrmSkinnedFrame(TComponent* aOwner) : TForm(aOwner)
    {
        BorderStyle = TBorderStyle::bsSingle;
        Position = TPosition::poScreenCenter;
        SetClientSize(474, 236);
        SetCaption(u"Skinned");
        spStoredSkin = new TspCompressedStoredSkin(this);
        LoadBuiltinSkin(*spStoredSkin);
        spSkinData = new TspSkinData(this);
        spSkinData->SetCompressedStoredSkin(spStoredSkin);
        spDynamicSkinForm = new TspDynamicSkinForm(this);
        spDynamicSkinForm->SetSkinData(spSkinData);
        spDynamicSkinForm->SetSizeable(false);
        spDynamicSkinForm->SetRollUpButton(true);
        spDynamicSkinForm->OnSkinFormObjectCommand = [this](TspFormCommand Command, bool& bCancel) {
            Commands.push_back(Command);
            bCancel = Refused.count(Command) > 0;
        };
    }

    TspCompressedStoredSkin* spStoredSkin;
    TspSkinData* spSkinData;
    TspDynamicSkinForm* spDynamicSkinForm;
    std::vector<TspFormCommand> Commands;
    std::set<TspFormCommand> Refused;
};

const TClassInfo& TfrmSkinnedFrame::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmSkinnedFrame, TForm>(u"TfrmSkinnedFrame").Build();
    return info;
}

TfrmSkinnedFrame* ShowSkinnedForm()
{
    auto* form = Application().CreateForm<TfrmSkinnedFrame>();
    form->Show();
    PumpUntil([] { return false; }, 200);
    return form;
}

RECT ToRect(const TRect& rect)
{
    return RECT{rect.Left, rect.Top, rect.Right, rect.Bottom};
}

POINT ScreenPoint(HWND window, int x, int y)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{rect.left + x, rect.top + y};
}

POINT ButtonCentre(TspDynamicSkinForm& frame, TCaptionButton button)
{
    const TRect place = frame.Layout().ButtonRect(button);
    return ScreenPoint(frame.Form()->Handle(), (place.Left + place.Right) / 2, (place.Top + place.Bottom) / 2);
}

// A press and release on a caption button, as the mouse sends them.
void ClickButton(TspDynamicSkinForm& frame, TCaptionButton button)
{
    HWND window = frame.Form()->Handle();
    POINT at = ButtonCentre(frame, button);
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
    ScreenToClient(window, &at);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

// The caption's colour where the title leaves it free, as the skin draws it.
struct TCaptionProbe {
    int X, Y;
    COLORREF Expected;
};
TCaptionProbe CaptionProbe(TfrmSkinnedFrame& form)
{
    TSkinFrameLayout layout = form.spDynamicSkinForm->Layout();
    const TRect caption = layout.CaptionRect();
    const int x = layout.TitleRect().Right - 12, y = caption.Top + 3;
    TSkinPainter painter = form.spSkinData->Painter(form.CurrentDpi());
    COLORREF expected = PaintedPixel(caption.Right + 1, caption.Bottom + 1, x, y, [&](HDC dc) {
        painter.DrawElement(dc, ToRect(caption), painter.Element(skin::kFormCaption), TSkinState::Normal);
    });
    return {x, y, expected};
}

} // namespace

TEST(SkinnedFrame, APrintedWindowShowsTheSkinAtCaptionCaptionButtonClientAndBorder)
{
    for (const char* skinFile : {"", "Midnight.skn"}) {
        SCOPED_TRACE(skinFile);
        TApplicationScope scope;
        auto* form = ShowSkinnedForm();
        if (*skinFile)
            form->spSkinData->LoadFromCompressedFile(BuiltSkin(skinFile));
        TspDynamicSkinForm& frame = *form->spDynamicSkinForm;
        HWND window = form->Handle();
        ASSERT_TRUE(frame.Skinned());
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, 0);
        SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
        POINT close = ButtonCentre(frame, TCaptionButton::Close);
        SendMessageW(window, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(close.x, close.y));
        ASSERT_EQ(frame.HotButton(), TCaptionButton::Close);

        TWindowShot shot(window);
        const TSkinDefinition& skin = form->spSkinData->Skin();
        TSkinFrameLayout layout = frame.Layout();
        TCaptionProbe caption = CaptionProbe(*form);
        EXPECT_TRUE(ColorNear(shot.Pixel(caption.X, caption.Y), caption.Expected, 6));
        const TRect button = layout.ButtonRect(TCaptionButton::Close);
        EXPECT_TRUE(ColorNear(shot.Pixel(button.Left + 2, button.Top + 2),
            skin.Element(skin::kCaptionButtonClose).Fill[TSkinState::Hot], 6));
        const TRect client = layout.ClientRect();
        EXPECT_TRUE(ColorNear(shot.Pixel(client.Left + 150, client.Top + 100), skin.Element(skin::kForm).Fill[TSkinState::Normal], 4));
        EXPECT_TRUE(ColorNear(shot.Pixel(0, shot.Height() / 2), skin.Element(skin::kFormBorder).Fill[TSkinState::Normal], 4));
        // The client area is the designed one; the frame lies around it.
        RECT clientRect;
        GetClientRect(window, &clientRect);
        EXPECT_EQ(clientRect.right, ScaleToDpi(474, form->CurrentDpi()));
        EXPECT_EQ(shot.Height() - clientRect.bottom, layout.Insets().Top + layout.Insets().Bottom);
    }
}

TEST(SkinnedFrame, SwitchingSkinsRepaintsTheLiveWindowAndASystemFrameSkinGivesTheSystemsFrameBack)
{
    TApplicationScope scope;
    auto* form = ShowSkinnedForm();
    HWND window = form->Handle();
    TCaptionProbe before = CaptionProbe(*form);
    POINT at = ScreenPoint(window, before.X, before.Y);
    EXPECT_TRUE(PumpUntil([&] { return ColorNear(ScreenPixel(at.x, at.y), before.Expected, 6); }, 5000));

    form->spSkinData->LoadFromCompressedFile(BuiltSkin("Midnight.skn"));
    TCaptionProbe after = CaptionProbe(*form);
    ASSERT_FALSE(ColorNear(after.Expected, before.Expected, 40));
    at = ScreenPoint(window, after.X, after.Y);
    EXPECT_TRUE(PumpUntil([&] { return ColorNear(ScreenPixel(at.x, at.y), after.Expected, 6); }, 5000));

    form->spSkinData->LoadFromCompressedFile(BuiltSkin("Harbor.nsf.skn"));
    form->spSkinData->SetSkinnableForm(false);
    EXPECT_FALSE(form->spDynamicSkinForm->Skinned());
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, ScaleToDpi(474, form->CurrentDpi()));
    EXPECT_EQ(client.bottom, ScaleToDpi(236, form->CurrentDpi()));
    // Only the client area is skinned then.
    TWindowShot shot(window);
    POINT origin{};
    ClientToScreen(window, &origin);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_TRUE(ColorNear(shot.Pixel(origin.x - frame.left + 100, origin.y - frame.top + 100),
        form->spSkinData->Skin().Element(skin::kForm).Fill[TSkinState::Normal], 4));
    // The system's frame asks the skinned one before it closes too.
    form->Refused = {cmClose};
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(form->Commands, std::vector{cmClose});
    EXPECT_TRUE(IsWindowVisible(window));

    form->spSkinData->SetSkinnableForm(true);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, 0);
    GetClientRect(window, &client);
    EXPECT_EQ(client.bottom, ScaleToDpi(236, form->CurrentDpi()));
}

TEST(SkinnedFrame, TheCommandEventCancelsCloseMaximiseAndRollUpWhileMinimiseGoesThrough)
{
    TApplicationScope scope;
    auto* form = ShowSkinnedForm();
    TspDynamicSkinForm& frame = *form->spDynamicSkinForm;
    frame.SetMaximizeButton(true);
    HWND window = form->Handle();
    form->Refused = {cmClose, cmMaximize, cmRollUp};

    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ClickButton(frame, TCaptionButton::Close);
    SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ClickButton(frame, TCaptionButton::Maximize);
    ClickButton(frame, TCaptionButton::RollUp);
    EXPECT_FALSE(frame.ExecuteCommand(cmRollUp));
    EXPECT_EQ(form->Commands, (std::vector{cmClose, cmClose, cmMaximize, cmMaximize, cmRollUp, cmRollUp}));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_FALSE(frame.RolledUp());
    // Alt+F4 asks to close the same way.
    form->Commands.clear();
    PostMessageW(window, WM_SYSKEYDOWN, VK_F4, 0x20000001);
    EXPECT_TRUE(PumpUntil([&] { return !form->Commands.empty(); }, 3000));
    EXPECT_EQ(form->Commands, std::vector{cmClose});
    EXPECT_TRUE(IsWindowVisible(window));

    form->Commands.clear();
    ClickButton(frame, TCaptionButton::Minimize);
    EXPECT_EQ(form->Commands, std::vector{cmMinimize});
    EXPECT_TRUE(IsIconic(window));
    SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(window));

    // Allowed, rolling up leaves the caption and rolling down gives the height back.
    form->Refused.clear();
    RECT full;
    GetWindowRect(window, &full);
    ClickButton(frame, TCaptionButton::RollUp);
    RECT rolled;
    GetWindowRect(window, &rolled);
    EXPECT_TRUE(frame.RolledUp());
    EXPECT_EQ(rolled.bottom - rolled.top, frame.Layout().MinimumHeight());
    EXPECT_TRUE(frame.ExecuteCommand(cmRollUp));
    GetWindowRect(window, &rolled);
    EXPECT_EQ(rolled.bottom - rolled.top, full.bottom - full.top);
    // A double click on the caption maximises when the frame offers it, and fills the work area.
    POINT caption = ScreenPoint(window, frame.Layout().TitleRect().Right - 5, frame.Layout().CaptionRect().Top + 5);
    SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.x, caption.y));
    EXPECT_TRUE(IsZoomed(window));
    RECT work, maximised;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &maximised);
    EXPECT_EQ(maximised.right - maximised.left, work.right - work.left);
    EXPECT_EQ(form->Commands.back(), cmMaximize);
}

TEST(SkinnedFrame, RealClicksOnTheCaptionButtons)
{
    TApplicationScope scope;
    auto* form = ShowSkinnedForm();
    TspDynamicSkinForm& frame = *form->spDynamicSkinForm;
    HWND window = form->Handle();
    form->Refused = {cmClose};
    auto click = [&](TCaptionButton button) {
        POINT at = ButtonCentre(frame, button);
        return StartXdotool(u"mousemove " + IntToStr(at.x) + u" " + IntToStr(at.y) + u" click 1");
    };
    ASSERT_TRUE(click(TCaptionButton::Close)) << "xdotool (scripts/bootstrap installs it)";
    EXPECT_TRUE(PumpUntil([&] { return !form->Commands.empty(); }, 5000));
    EXPECT_EQ(form->Commands, std::vector{cmClose});
    EXPECT_TRUE(IsWindowVisible(window));
    ASSERT_TRUE(click(TCaptionButton::Minimize));
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; }, 5000));
    EXPECT_EQ(form->Commands.back(), cmMinimize);
}

TEST(SkinnedFrame, AltSpaceOpensTheSystemMenuInTheToolkitsTextsOrTheFormsOwnMenu)
{
    TApplicationScope scope;
    auto* form = ShowSkinnedForm();
    TspDynamicSkinForm& frame = *form->spDynamicSkinForm;
    HWND window = form->Handle();
    // The texts of the menu that open() shows, once it has shown it.
    auto menuTexts = [&](const std::function<void()>& open) {
        std::vector<String> texts;
        TWhileModal reader([&] {
            texts = OpenMenuTexts();
            return !texts.empty() && EndMenu();
        });
        open();
        PumpUntil([&] { return reader.Done(); }, 5000);
        return texts;
    };
    EXPECT_EQ(menuTexts([&] { PostMessageW(window, WM_SYSCHAR, u' ', 0x20000001); }),
        (std::vector<String>{u"&Restore", u"Mi&nimize", u"Ma&ximize", u"Roll &up", u"-", u"&Close"}));
    EXPECT_EQ(form->Commands, std::vector{cmSysMenu});

    auto* texts = new TspResourceStrData(form);
    TStringList lines;
    lines.Add(u"SysMenu.Close=&Fermer");
    texts->Merge(lines);
    form->spSkinData->SetResourceStrData(texts);
    frame.SetMaximizeButton(false);
    frame.SetRollUpButton(false);
    EXPECT_EQ(menuTexts([&] { frame.ExecuteCommand(cmSysMenu); }),
        (std::vector<String>{u"&Restore", u"Mi&nimize", u"-", u"&Fermer"}));

    // A system menu of the form's own replaces the built-in one.
    auto* pmSys = new TspSkinPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption(u"Always on top");
    pmSys->Items()->Add(item);
    frame.SetSysMenu(pmSys);
    EXPECT_EQ(menuTexts([&] { SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, u' '); }),
        std::vector<String>{u"Always on top"});
}

TEST(SkinnedFrame, TheTrayTakesTheWindowAndTheEnginesBringToFrontRestoresIt)
{
    TApplicationScope scope;
    auto* form = ShowSkinnedForm();
    TspDynamicSkinForm& frame = *form->spDynamicSkinForm;
    HWND window = form->Handle();
    auto* engine = new TCLEngine(form);
    const UINT bringToFront = RegisteredMessage(kMsgBringToFront);
    engine->SetSkinForm(&frame);
    EXPECT_EQ(SendMessageW(window, bringToFront, 0, 0), 0); // no tray icon yet

    auto* tray = new TspTrayIcon(form);
    frame.SetTrayIcon(tray);
    frame.SetMinimizeToTray(true);
    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(form->Commands, std::vector{cmMinimizeToTray});
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(frame.InTray());
    EXPECT_TRUE(tray->Visible()); // shown while the window is there

    EXPECT_EQ(SendMessageW(window, bringToFront, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(frame.InTray());
    EXPECT_FALSE(tray->Visible());

    frame.SetAlwaysShowTrayIcon(true);
    EXPECT_TRUE(tray->Visible());
    delete tray; // a frame whose tray icon goes forgets it
    EXPECT_EQ(frame.TrayIcon(), nullptr);
    EXPECT_EQ(SendMessageW(window, bringToFront, 0, 0), 0);
}
