#include "support/UiTestSupport.h"

#include <commctrl.h>

#include "framework/ui/Forms.h"
#include "framework/ui/StdCtrls.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

constexpr UINT kProbe = WM_APP + 0x31;

// Records what reaches its own handling, and answers reflected notifications.
class TRecordingControl : public TWinControl {
    VP_CLASS(TRecordingControl)
public:
    explicit TRecordingControl(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 50, 20); }
    std::vector<UINT> Seen;
    LRESULT NotifyAnswer = 0;

protected:
    void WndProc(TMessage& message) override
    {
        Seen.push_back(message.Msg);
        if (message.Msg == CN_NOTIFY) {
            message.Result = NotifyAnswer;
            message.Handled = true;
            return;
        }
        TWinControl::WndProc(message);
    }
};

const TClassInfo& TRecordingControl::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TRecordingControl, TWinControl>(u"TRecordingControl").Build();
    return info;
}

class TfrmRouting : public TForm {
    VP_CLASS(TfrmRouting)
public:
    explicit TfrmRouting(TComponent* owner) : TForm(owner)
    {
        Child = new TRecordingControl(this);
        Child->SetParent(this);
        Button = new TButton(this);
        Button->SetParent(this);
        Button->SetCaption(u"Go");
    }
    TRecordingControl* Child;
    TButton* Button;
};

const TClassInfo& TfrmRouting::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmRouting, TForm>(u"TfrmRouting").Build();
    return info;
}

bool Contains(const std::vector<UINT>& seen, UINT msg)
{
    return std::find(seen.begin(), seen.end(), msg) != seen.end();
}

} // namespace

TEST(MessageRouting, ToolkitWindowsAreBoundAtTheirFirstCreationMessages)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmRouting>();
    HWND child = form->Child->Handle();
    EXPECT_TRUE(Contains(form->Child->Seen, WM_NCCREATE));
    EXPECT_TRUE(Contains(form->Child->Seen, WM_CREATE));
    EXPECT_EQ(TWinControl::FindControl(child), form->Child);
    EXPECT_EQ(TWinControl::FindControl(form->Button->Handle()), form->Button); // a subclassed system button
    EXPECT_EQ(GetPropW(child, L"VeilportControl"), nullptr);
    EXPECT_EQ(TWinControl::FindControl(GetDesktopWindow()), nullptr);
}

TEST(MessageRouting, HooksRunNewestFirstAndCanBeRemovedInAnyOrder)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmRouting>();
    std::vector<char> order;
    auto hookNamed = [&](char name) {
        return form->AddMessageHook([&order, name](TMessage& m) {
            if (m.Msg == kProbe)
                order.push_back(name);
        });
    };
    THookToken a = hookNamed('a');
    THookToken b = hookNamed('b');
    THookToken c = hookNamed('c');
    form->Perform(kProbe, 0, 0);
    EXPECT_EQ(order, (std::vector<char>{'c', 'b', 'a'}));

    order.clear();
    b.Remove(); // the middle one first
    form->Perform(kProbe, 0, 0);
    EXPECT_EQ(order, (std::vector<char>{'c', 'a'}));

    order.clear();
    c.Remove(); // then the newest
    THookToken d = hookNamed('d');
    form->Perform(kProbe, 0, 0);
    EXPECT_EQ(order, (std::vector<char>{'d', 'a'}));
    EXPECT_FALSE(b.Active());
    EXPECT_TRUE(a.Active());
}

TEST(MessageRouting, AHookThatAnswersStopsTheMessageAndHooksMayUnhookWhileRunning)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmRouting>();
    int olderRan = 0;
    THookToken older = form->AddMessageHook([&](TMessage& m) {
        if (m.Msg == kProbe)
            ++olderRan;
    });
    THookToken answering;
    answering = form->AddMessageHook([&](TMessage& m) {
        if (m.Msg != kProbe)
            return;
        m.Result = 7;
        m.Handled = true;
        answering.Remove(); // itself, while it runs
        older.Remove();
    });
    EXPECT_EQ(SendMessageW(form->Handle(), kProbe, 0, 0), 7);
    EXPECT_EQ(olderRan, 0);
    EXPECT_EQ(SendMessageW(form->Handle(), kProbe, 0, 0), 0);
    EXPECT_EQ(olderRan, 0);
}

TEST(MessageRouting, ATokenMayOutliveItsWindow)
{
    THookToken token;
    {
        TApplicationScope scope;
        auto* form = Application().CreateForm<TfrmRouting>();
        token = form->AddMessageHook([](TMessage&) { });
        EXPECT_TRUE(token.Active());
    }
    EXPECT_FALSE(token.Active());
    token.Remove();
}

TEST(MessageRouting, NotificationsAndCommandsAreReflectedToTheChildTheyConcern)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmRouting>();
    form->Child->NotifyAnswer = 55;
    NMHDR header{form->Child->Handle(), static_cast<UINT_PTR>(form->Child->ControlId()), NM_CLICK};
    EXPECT_EQ(SendMessageW(form->Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)), 55);
    EXPECT_TRUE(Contains(form->Child->Seen, CN_NOTIFY));

    int clicks = 0;
    form->Button->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(form->Button->Handle(), BM_CLICK, 0, 0); // the system button tells its parent
    EXPECT_EQ(clicks, 1);
}

TEST(MessageRouting, AFormFreedOnCloseSurvivesTheHandlerThatClosedIt)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmRouting>();
    auto* dialog = Application().CreateForm<TfrmRouting>();
    dialog->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    const int before = Application().ComponentCount();
    bool survived = false;
    THookToken hook = dialog->AddMessageHook([&](TMessage& m) {
        if (m.Msg != kProbe)
            return;
        dialog->Close();
        // Later messages, even a nested loop, run while this handler is still on the stack.
        PostMessageW(dialog->Handle(), WM_NULL, 0, 0);
        Application().ProcessMessages();
        survived = dialog->Caption() == u"" && dialog->Child->Seen.size() > 0;
        m.Handled = true;
    });
    SendMessageW(dialog->Handle(), kProbe, 0, 0);
    EXPECT_TRUE(survived);
    EXPECT_EQ(Application().ComponentCount(), before);
    hook = THookToken();
    EXPECT_TRUE(PumpUntil([&] { return Application().ComponentCount() == before - 1; }));
}
