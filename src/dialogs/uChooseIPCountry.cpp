#include "dialogs/uChooseIPCountry.h"

#include "framework/config/CLSettings.h"
#include "framework/engine/CLEngine.h"

namespace vp {

namespace {

// Any country: the first item stands for it.
constexpr StringView kAnyCountry = u"UN";
const String kTargetCountrySetting = u"TARGET_COUNTRY";

} // namespace

const TClassInfo& TfrmChooseIPCountry::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmChooseIPCountry, TForm>(u"TfrmChooseIPCountry").Build();
    return info;
}

TfrmChooseIPCountry::TfrmChooseIPCountry(TComponent* aOwner, TProxyManager* aProxyManager, TPngImageList* aFlags)
    : TForm(aOwner), FProxyManager(aProxyManager)
{
    SetName(u"frmChooseIPCountry");
    SetCaption(u"Select Fake Location");
    BorderStyle = TBorderStyle::bsDialog;
    Position = TPosition::poMainFormCenter;
    SetClientSize(451, 450);

    TCLEngine* engine = GetCLEngine();
    TspSkinData* skinData = engine ? engine->SkinData() : nullptr;
    if (!aFlags && aOwner)
        aFlags = dynamic_cast<TPngImageList*>(aOwner->FindComponent(u"imglstFlag"));

    spDynamicSkinForm = NewDialogFrame(this, skinData, TDialogFrameButtons::SysMenuAndClose);

    // Translated like every window, so the binder gets the program's language data.
    CLMultiLang = new TCLMultiLang(this);
    CLMultiLang->SetName(u"CLMultiLang");
    CLMultiLang->SetLanguageData(engine ? engine->LanguageData() : nullptr);

    pnlList = NewSkinControl<TspSkinPanel>(this, this, u"pnlList", skinData);
    pnlList->SetBounds(8, 8, 435, 388);
    sbV = NewSkinControl<TspSkinScrollBar>(this, pnlList, u"sbV", skinData);
    sbV->SetWidth(16);
    sbV->SetAlign(TAlign::alRight);
    lvList = NewSkinControl<TspSkinListView>(this, pnlList, u"lvList", skinData);
    lvList->SetAlign(TAlign::alClient);
    lvList->SetLargeImages(aFlags);
    lvList->SetSkinScrollBar(sbV);
    lvList->OnSelectItem = [this](TObject* Sender, TListItem* Item, bool Selected) {
        lvListSelectItem(Sender, Item, Selected);
    };
    lvList->OnDblClick = [this](TObject* Sender) { lvListDblClick(Sender); };

    btnOK = NewSkinControl<TspSkinButton>(this, this, u"btnOK", skinData);
    btnOK->SetBounds(262, 408, 85, 30);
    btnOK->SetCaption(u"&OK");
    btnOK->SetDefault(true);
    // The result is set by the handler once the choice is stored, not before.
    btnOK->OnClick = [this](TObject* Sender) { btnOKClick(Sender); };
    btnCancel = NewSkinControl<TspSkinButton>(this, this, u"btnCancel", skinData);
    btnCancel->SetBounds(355, 408, 85, 30);
    btnCancel->SetCaption(u"&Cancel");
    btnCancel->SetCancel(true);
    btnCancel->ModalResult = mrCancel;

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

void TfrmChooseIPCountry::FormCreate(TObject*)
{
    LoadList();
}

void TfrmChooseIPCountry::FormShow(TObject*)
{
    lvList->SetFocus();
    lvList->ScrollIntoView(lvList->ItemIndex());
}

int TfrmChooseIPCountry::FlagIndex(StringView code) const
{
    TPngImageList* flags = lvList->LargeImages();
    return flags ? flags->IndexOf(code) : -1;
}

void TfrmChooseIPCountry::AddItem(const String& caption, StringView code, bool select)
{
    TListItem* item = lvList->Items().Add();
    item->SetCaption(caption);
    item->SetImageIndex(FlagIndex(code));
    // Two items of one code (two names for a country): the first keeps the selection.
    if (select && lvList->ItemIndex() < 0)
        lvList->SetSelected(item);
}

void TfrmChooseIPCountry::LoadList()
{
    lvList->Items().Clear();
    const String target =
        FProxyManager ? FProxyManager->FTargetCountry : GetCLSettings().GetSettingString(kTargetCountrySetting);
    AddItem(CLMultiLang->GetResString(u"Auto Selected"), kAnyCountry, SameText(target, kAnyCountry));
    if (!FProxyManager) {
        btnOK->SetEnabled(lvList->ItemIndex() >= 0);
        return;
    }
    TStringList countries;
    FProxyManager->GetCountryList(&countries);
    for (const String& name : countries) {
        const String code = FProxyManager->GetCountryShort(name);
        AddItem(name, code, SameText(target, code));
    }
    btnOK->SetEnabled(lvList->ItemIndex() >= 0);
}

void TfrmChooseIPCountry::lvListSelectItem(TObject*, TListItem*, bool)
{
    // Nothing chosen, nothing to confirm: OK waits for an item.
    btnOK->SetEnabled(lvList->ItemIndex() >= 0);
}

void TfrmChooseIPCountry::lvListDblClick(TObject*)
{
    if (lvList->ItemIndex() >= 0)
        btnOKClick(btnOK);
}

void TfrmChooseIPCountry::btnOKClick(TObject*)
{
    TListItem* item = lvList->Selected();
    if (!item)
        return;
    const String code = item->Index() == 0 ? String(kAnyCountry)
                        : FProxyManager   ? FProxyManager->GetCountryShort(item->Caption())
                                          : String();
    if (FProxyManager)
        FProxyManager->FTargetCountry = code;
    GetCLSettings().SetSettingstring(kTargetCountrySetting, code);
    SetModalResult(mrOk);
}

} // namespace vp
