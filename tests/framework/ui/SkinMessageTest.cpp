#include "SkinUiTestSupport.h"
#include "support/UiTestSupport.h"

#include "framework/rtl/WinText.h"
#include "framework/ui/SkinData.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinMessage.h"
#include "framework/ui/SkinMessageControls.h"
#include "framework/ui/SkinMessageForm.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

// The message box open now (the active window of this thread), or nullptr.
TspSkinMessageForm* OpenBox()
{
    return dynamic_cast<TspSkinMessageForm*>(TWinControl::FindControl(GetActiveWindow()));
}

String ClipboardText()
{
    String text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = FromWStr(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PressCtrlC()
{
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
}

} // namespace

TEST(SkinMessage, TheResponderAnswersAndSeesTheTextKindButtonsAndTheShowAgainChoice)
{
    TApplicationScope scope;
    TComponent owner(nullptr);
    auto* box = new TspSkinMessage(&owner);
    {
        TModalRecorder recorder(mrNo);
        EXPECT_EQ(box->MessageDlg(u"Close Veilport?", u"Veilport", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrNo);
        ASSERT_EQ(recorder.Requests.size(), 1u);
        const TModalRequest& request = recorder.Requests[0];
        EXPECT_NE(request.Form, nullptr);
        EXPECT_EQ(request.Text, u"Close Veilport?");
        EXPECT_EQ(request.Caption, u"Veilport");
        EXPECT_EQ(request.DlgType, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(request.Buttons, mbYes | mbNo);
        EXPECT_EQ(request.ShowAgain, nullptr); // not asked for
        EXPECT_TRUE(box->ShowAgainChecked());
    }
    box->SetShowAgainCheckBox(true);
    bool offered = false;
    SetModalResponder([&](const TModalRequest& request) {
        offered = request.ShowAgain != nullptr;
        if (request.ShowAgain) {
            EXPECT_TRUE(*request.ShowAgain); // ticked at first
            *request.ShowAgain = false;
        }
        return mrOk;
    });
    EXPECT_EQ(box->MessageDlg(u"Sent to the tray.", u"", TMsgDlgType::mtInformation, mbOK), mrOk);
    EXPECT_TRUE(offered);
    EXPECT_FALSE(box->ShowAgainChecked());
    box->SetShowAgainCheckBox(false);
    EXPECT_EQ(box->MessageDlg(u"Again.", u"", TMsgDlgType::mtInformation, mbOK), mrOk);
    EXPECT_FALSE(offered);
    EXPECT_TRUE(box->ShowAgainChecked());
    SetModalResponder(nullptr);
}

TEST(SkinMessage, EnterEscapeAcceleratorsAndTheCloseCommandFollowTheSystemsRules)
{
    TApplicationScope scope;
    TComponent owner(nullptr);
    auto* data = new TspSkinData(&owner);
    auto* box = new TspSkinMessage(&owner);
    box->SetSkinData(data);
    auto run = [&](TMsgDlgButtons buttons, TMsgDlgButtons defaultButton, std::vector<std::function<void(TspSkinMessageForm&)>> steps) {
        size_t next = 0;
        TWhileModal driver([&] {
            TspSkinMessageForm* open = OpenBox();
            if (!open || next == steps.size())
                return false;
            steps[next++](*open);
            return next == steps.size();
        });
        return box->MessageDlg(u"Text", u"Caption", TMsgDlgType::mtWarning, buttons, defaultButton);
    };
    auto key = [](WORD code) { return [code](TspSkinMessageForm&) { PostKey(GetFocus(), code); }; };
    // Enter presses the default button, here the second one.
    EXPECT_EQ(run(mbYes | mbNo | mbCancel, mbNo, {key(VK_RETURN)}), mrNo);
    // Esc presses Cancel.
    EXPECT_EQ(run(mbOK | mbCancel, 0, {key(VK_ESCAPE)}), mrCancel);
    // Yes/No has no escape: Esc and the close command do nothing, the accelerator answers.
    bool stillOpen = false;
    EXPECT_EQ(run(mbYes | mbNo, 0,
                  {key(VK_ESCAPE), [](TspSkinMessageForm& form) { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); },
                      [&](TspSkinMessageForm& form) {
                          stillOpen = IsWindowVisible(form.Handle());
                          EXPECT_FALSE(form.SkinForm()->CloseButton());
                          PostMessageW(GetFocus(), WM_CHAR, u'y', 1);
                      }}),
        mrYes);
    EXPECT_TRUE(stillOpen);
    // A lone OK is its own escape: Esc and the close command answer OK.
    EXPECT_EQ(run(mbOK, 0, {key(VK_ESCAPE)}), mrOk);
    EXPECT_EQ(run(0, 0, {[](TspSkinMessageForm& form) { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); }}), mrOk);
    // Enter on a focused button presses that one.
    EXPECT_EQ(run(mbOK | mbCancel, 0,
                  {[](TspSkinMessageForm& form) { form.Buttons()[1]->SetFocus(); }, key(VK_RETURN)}),
        mrCancel);
}

TEST(SkinMessage, CtrlCCopiesTheBoxAndTheShowAgainBoxAnswersItsAccelerator)
{
    TApplicationScope scope;
    TComponent owner(nullptr);
    auto* box = new TspSkinMessage(&owner);
    box->SetShowAgainCheckBox(true);
    String copied;
    int step = 0;
    TWhileModal driver([&] {
        TspSkinMessageForm* open = OpenBox();
        if (!open)
            return false;
        switch (step++) {
        case 0: PressCtrlC(); return false;
        case 1: copied = ClipboardText(); return false;
        case 2: PostMessageW(GetFocus(), WM_CHAR, u's', 1); return false; // "&Show this message again"
        default: PostKey(GetFocus(), VK_RETURN); return true;
        }
    });
    EXPECT_EQ(box->MessageDlg(u"Veilport goes on\r\nin the tray.", u"Veilport", TMsgDlgType::mtInformation, mbOK | mbCancel), mrOk);
    EXPECT_EQ(copied, u"---------------------------\r\nVeilport\r\n---------------------------\r\n"
                      u"Veilport goes on\r\nin the tray.\r\n---------------------------\r\nOK   Cancel   \r\n"
                      u"---------------------------\r\n");
    EXPECT_FALSE(box->ShowAgainChecked());
}

TEST(SkinMessage, TheBoxWrapsLongTextAndShowsTheIconOfItsKind)
{
    TApplicationScope scope;
    TComponent owner(nullptr);
    auto* data = new TspSkinData(&owner);
    data->LoadFromCompressedFile(BuiltSkin("Harbor.nsf.skn")); // icons drawn as glyphs
    TspSkinMessageForm::TContent content{.DlgType = TMsgDlgType::mtInformation, .SkinData = data,
        .SkinDataName = u"MessageBox", .ButtonSkinDataName = u"Button", .MessageLabelSkinDataName = u"Label"};
    for (int i = 0; i < 40; ++i)
        content.Text += u"word ";
    std::unique_ptr<TspSkinMessageForm> form(NewForm<TspSkinMessageForm>(nullptr, content));
    form->Show();
    const UINT dpi = form->CurrentDpi();
    EXPECT_LT(form->ClientWidth(), 620); // wrapped, not one long line
    const int buttonBottom = form->Buttons()[0]->Top() + form->Buttons()[0]->Height();
    EXPECT_GT(buttonBottom, 100); // below several lines of text
    EXPECT_LE(buttonBottom, form->ClientHeight());
    EXPECT_EQ(form->Caption(), u"Information");
    // The information icon, at the body's padding: a badge in the skin's colour with a white sign.
    TWindowShot shot(form->Handle());
    POINT origin{};
    ClientToScreen(form->Handle(), &origin);
    RECT frame;
    GetWindowRect(form->Handle(), &frame);
    const TSkinMargins& padding = data->Skin().Element(u"MessageBox").Padding;
    const TColor badgeColor = data->Skin().Element(u"MessageBox.Icon.Information").GlyphColor[TSkinState::Normal];
    const int size = ScaleToDpi(32, dpi), left = origin.x - frame.left + ScaleToDpi(padding.Left, dpi),
              top = origin.y - frame.top + ScaleToDpi(padding.Top, dpi);
    int badge = 0, white = 0;
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x) {
            badge += ColorNear(shot.Pixel(x, y), badgeColor, 10);
            white += ColorNear(shot.Pixel(x, y), RGB(255, 255, 255), 30);
        }
    EXPECT_GT(badge, size * size / 3);
    EXPECT_GT(white, size / 2);
}
