// TfrmChooseIPCountry: the modal dialog in which the user picks the country the program
// appears from: "Auto Selected" (any country, the code "UN") or one of the countries of the
// proxy pools, each with its flag. OK stores the choice in the proxy manager's FTargetCountry
// and in the setting "TARGET_COUNTRY" and closes with mrOk; Cancel and the close command
// change nothing.
#pragma once

#include "framework/config/CLMultiLang.h"
#include "framework/ui/Forms.h"
#include "framework/ui/PngImageList.h"
#include "framework/ui/SkinButton.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinListView.h"
#include "framework/ui/SkinPanel.h"
#include "framework/ui/SkinScrollBar.h"
#include "proxy/uProxyManager.h"

namespace vp {

class TfrmChooseIPCountry : public TForm {
    VP_CLASS(TfrmChooseIPCountry)
public:
    // aProxyManager: the pools listed and the target country set on OK; without one only
    // "Auto Selected" is listed and OK stores the setting alone. aFlags: the flags, each item
    // named by its country code; without it the owner's image list "imglstFlag" (the main
    // window's), when it has one.
    explicit TfrmChooseIPCountry(
        TComponent* aOwner, TProxyManager* aProxyManager = nullptr, TPngImageList* aFlags = nullptr);

    // Fills the list and selects the current target country (creation does this).
    void LoadList();
    // Stores the selected item's country and closes the dialog with mrOk.
    void btnOKClick(TObject* Sender);

    TProxyManager* ProxyManager() const { return FProxyManager; }

    TspDynamicSkinForm* spDynamicSkinForm;
    TCLMultiLang* CLMultiLang;
    TspSkinPanel* pnlList;
    TspSkinScrollBar* sbV;
    TspSkinListView* lvList;
    TspSkinButton* btnOK;
    TspSkinButton* btnCancel;

private:
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void lvListSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void lvListDblClick(TObject* Sender);
    // The flag's index in the list view's images; -1 gives no picture.
    int FlagIndex(StringView code) const;
    void AddItem(const String& caption, StringView code, bool select);

    TProxyManager* FProxyManager;
};

} // namespace vp
