#include "SkinUiTestSupport.h"
#include "support/TestSupport.h"
#include "support/UiTestSupport.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/RegisteredMessages.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinPopupMenu.h"
#include "framework/ui/TrayIcon.h"

#include <shellapi.h>

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

TMenuItem* AddItem(TComponent& owner, TMenuItem* parent, const String& caption, int* clicks = nullptr)
{
    auto* item = new TMenuItem(&owner);
    item->SetCaption(caption);
    if (clicks)
        item->OnClick = [clicks](TObject*) { ++*clicks; };
    parent->Add(item);
    return item;
}

bool IconKnownToShell(HWND window)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = TspTrayIcon::kIconId;
    data.uFlags = NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &data);
}

} // namespace

TEST(MenuItems, FollowTheirActionAndRebindingChangesCaptionStateAndEffectTogether)
{
    TComponent owner(nullptr);
    auto* hide = new TAction(&owner);
    hide->SetCaption(u"&Hide IP");
    auto* stop = new TAction(&owner);
    stop->SetCaption(u"&Stop Hide");
    stop->SetChecked(true);
    int hides = 0, stops = 0;
    hide->OnExecute = [&](TObject*) { ++hides; };
    stop->OnExecute = [&](TObject*) { ++stops; };
    auto* item = new TMenuItem(&owner);
    item->SetAction(hide);
    EXPECT_EQ(item->Caption(), u"&Hide IP");
    item->Click();
    hide->SetCaption(u"&Hide");
    hide->SetEnabled(false);
    EXPECT_EQ(item->Caption(), u"&Hide");
    EXPECT_FALSE(item->Enabled());
    item->Click(); // disabled: nothing runs
    item->SetAction(stop);
    EXPECT_EQ(item->Caption(), u"&Stop Hide");
    EXPECT_TRUE(item->Enabled());
    EXPECT_TRUE(item->Checked());
    item->Click();
    hide->SetCaption(u"&Hide IP"); // the old action no longer drives it
    EXPECT_EQ(item->Caption(), u"&Stop Hide");
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(stops, 1);
    delete stop;
    EXPECT_EQ(item->Action(), nullptr);
    // The language binding sees the action as the design's action type.
    const TPropInfo* action = item->ClassInfo().FindProperty(u"Action");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->TypeName, u"TBasicAction");
}

TEST(MenuItems, AnItemSitsInOneParentAndLeavesItWhenItGoes)
{
    TComponent owner(nullptr);
    auto* root = new TMenuItem(&owner);
    auto* other = new TMenuItem(&owner);
    TMenuItem* a = AddItem(owner, root, u"A");
    TMenuItem* b = AddItem(owner, root, u"B");
    other->Add(a); // moves
    EXPECT_EQ(root->Count(), 1);
    EXPECT_EQ(a->Parent(), other);
    EXPECT_THROW(a->Add(other), Exception); // no item holds its own parent
    delete b;
    EXPECT_EQ(root->Count(), 0);
    delete other;
    EXPECT_EQ(a->Parent(), nullptr);
}

TEST(SkinPopupMenu, ItemsAreDrawnAtTheSkinsSizesAndTheKeyboardChoosesThem)
{
    TApplicationScope scope;
    TComponent owner(nullptr);
    auto* data = new TspSkinData(&owner);
    auto* menu = new TspSkinPopupMenu(&owner);
    menu->SetSkinData(data);
    int first = 0, third = 0, exits = 0;
    TMenuItem* root = menu->Items();
    AddItem(owner, root, u"-"); // separators never start, end or double
    AddItem(owner, root, u"&First", &first);
    AddItem(owner, root, u"-");
    AddItem(owner, root, u"-");
    AddItem(owner, root, u"Hidden")->SetVisible(false);
    AddItem(owner, root, u"&Third", &third)->SetChecked(true);
    AddItem(owner, root, u"E&xit", &exits);
    AddItem(owner, root, u"-");
    const TSkinMetrics& metrics = data->Skin().Metrics();

    std::vector<String> texts;
    RECT item{}, separator{};
    COLORREF hot = 0;
    {
        int step = 0;
        TWhileModal keys([&] {
            HWND window = OpenMenuWindow();
            if (!window)
                return false;
            if (step++ == 0) {
                texts = OpenMenuTexts();
                GetMenuItemRect(nullptr, OpenMenuHandle(), 0, &item);
                GetMenuItemRect(nullptr, OpenMenuHandle(), 1, &separator);
                PostKey(window, VK_DOWN);
                return false;
            }
            if (step == 4) { // the first item has been highlighted a while
                hot = ScreenPixel(item.left + 6, (item.top + item.bottom) / 2);
                PostKey(window, VK_DOWN);
                PostKey(window, VK_RETURN);
                return true;
            }
            return false;
        });
        EXPECT_TRUE(menu->Popup(200, 200));
    }
    EXPECT_EQ(texts, (std::vector<String>{u"&First", u"-", u"&Third", u"E&xit"}));
    EXPECT_EQ(item.bottom - item.top, ScaleToDpi(metrics.MenuItemHeight, menu->PopupDpi()));
    EXPECT_EQ(separator.bottom - separator.top, ScaleToDpi(metrics.MenuSeparatorHeight, menu->PopupDpi()));
    EXPECT_TRUE(ColorNear(hot, data->Skin().Element(skin::kPopupMenuItem).Fill[TSkinState::Hot], 8));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(third, 1);
    EXPECT_FALSE(menu->Active());

    // The accelerator of an owner-drawn item, through WM_MENUCHAR.
    {
        TWhileModal key([&] {
            HWND window = OpenMenuWindow();
            return window && PostMessageW(window, WM_CHAR, u'x', 1);
        });
        EXPECT_TRUE(menu->Popup(200, 200));
    }
    EXPECT_EQ(exits, 1);
}

TEST(SkinPopupMenu, AnItemThatGoesWhileTheMenuIsOpenIsNotRun)
{
    TApplicationScope scope;
    TComponent owner(nullptr);
    auto* menu = new TspSkinPopupMenu(&owner);
    int clicks = 0;
    TMenuItem* doomed = AddItem(owner, menu->Items(), u"&Doomed", &clicks);
    TWhileModal close([&] {
        HWND window = OpenMenuWindow();
        if (!window)
            return false;
        delete doomed;
        PostKey(window, VK_DOWN);
        PostKey(window, VK_RETURN);
        return true;
    });
    EXPECT_FALSE(menu->Popup(100, 100));
    EXPECT_EQ(clicks, 0);
}

TEST(TrayIcon, ComesBackByItselfWhenTheShellRestarts)
{
    TApplicationScope scope;
    TComponent owner(nullptr);
    auto* tray = new TspTrayIcon(&owner);
    tray->SetHint(u"Shadeway");
    tray->SetVisible(true);
    EXPECT_FALSE(tray->Shown()); // components of a window still loading wait for Loaded
    LoadComponentTree(owner);
    ASSERT_TRUE(tray->Shown());
    HWND window = tray->Handle();
    // The hidden window is a top-level one: only those hear "TaskbarCreated".
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(IconKnownToShell(window));

    // The shell forgets every icon when it restarts.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = TspTrayIcon::kIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(IconKnownToShell(window));
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(HWND_BROADCAST, RegisteredMessage(kMsgTaskbarCreated), 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
    EXPECT_TRUE(PumpUntil([&] { return IconKnownToShell(window); }, 3000));

    // An icon file replaces the icon; a file that holds none leaves it.
    HICON programs = tray->Icon();
    EXPECT_TRUE(tray->LoadIconFromFile(FromWide(SourcePath("data/res/icon.ico").wstring())));
    EXPECT_NE(tray->Icon(), programs);
    HICON loaded = tray->Icon();
    EXPECT_FALSE(tray->LoadIconFromFile(FromWide(SourcePath("data/const.dat").wstring())));
    EXPECT_EQ(tray->Icon(), loaded);
    EXPECT_TRUE(IconKnownToShell(window));

    // Hidden, it stays away even then.
    tray->SetVisible(false);
    EXPECT_FALSE(IconKnownToShell(window));
    SendMessageW(window, RegisteredMessage(kMsgTaskbarCreated), 0, 0);
    EXPECT_FALSE(IconKnownToShell(window));
}

namespace {

// A form whose frame always shows its tray icon; its creation handler sees whether the shell
// knows the icon yet.
class TTrayForm : public TForm {
public:
    explicit TTrayForm(TComponent* aOwner) : TForm(aOwner)
    {
        Tray = new TspTrayIcon(this);
        auto* frame = new TspDynamicSkinForm(this);
        frame->SetTrayIcon(Tray);
        frame->SetAlwaysShowTrayIcon(true);
        OnCreate = [this](TObject*) { ShownDuringCreate = Tray->Shown(); };
    }
    TspTrayIcon* Tray;
    bool ShownDuringCreate = true;
};

} // namespace

TEST(TrayIcon, AFormBeingBuiltShowsItOnceItsCreationHandlerHasRun)
{
    TApplicationScope scope;
    TTrayForm* form = NewForm<TTrayForm>(&Application());
    EXPECT_FALSE(form->ShownDuringCreate);
    ASSERT_TRUE(form->Tray->Shown());
    EXPECT_TRUE(IconKnownToShell(form->Tray->Handle()));
    delete form;

    // A frame put on a form that is already there shows it at once.
    TForm plain(nullptr);
    auto* tray = new TspTrayIcon(&plain);
    auto* frame = new TspDynamicSkinForm(&plain);
    frame->SetTrayIcon(tray);
    frame->SetAlwaysShowTrayIcon(true);
    LoadComponentTree(plain);
    EXPECT_TRUE(tray->Shown());
}

TEST(TrayIcon, ClicksKeysAndItsMenuTheWayTheShellSendsThem)
{
    TApplicationScope scope;
    TComponent owner(nullptr);
    auto* tray = new TspTrayIcon(&owner);
    auto* menu = new TspSkinPopupMenu(&owner);
    int clicks = 0, opens = 0;
    AddItem(owner, menu->Items(), u"&Open...", &opens);
    tray->SetPopupMenu(menu);
    tray->OnClick = [&](TObject*) { ++clicks; };
    tray->SetVisible(true);
    LoadComponentTree(owner);
    ASSERT_TRUE(tray->Shown());
    HWND window = tray->Handle();
    // The shell's version 4 messages: the event and the icon in lParam, the anchor in wParam.
    auto event = [&](UINT what) {
        SendMessageW(window, TspTrayIcon::kCallbackMessage, MAKEWPARAM(300, 300), MAKELPARAM(what, TspTrayIcon::kIconId));
    };
    event(NIN_SELECT);
    event(NIN_KEYSELECT);
    event(NIN_KEYSELECT); // the shell's repeat of one Enter
    EXPECT_EQ(clicks, 2);
    tray->SetEnabled(false);
    event(NIN_SELECT);
    EXPECT_EQ(clicks, 2);
    tray->SetEnabled(true);

    HWND foreground = nullptr;
    {
        TWhileModal choose([&] {
            HWND open = OpenMenuWindow();
            if (!open)
                return false;
            foreground = GetForegroundWindow();
            PostKey(open, VK_DOWN);
            PostKey(open, VK_RETURN);
            return true;
        });
        event(WM_CONTEXTMENU);
    }
    EXPECT_EQ(foreground, window); // so the menu closes when the user clicks elsewhere
    EXPECT_EQ(opens, 1);
}
