// The controls from the keyboard: buttons and their actions, dialog keys, Tab order, focus
// cues, mnemonics, the number field's range, the list's keys, the pages' Ctrl+Tab.
#include "ControlTestSupport.h"

#include <commctrl.h>

#include "framework/rtl/WinText.h"
#include "framework/ui/SkinElementNames.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

String WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return FromWStr(text);
}

} // namespace

TEST(ButtonKeys, SpaceRunsTheActionAndTheButtonFollowsItsRebinding)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    form->btnHide->SetFocus();
    PressKey(VK_SPACE);
    EXPECT_EQ(form->Greetings, 1);
    // The action bound the button to the other one: caption and effect changed together.
    EXPECT_EQ(form->btnHide->Action(), form->actStopHide);
    EXPECT_EQ(WindowText(form->btnHide->Handle()), u"&Stop Hide");
    PressKey(VK_SPACE);
    EXPECT_EQ(form->Greetings, 1);
    EXPECT_EQ(form->btnHide->Caption(), u"&Hide IP");
    ASSERT_GE(form->mmLog->Lines()->Count(), 2);
    EXPECT_EQ((*form->mmLog->Lines())[form->mmLog->Lines()->Count() - 1], u"Stop Hide");
}

TEST(ButtonKeys, EnterPressesTheFocusedOrTheDefaultButtonEscTheCancelOneAndMnemonicsTheirs)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    form->cbAutoRun->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(form->ModalResult(), mrOk);
    form->SetModalResult(mrNone);
    form->btnHide->SetFocus();
    PressKey(VK_RETURN); // the focused button takes Enter
    EXPECT_EQ(form->Greetings, 1);
    EXPECT_EQ(form->ModalResult(), mrNone);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    form->SkinFiles = {BuiltSkin(u"Midnight.skn")};
    form->cbAutoRun->SetFocus();
    PressKey('K', {VK_MENU}); // S&kin
    EXPECT_EQ(form->spSkinData->Skin().Info().Name, u"Midnight");
    EXPECT_FALSE(form->cbAutoRun->Checked());
    PressKey('A', {VK_MENU}); // &Automatically ...
    EXPECT_TRUE(form->cbAutoRun->Checked());
}

TEST(ButtonKeys, ActionStatesReachTheButtonAndAnActionThatGoesIsForgotten)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    TspSkinButton& button = *form->btnHide;
    form->actStartHide->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(button.Handle()));
    form->actStartHide->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(button.Handle()));
    form->actStartHide->SetCaption(u"&Verberg IP");
    EXPECT_EQ(WindowText(button.Handle()), u"&Verberg IP"); // what accessibility tools read
    form->actStartHide->SetHint(u"Verberg het adres");
    ASSERT_NE(button.TooltipHandle(), nullptr);
    wchar_t tip[128] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = button.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(button.Handle());
    tool.lpszText = tip;
    SendMessageW(button.TooltipHandle(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(FromWStr(tip), u"Verberg het adres");
    form->actStartHide->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(button.Handle()));
    delete form->actStartHide;
    EXPECT_EQ(button.Action(), nullptr);
    button.Click(); // nothing to run, nothing breaks
}

TEST(FocusKeys, TabWalksTheControlsInTheirOrder)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    form->cbAutoRun->SetFocus();
    std::vector<HWND> order;
    for (int i = 0; i < 9; ++i) {
        PressKey(VK_TAB);
        order.push_back(GetFocus());
    }
    const std::vector<HWND> expected = {form->cbChangeIP->Handle(), form->edtChangeIPTime->Field().Handle(),
        form->lblLink->Handle(), form->mmLog->Field().Handle(), form->btnHide->Handle(), form->btnSkin->Handle(),
        form->btnOK->Handle(), form->btnCancel->Handle(), form->cbAutoRun->Handle()};
    EXPECT_EQ(order, expected);
    PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(GetFocus(), form->btnCancel->Handle());
}

TEST(FocusKeys, TheFocusShowsAsTheWindowsKeyboardCuesSay)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    TspSkinCheckRadioBox& box = *form->cbAutoRun;
    // The system hides the cues until the keyboard is used (Wine always shows them): the
    // window's state is what the box asks.
    bool hidden = true;
    THookToken cues = box.AddMessageHook([&](TMessage& message) {
        if (message.Msg == WM_QUERYUISTATE) {
            message.Result = hidden ? UISF_HIDEFOCUS | UISF_HIDEACCEL : 0;
            message.Handled = true;
        }
    });
    box.SetFocus();
    const COLORREF focusBorder = BorderOf(*form->spSkinData, skin::kCheckBox, TSkinState::Focused);
    const COLORREF normalBorder = BorderOf(*form->spSkinData, skin::kCheckBox);
    const int size = box.Scaled(form->spSkinData->Skin().Metrics().CheckBoxSize);
    auto squareBorder = [&] {
        TRendered shot(box);
        return shot.Pixel(size / 2, (shot.Height() - size) / 2);
    };
    EXPECT_TRUE(ColorNear(squareBorder(), normalBorder, 8));
    hidden = false;
    EXPECT_TRUE(ColorNear(squareBorder(), focusBorder, 8));
    // A change of the cues repaints the control.
    ValidateRect(box.Handle(), nullptr);
    SendMessageW(box.Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_TRUE(GetUpdateRect(box.Handle(), nullptr, FALSE));
}

TEST(FocusKeys, CtrlTabTurnsThePagesAndAltWithATabsMnemonicShowsIt)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    int changes = 0;
    form->pcDemo->OnChange = [&](TObject*) { ++changes; };
    form->cbAutoRun->SetFocus();
    PressKey(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(form->pcDemo->ActivePage(), form->tsCountries);
    EXPECT_EQ(GetFocus(), form->lvList->Handle()); // the first control of the page shown
    EXPECT_FALSE(IsWindowVisible(form->tsGeneral->Handle()));
    PressKey(VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(form->pcDemo->ActivePage(), form->tsGeneral);
    PressKey(VK_TAB, {VK_CONTROL, VK_SHIFT}); // round the start
    EXPECT_EQ(form->pcDemo->ActivePage(), form->tsProgress);
    EXPECT_EQ(GetFocus(), form->pcDemo->Handle()); // a page without controls of its own
    PressKey('U', {VK_MENU}); // Co&untries
    EXPECT_EQ(form->pcDemo->ActivePage(), form->tsCountries);
    EXPECT_EQ(changes, 4);
}

TEST(SpinKeys, TypedValuesAreHeldWithinTheRangeOnLeavingAndOnEnter)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    TspSkinSpinEdit& spin = *form->edtChangeIPTime;
    int changes = 0;
    spin.OnChange = [&](TObject*) { ++changes; };
    spin.Field().SetFocus();
    SendMessageW(spin.Field().Handle(), EM_SETSEL, 0, -1);
    TypeText(u"5x0-0");
    EXPECT_EQ(spin.Field().Text(), u"500"); // letters and a sign are not let through
    EXPECT_EQ(spin.Value(), 120);
    PressKey(VK_TAB);
    EXPECT_EQ(spin.Field().Text(), u"120");
    spin.Field().SetFocus();
    SendMessageW(spin.Field().Handle(), EM_SETSEL, 0, -1);
    TypeText(u"0");
    form->SetModalResult(mrNone);
    PressKey(VK_RETURN);
    EXPECT_EQ(spin.Field().Text(), u"1");
    EXPECT_EQ(form->ModalResult(), mrOk); // Enter still reached the default button
    PressKey(VK_UP);
    PressKey(VK_UP);
    PressKey(VK_DOWN);
    EXPECT_EQ(spin.Value(), 2);
    spin.SetValue(-40);
    EXPECT_EQ(spin.Value(), 1);
    EXPECT_GE(changes, 4);
}

TEST(ListKeys, ArrowsPagingAndTypingMoveTheSelection)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    form->pcDemo->SetActivePage(form->tsCountries);
    TspSkinListView& list = *form->lvList;
    std::vector<std::pair<int, bool>> seen;
    list.OnSelectItem = [&](TObject*, TListItem* item, bool selected) { seen.push_back({item->Index(), selected}); };
    list.SetFocus();
    PressKey(VK_RIGHT);
    EXPECT_EQ(list.ItemIndex(), 0);
    PressKey(VK_RIGHT);
    EXPECT_EQ(list.ItemIndex(), 1);
    int columns = 0;
    while (columns < list.Items().Count() && list.ItemRect(columns).top == list.ItemRect(0).top)
        ++columns;
    PressKey(VK_DOWN);
    EXPECT_EQ(list.ItemIndex(), 1 + columns);
    PressKey(VK_END);
    EXPECT_EQ(list.ItemIndex(), list.Items().Count() - 1);
    // The last item came into view: the bar went down with it.
    EXPECT_GT(list.TopOffset(), 0);
    EXPECT_EQ(form->sbV->Position(), list.TopOffset());
    PressKey(VK_HOME);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(list.TopOffset(), 0);
    TypeText(u"ch");
    EXPECT_EQ(list.Selected()->Caption(), u"China");
    Sleep(1100); // a new word
    TypeText(u"c");
    EXPECT_EQ(list.Selected()->Caption(), u"Canada");
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[0], (std::pair<int, bool>{0, true}));
    EXPECT_EQ(seen[1], (std::pair<int, bool>{0, false}));
    EXPECT_EQ(seen[2], (std::pair<int, bool>{1, true}));

    // Enter belongs to the default button, unless the list asks for it.
    std::vector<WORD> keys;
    list.OnKeyDown = [&](TObject*, WORD& Key, UINT) { keys.push_back(Key); };
    PressKey(VK_RETURN);
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_TRUE(keys.empty());
    form->SetModalResult(mrNone);
    list.WantReturns = true;
    PressKey(VK_RETURN);
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_EQ(keys, std::vector<WORD>{VK_RETURN});
}

TEST(LabelKeys, ALabelsMnemonicFocusesTheControlAfterIt)
{
    TApplicationScope scope;
    TfrmControlsDemo* form = ShowDemo();
    form->lblInfo->SetCaption(u"&Minutes:");
    form->cbAutoRun->SetFocus();
    PressKey('M', {VK_MENU});
    EXPECT_EQ(GetFocus(), form->lblLink->Handle()); // the next stop after the label
    EXPECT_EQ(WindowText(form->lblInfo->Handle()), u"&Minutes:");
}
