// The country chooser: its list from the pools and the flags, the preselected target, what
// OK, Cancel, a double click and Esc store.
#include "DialogTestHost.h"

#include "dialogs/uChooseIPCountry.h"
#include "framework/config/CLSettings.h"
#include "support/BrowsersTestSupport.h"
#include "support/UiTestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const String kPools = u"192.0.2.1:80|Germany|DE|10|51;192.0.2.2:80|United States|US|-97|38;"
                      u"192.0.2.3:80|Atlantis|XX|0|0;192.0.2.4:80|Germany|DE|10|51;";

class ChooseIPCountry : public ::testing::Test {
protected:
    ChooseIPCountry()
    {
        Host = Application().CreateForm<TfrmDialogHost>();
        EXPECT_EQ(Host->LoadFlags({u"DE", u"UN", u"US"}), 3);
    }
    TfrmChooseIPCountry* Make(const String& target)
    {
        Pools.Manager.FTargetCountry = target;
        return NewForm<TfrmChooseIPCountry>(Host, &Pools.Manager);
    }
    static std::vector<String> Captions(TfrmChooseIPCountry& dialog)
    {
        std::vector<String> captions;
        for (int i = 0; i < dialog.lvList->Items().Count(); ++i)
            captions.push_back(dialog.lvList->Items()[i]->Caption());
        return captions;
    }
    static String Stored() { return GetCLSettings().GetSettingString(u"TARGET_COUNTRY"); }

    TSettingOverride FStored{u"TARGET_COUNTRY", u"FR"};
    TApplicationScope FScope;
    TfrmDialogHost* Host;
    TPools Pools{kPools, u"198.51.100.9:80|France|FR|2|46|1;"};
};

// Answers the modal loop with what the handler does to the shown dialog.
TModalResult ShowWith(TfrmChooseIPCountry& dialog, const std::function<void()>& act)
{
    SetModalResponder([&](const TModalRequest& request) {
        EXPECT_EQ(request.Form, &dialog);
        act();
        return dialog.ModalResult() == mrNone ? mrCancel : dialog.ModalResult();
    });
    TModalResult result = dialog.ShowModal();
    SetModalResponder(nullptr);
    return result;
}

} // namespace

TEST_F(ChooseIPCountry, ListsAutoSelectedThenEachCountryOnceWithItsFlagOrNone)
{
    TfrmChooseIPCountry* dialog = Make(u"UN");
    EXPECT_EQ(Captions(*dialog), (std::vector<String>{u"Auto Selected", u"Germany", u"United States", u"Atlantis", u"France"}));
    TListItems& items = dialog->lvList->Items();
    EXPECT_EQ(dialog->lvList->LargeImages(), Host->imglstFlag); // the owner's flags by default
    EXPECT_EQ(items[0]->ImageIndex(), 1); // "UN"
    EXPECT_EQ(items[1]->ImageIndex(), 0);
    EXPECT_EQ(items[2]->ImageIndex(), 2);
    EXPECT_EQ(items[3]->ImageIndex(), -1); // no flag: no picture
    EXPECT_EQ(items[4]->ImageIndex(), -1);
    EXPECT_EQ(dialog->Caption(), u"Select Fake Location");
    EXPECT_EQ(dialog->ClientWidth(), 451);
    EXPECT_EQ(dialog->ClientHeight(), 450);
    EXPECT_EQ(dialog->spDynamicSkinForm->SkinData(), Host->spSkinData);

    // An explicit list wins over the owner's.
    TPngImageList other(nullptr);
    other.Add(u"us");
    TfrmChooseIPCountry* second = NewForm<TfrmChooseIPCountry>(Host, &Pools.Manager, &other);
    EXPECT_EQ(second->lvList->Items()[2]->ImageIndex(), 0);
    EXPECT_EQ(second->lvList->Items()[0]->ImageIndex(), -1);
    delete second;
}

TEST_F(ChooseIPCountry, AutoSelectedIsPreselectedForUNAndConfirmingStoresUN)
{
    TfrmChooseIPCountry* dialog = Make(u"un");
    EXPECT_EQ(dialog->lvList->ItemIndex(), 0);
    EXPECT_TRUE(dialog->btnOK->Enabled());
    EXPECT_EQ(ShowWith(*dialog, [&] { dialog->btnOK->Click(); }), mrOk);
    EXPECT_EQ(Pools.Manager.FTargetCountry, u"UN");
    EXPECT_EQ(Stored(), u"UN");
}

TEST_F(ChooseIPCountry, TheTargetIsFoundWithoutRegardToCaseAndAnotherChoiceStoresItsCode)
{
    TfrmChooseIPCountry* dialog = Make(u"us");
    EXPECT_EQ(dialog->lvList->ItemIndex(), 2);
    EXPECT_EQ(ShowWith(*dialog,
                  [&] {
                      dialog->lvList->SetItemIndex(4); // a country of the super pool
                      dialog->btnOK->Click();
                  }),
        mrOk);
    EXPECT_EQ(Pools.Manager.FTargetCountry, u"FR");
    EXPECT_EQ(Stored(), u"FR");
}

TEST_F(ChooseIPCountry, NamesDifferingOnlyInCaseGiveOneItemThatStoresTheFirstEntrysCode)
{
    TPools pools(u"192.0.2.1:80|United States|US|0|0;192.0.2.2:80|UNITED STATES|UM|0|0;192.0.2.3:80|Germany|DE|0|0;");
    pools.Manager.FTargetCountry = u"UM";
    TfrmChooseIPCountry* dialog = NewForm<TfrmChooseIPCountry>(Host, &pools.Manager);
    EXPECT_EQ(Captions(*dialog), (std::vector<String>{u"Auto Selected", u"United States", u"Germany"}));
    EXPECT_EQ(dialog->lvList->ItemIndex(), -1); // "UM" has no item of its own
    EXPECT_FALSE(dialog->btnOK->Enabled());
    dialog->lvList->SetItemIndex(1);
    EXPECT_TRUE(dialog->btnOK->Enabled());
    dialog->btnOK->Click();
    EXPECT_EQ(dialog->ModalResult(), mrOk);
    EXPECT_EQ(pools.Manager.FTargetCountry, u"US");
    EXPECT_EQ(Stored(), u"US");
    delete dialog;
}

TEST_F(ChooseIPCountry, CancelAndAnEmptySelectionChangeNothing)
{
    TfrmChooseIPCountry* dialog = Make(u"DE");
    EXPECT_EQ(dialog->lvList->ItemIndex(), 1); // the first of the two German entries
    EXPECT_EQ(ShowWith(*dialog,
                  [&] {
                      dialog->lvList->SetItemIndex(2);
                      dialog->btnCancel->Click();
                  }),
        mrCancel);
    EXPECT_EQ(Pools.Manager.FTargetCountry, u"DE");
    EXPECT_EQ(Stored(), u"FR");

    // Nothing selected: OK cannot be pressed, and a call of its handler stores nothing.
    dialog->lvList->SetItemIndex(-1);
    EXPECT_FALSE(dialog->btnOK->Enabled());
    dialog->SetModalResult(mrNone);
    dialog->btnOKClick(dialog->btnOK);
    EXPECT_EQ(dialog->ModalResult(), mrNone);
    EXPECT_EQ(Pools.Manager.FTargetCountry, u"DE");
    EXPECT_EQ(Stored(), u"FR");
}

TEST_F(ChooseIPCountry, EmptyPoolsListOnlyAutoSelected)
{
    TPools empty(u"");
    empty.Manager.FTargetCountry = u"US";
    TfrmChooseIPCountry* dialog = NewForm<TfrmChooseIPCountry>(Host, &empty.Manager);
    EXPECT_EQ(Captions(*dialog), (std::vector<String>{u"Auto Selected"}));
    EXPECT_EQ(dialog->lvList->ItemIndex(), -1);
    delete dialog;
}

namespace {

// The dialog shown for real; input arrives from the X server once it shows. A dialog that
// never closes is cancelled after a while, so the test fails instead of hanging.
TModalResult ShowForReal(TfrmChooseIPCountry& dialog, const std::function<void()>& input)
{
    static TfrmChooseIPCountry* current = nullptr;
    current = &dialog;
    dialog.OnActivate = [&, done = false](TObject*) mutable {
        if (!std::exchange(done, true))
            input();
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 15000, [](HWND, UINT, UINT_PTR, DWORD) {
        current->SetModalResult(mrAbort);
    });
    TModalResult result = dialog.ShowModal();
    KillTimer(nullptr, timer);
    return result;
}

} // namespace

TEST_F(ChooseIPCountry, ADoubleClickOnAnItemConfirmsItAndEscCancels)
{
    TfrmChooseIPCountry* dialog = Make(u"UN");
    EXPECT_EQ(ShowForReal(*dialog,
                  [&] {
                      RECT item = dialog->lvList->ItemRect(2);
                      XClick(dialog->lvList->Handle(), {(item.left + item.right) / 2, (item.top + item.bottom) / 2}, true);
                  }),
        mrOk);
    EXPECT_EQ(Pools.Manager.FTargetCountry, u"US");
    EXPECT_EQ(Stored(), u"US");
    delete dialog;

    dialog = Make(u"US");
    EXPECT_EQ(ShowForReal(*dialog, [] { XKey(u"Down Escape"); }), mrCancel);
    EXPECT_EQ(Pools.Manager.FTargetCountry, u"US");
    EXPECT_EQ(Stored(), u"US");
    delete dialog;

    dialog = Make(u"US");
    EXPECT_EQ(ShowForReal(*dialog, [] { XKey(u"Right Return"); }), mrOk); // Enter on the next item
    EXPECT_EQ(Pools.Manager.FTargetCountry, u"XX");
    delete dialog;
}
