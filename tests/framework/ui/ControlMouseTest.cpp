// The controls with the mouse (real X clicks), the shell, the layout and their timers.
#include "ControlTestSupport.h"
#include "SkinTestSupport.h"

#include <commctrl.h>

#include "framework/rtl/WinText.h"
#include "framework/ui/GdiPlus.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

// recordargs.exe records what the shell starts for "http" addresses, as the browser would.
class THttpHandler {
public:
    THttpHandler() : FGuard(HKEY_CLASSES_ROOT, u"HTTP\\shell\\open\\command", u""), FPath(FFolder.Folder() + u"record.txt")
    {
        SetEnvironmentVariableW(L"VP_RECORD_FILE", WStr(FPath));
        SetRegistryString(HKEY_CLASSES_ROOT, u"HTTP\\shell\\open\\command", u"", u"\"" + RecordArgsPath() + u"\" \"%1\"");
    }
    ~THttpHandler() { SetEnvironmentVariableW(L"VP_RECORD_FILE", nullptr); }
    const String& RecordFile() const { return FPath; }

private:
    TRegistryValueGuard FGuard;
    TTempFolder FFolder;
    String FPath;
};

RECT WindowRectIn(HWND window, HWND parent)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

TEST(ControlMouse, ARealClickRunsTheButtonsAction)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    ClickWithX(form->btnHide->Handle());
    EXPECT_TRUE(PumpUntil([&] { return form->Greetings == 1; }, 10000));
    EXPECT_EQ(form->btnHide->Action(), form->actStopHide);
}

TEST(ControlMouse, TheFieldOverTheCheckBoxCaptionGetsTheClickAndStaysOnTop)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    TspSkinSpinEdit& spin = *form->edtChangeIPTime;
    // Over the field the box lets the pointer through.
    RECT field;
    GetWindowRect(spin.Handle(), &field);
    POINT middle{(field.left + field.right) / 2, (field.top + field.bottom) / 2};
    EXPECT_EQ(SendMessageW(form->cbChangeIP->Handle(), WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), HTTRANSPARENT);
    // A real click on the up button steps the value; the box stays as it was.
    const int width = spin.Scaled(form->spSkinData->Skin().Metrics().SpinButtonWidth);
    ClickWithX(spin.Handle(), POINT{(field.right - field.left) - width / 2 - 1, 4});
    EXPECT_TRUE(PumpUntil([&] { return spin.Value() == 11; }, 10000));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(spin.Value(), 11);
    EXPECT_FALSE(form->cbChangeIP->Checked());
    // The box's painting leaves the field alone: its frame is still there on screen.
    form->cbAutoRun->SetFocus();
    SetCursorPos(0, 0);
    PumpUntil([&] { return !spin.MouseInControl(); }, 2000);
    HDC screen = GetDC(form->tsGeneral->Handle());
    RECT inSheet = WindowRectIn(spin.Handle(), form->tsGeneral->Handle());
    InvalidateRect(form->cbChangeIP->Handle(), nullptr, FALSE);
    UpdateWindow(form->cbChangeIP->Handle());
    COLORREF frame = GetPixel(screen, inSheet.left + spin.Width() / 3, inSheet.top);
    ReleaseDC(form->tsGeneral->Handle(), screen);
    EXPECT_TRUE(ColorNear(frame, BorderOf(*form->spSkinData, u"SpinEdit"), 10));
}

TEST(ControlMouse, AClickOnEmptySpaceClearsTheListsSelectionAndADoubleClickOnAnItemReportsIt)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    form->pcDemo->SetActivePage(form->tsCountries);
    TspSkinListView& list = *form->lvList;
    while (list.Items().Count() > 5)
        list.Items().Delete(list.Items().Count() - 1);
    std::vector<std::pair<int, bool>> seen;
    list.OnSelectItem = [&](TObject*, TListItem* item, bool selected) { seen.push_back({item->Index(), selected}); };
    int doubleClicks = 0;
    list.OnDblClick = [&](TObject*) { ++doubleClicks; };
    RECT second = list.ItemRect(1);
    ClickWithX(list.Handle(), POINT{(second.left + second.right) / 2, (second.top + second.bottom) / 2});
    EXPECT_TRUE(PumpUntil([&] { return list.ItemIndex() == 1; }, 10000));
    EXPECT_EQ(GetFocus(), list.Handle());
    // Right of the one item of the second row: nothing there.
    RECT fifth = list.ItemRect(4);
    POINT empty{fifth.right + 30, (fifth.top + fifth.bottom) / 2};
    ASSERT_EQ(list.ItemAt(empty), -1);
    SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(empty.x, empty.y));
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(empty.x, empty.y));
    EXPECT_EQ(list.Selected(), nullptr);
    EXPECT_EQ(list.ItemIndex(), -1);
    SendMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(empty.x, empty.y));
    EXPECT_EQ(doubleClicks, 0);
    SendMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(fifth.left + 5, fifth.top + 5));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(list.ItemIndex(), 4);
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{1, true}, {1, false}, {4, true}}));
    // An item that goes takes the selection with it; the ones after it move up.
    list.Items().Delete(4);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.SetItemIndex(3);
    list.Items().Delete(0);
    EXPECT_EQ(list.ItemIndex(), 2);
}

TEST(ControlMouse, TheWheelAndTheBarScrollTheListTogether)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    form->pcDemo->SetActivePage(form->tsCountries);
    TspSkinListView& list = *form->lvList;
    SendMessageW(list.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_GT(list.TopOffset(), 0);
    EXPECT_EQ(form->sbV->Position(), list.TopOffset());
    form->sbV->Scroll(-100000);
    EXPECT_EQ(list.TopOffset(), 0);
    // A press on the track below the thumb pages down.
    RECT bar;
    GetClientRect(form->sbV->Handle(), &bar);
    SendMessageW(form->sbV->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar.right / 2, bar.bottom - bar.right - 2));
    SendMessageW(form->sbV->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(bar.right / 2, bar.bottom - bar.right - 2));
    EXPECT_EQ(list.TopOffset(), form->sbV->PageSize());
    // The thumb dragged to the bottom of the track: the end of the list.
    form->sbV->Scroll(-100000);
    const int thumbY = bar.right + 4;
    SendMessageW(form->sbV->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar.right / 2, thumbY));
    SendMessageW(form->sbV->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar.right / 2, thumbY + bar.bottom));
    SendMessageW(form->sbV->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(bar.right / 2, thumbY + bar.bottom));
    EXPECT_EQ(form->sbV->Position(), form->sbV->Max() - form->sbV->PageSize() + 1);
    EXPECT_EQ(list.TopOffset(), form->sbV->Position());
}

TEST(ControlMouse, ALinkHandsItsAddressToTheShellUnlessItHasAClickHandler)
{
    THttpHandler handler;
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    TspSkinLinkLabel& link = *form->lblLink;
    link.SetURL(u"http://127.0.0.1:8900/help?a=1&b=2");
    link.SetFocus();
    PressKey(VK_RETURN);
    auto records = ReadRecords(handler.RecordFile(), 1, 20000);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NE(records[0].CommandLine.find(u"\"http://127.0.0.1:8900/help?a=1&b=2\""), String::npos)
        << U16ToUtf8(records[0].CommandLine);
    EXPECT_EQ(form->ModalResult(), mrNone); // Enter was the link's, not the default button's
    int clicks = 0;
    link.OnClick = [&](TObject*) { ++clicks; };
    PressKey(VK_SPACE);
    SendMessageW(link.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    Sleep(500);
    EXPECT_EQ(ReadRecords(handler.RecordFile()).size(), 1u);
}

TEST(ControlLayout, AlignedPanelsFollowTheWindowAndEachOthersVisibility)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    HWND window = form->Handle();
    auto rectOf = [&](TWinControl* control) { return WindowRectIn(control->Handle(), window); };
    EXPECT_EQ(rectOf(form->pnLogo).bottom, 65);
    EXPECT_EQ(rectOf(form->pnClient).top, 65);
    EXPECT_EQ(rectOf(form->pnClient).bottom, 400 - 44);
    EXPECT_EQ(rectOf(form->pnButtons).top, 400 - 44);
    form->SetClientSize(600, 460);
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(rectOf(form->pnButtons).bottom, 460);
    EXPECT_EQ(rectOf(form->pnButtons).right, 600);
    EXPECT_EQ(rectOf(form->pnClient).bottom, 460 - 44);
    form->pnLogo->SetVisible(false);
    EXPECT_EQ(rectOf(form->pnClient).top, 0);
    form->pnLogo->SetVisible(true);
    EXPECT_EQ(rectOf(form->pnClient).top, 65);
    form->pnButtons->SetHeight(60);
    EXPECT_EQ(rectOf(form->pnClient).bottom, 460 - 60);
    EXPECT_EQ(form->pnClient->Height(), 460 - 65 - 60); // the designed size follows
    // The shown page fills the page control's body; the hidden ones wait.
    RECT page = WindowRectIn(form->tsGeneral->Handle(), form->pcDemo->Handle());
    EXPECT_GT(page.top, form->pcDemo->TabRect(0).bottom - 1);
    EXPECT_LT(page.right, form->pcDemo->Width());
}

TEST(ControlTimers, TheMarqueeRunsOnlyWhileItCanBeSeen)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    TspSkinGauge& gauge = *form->gWait;
    // On a page not shown: no timer.
    EXPECT_FALSE(gauge.AnimationTimerRunning());
    form->pcDemo->SetActivePage(form->tsProgress);
    EXPECT_TRUE(PumpUntil([&] { return gauge.AnimationTimerRunning() && gauge.AnimationStep() > 3; }, 5000));
    // After a pass it rests for the pause, then runs again.
    gauge.SetProgressAnimationPause(300);
    EXPECT_TRUE(PumpUntil([&] { return gauge.AnimationStep() == TspSkinGauge::kMarqueeSteps; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return gauge.AnimationStep() < 5; }, 5000));
    form->Hide();
    EXPECT_TRUE(PumpUntil([&] { return !gauge.AnimationTimerRunning(); }, 2000));
    const int step = gauge.AnimationStep();
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(gauge.AnimationStep(), step);
    form->Show();
    EXPECT_TRUE(PumpUntil([&] { return gauge.AnimationTimerRunning(); }, 2000));
    gauge.StopProgressAnimation();
    EXPECT_FALSE(gauge.AnimationTimerRunning());
}

TEST(ControlTimers, TheLogShowsNewLinesOnceTheMessageIsDone)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    TspSkinMemo& memo = *form->mmLog;
    memo.Lines()->Add(u"the last line");
    EXPECT_EQ(memo.Field().Text().find(u"the last line"), String::npos);
    EXPECT_TRUE(PumpUntil([&] { return memo.Field().Text().find(u"the last line") != String::npos; }, 2000));
    // Scrolled to it, and the bar with it.
    const int first = static_cast<int>(SendMessageW(memo.Field().Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(first, 0);
    EXPECT_EQ(memo.ScrollBar().Position(), first);
    memo.ScrollBar().Scroll(-100);
    EXPECT_EQ(SendMessageW(memo.Field().Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // Tab, Enter and Esc stay with the window.
    EXPECT_EQ(SendMessageW(memo.Field().Handle(), WM_GETDLGCODE, 0, 0) & (DLGC_WANTALLKEYS | DLGC_WANTTAB), 0);
}

TEST(ImageList, NamesAreFoundWithoutRegardToCaseAndOnlyPicturesLoad)
{
    TComponent owner(nullptr);
    auto* list = new TPngImageList(&owner);
    list->SetWidth(48);
    list->SetHeight(48);
    EXPECT_EQ(list->IndexOf(u"US"), -1);
    const int us = list->Add(u"US");
    const int gb = list->Add(u"GB");
    EXPECT_TRUE(list->LoadFromFile(us, DataFolder() + u"res\\flag_short\\US.PNG"));
    EXPECT_EQ(list->IndexOf(u"us"), us);
    EXPECT_EQ(list->IndexOf(u"Gb"), gb);
    EXPECT_EQ(list->IndexOf(u"U"), -1);
    EXPECT_EQ(list->IndexOf(u""), -1);
    EXPECT_NE(list->Picture(us), nullptr);
    EXPECT_EQ(list->Picture(gb), nullptr);
    EXPECT_EQ(list->Picture(7), nullptr);
    EXPECT_FALSE(list->LoadFromBytes(gb, "not a picture"));
    EXPECT_FALSE(list->LoadFromFile(gb, DataFolder() + u"res\\no-such.png"));
    EXPECT_EQ(list->Picture(gb), nullptr);
    list->Delete(us);
    EXPECT_EQ(list->IndexOf(u"GB"), 0);
    EXPECT_THROW(list->Names(3), EListError);
}

TEST(ControlHints, TheTooltipIsMadeAndShownWhenThePointerFirstComesOver)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    TspSkinButton& button = *form->btnHide;
    ASSERT_FALSE(button.Hint().empty());
    RECT rect;
    GetWindowRect(button.Handle(), &rect);
    // Two moves inside, so the control hears the pointer arrive and rest.
    StartXdotool(u"mousemove " + IntToStr(rect.left + 5) + u" " + IntToStr(rect.top + 5) + u" mousemove " +
        IntToStr(rect.left + 8) + u" " + IntToStr(rect.top + 8));
    EXPECT_TRUE(PumpUntil([&] { return button.MouseInControl(); }, 10000));
    // Asking for the handle would make a hidden one: only the pointer makes it show.
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(button.TooltipHandle()) != FALSE; }, 10000));
}

TEST(ControlHints, TooltipsTakeTheSkinsHintColoursAndFollowShowHint)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo(BuiltSkin(u"Midnight.skn"));
    TspSkinCheckRadioBox& box = *form->cbAutoRun;
    ASSERT_NE(box.TooltipHandle(), nullptr);
    const TSkinElement& hint = form->spSkinData->Skin().Element(u"Hint");
    EXPECT_EQ(static_cast<TColor>(SendMessageW(box.TooltipHandle(), TTM_GETTIPBKCOLOR, 0, 0)), hint.Fill[TSkinState::Normal]);
    EXPECT_EQ(static_cast<TColor>(SendMessageW(box.TooltipHandle(), TTM_GETTIPTEXTCOLOR, 0, 0)),
        hint.Text[TSkinState::Normal]);
    EXPECT_EQ(form->imgFL->TooltipHandle(), nullptr); // its hint is not shown
    box.SetShowHint(false);
    EXPECT_EQ(box.TooltipHandle(), nullptr);
}
