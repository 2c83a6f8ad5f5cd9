#include "support/UiTestSupport.h"

#include "framework/ui/Forms.h"
#include "framework/ui/StdCtrls.h"
#include "framework/ui/Timers.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

class TfrmKeys : public TForm {
    VP_CLASS(TfrmKeys)
public:
    explicit TfrmKeys(TComponent* owner) : TForm(owner)
    {
        SetCaption(u"Keys");
        SetClientSize(300, 120);
        First = AddEdit(10);
        Second = AddEdit(40);
        Apply = AddButton(u"&Apply", 10);
        Ok = AddButton(u"OK", 90);
        Ok->Default = true;
        Ok->ModalResult = mrOk;
        Cancel = AddButton(u"Cancel", 170);
        Cancel->Cancel = true;
        Cancel->ModalResult = mrCancel;
    }
    TEdit* First;
    TEdit* Second;
    TButton* Apply;
    TButton* Ok;
    TButton* Cancel;

private:
    TEdit* AddEdit(int top)
    {
        auto* edit = new TEdit(this);
        edit->SetParent(this);
        edit->SetBounds(10, top, 200, 23);
        return edit;
    }
    TButton* AddButton(const String& caption, int left)
    {
        auto* button = new TButton(this);
        button->SetParent(this);
        button->SetCaption(caption);
        button->SetBounds(left, 80, 75, 25);
        return button;
    }
};

const TClassInfo& TfrmKeys::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmKeys, TForm>(u"TfrmKeys").Build();
    return info;
}

void Key(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

// Presses a key, with modifiers held, as the keyboard would.
void Press(WORD key, std::initializer_list<WORD> modifiers = {})
{
    for (WORD modifier : modifiers)
        Key(modifier, false);
    Key(key, false);
    Key(key, true);
    for (WORD modifier : modifiers)
        Key(modifier, true);
}

// Runs body from the modal loop once the dialog shows, and returns the dialog's result.
TModalResult RunModal(TfrmKeys* dialog, const std::function<void()>& body)
{
    TTimer starter(dialog);
    starter.SetInterval(50);
    starter.OnTimer = [&](TObject*) {
        starter.SetEnabled(false);
        body();
    };
    return dialog->ShowModal();
}

} // namespace

TEST(DialogKeys, TabAndShiftTabMoveTheFocusThroughTheControls)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmKeys>();
    auto* dialog = Application().CreateForm<TfrmKeys>();
    HWND second = nullptr, back = nullptr;
    TModalResult result = RunModal(dialog, [&] {
        dialog->First->SetFocus();
        Press(VK_TAB);
        PumpUntil([&] { return dialog->Second->Focused(); }, 2000);
        second = GetFocus();
        Press(VK_TAB, {VK_SHIFT});
        PumpUntil([&] { return dialog->First->Focused(); }, 2000);
        back = GetFocus();
        dialog->SetModalResult(mrIgnore);
    });
    EXPECT_EQ(result, mrIgnore);
    EXPECT_EQ(second, dialog->Second->Handle());
    EXPECT_EQ(back, dialog->First->Handle());
}

TEST(DialogKeys, EnterPressesTheDefaultButtonAndEscTheCancelButton)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmKeys>();
    auto* dialog = Application().CreateForm<TfrmKeys>();
    EXPECT_EQ(RunModal(dialog, [&] {
        dialog->First->SetFocus();
        Press(VK_RETURN);
    }), mrOk);
    EXPECT_EQ(RunModal(dialog, [&] {
        dialog->Second->SetFocus();
        Press(VK_ESCAPE);
    }), mrCancel);
}

TEST(DialogKeys, EscWithoutACancelButtonStillClosesAModalForm)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmKeys>();
    auto* dialog = Application().CreateForm<TfrmKeys>();
    dialog->Cancel->Cancel = false;
    EXPECT_EQ(RunModal(dialog, [&] {
        dialog->First->SetFocus();
        Press(VK_ESCAPE);
    }), mrCancel);
}

TEST(DialogKeys, AMnemonicPressesItsButton)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmKeys>();
    auto* dialog = Application().CreateForm<TfrmKeys>();
    int applied = 0;
    dialog->Apply->OnClick = [&](TObject*) {
        ++applied;
        dialog->SetModalResult(mrRetry);
    };
    EXPECT_EQ(RunModal(dialog, [&] {
        dialog->Second->SetFocus();
        Press('A', {VK_MENU});
    }), mrRetry);
    EXPECT_EQ(applied, 1);
}

TEST(DialogKeys, AModalFormDisablesEveryOtherWindowOfTheThreadAndAsksBeforeClosing)
{
    TApplicationScope scope;
    auto* main = Application().CreateForm<TfrmKeys>();
    auto* other = Application().CreateForm<TfrmKeys>();
    auto* dialog = Application().CreateForm<TfrmKeys>();
    main->Show();
    other->Show();
    int asked = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& canClose) {
        // Refused the first time: the loop goes on, and the next close is asked again.
        canClose = ++asked > 1;
        if (!canClose)
            PostMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
    };
    bool mainDisabled = false, otherDisabled = false;
    TModalResult result = RunModal(dialog, [&] {
        mainDisabled = !IsWindowEnabled(main->Handle());
        otherDisabled = !IsWindowEnabled(other->Handle());
        PostMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
}
