#include "ControlsDemoForm.h"

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/PathText.h"
#include "framework/ui/GdiPlus.h"

using namespace vp;

namespace vptest {

const TClassInfo& TfrmControlsDemo::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmControlsDemo, TForm>(u"TfrmControlsDemo").Build();
    return info;
}

template <class T>
T* TfrmControlsDemo::Make(TWinControl* parent, const String& name)
{
    auto* control = new T(this);
    control->SetName(name);
    control->SetParent(parent);
    control->SetSkinData(spSkinData);
    return control;
}

TfrmControlsDemo::TfrmControlsDemo(TComponent* aOwner, const String& dataFolder)
    : TForm(aOwner), FDataFolder(dataFolder)
{
    SetCaption(u"Skinned controls");
    BorderStyle = TBorderStyle::bsSingle;
    Position = TPosition::poScreenCenter;
    SetClientSize(520, 400);

    spStoredSkin = new TspCompressedStoredSkin(this);
    LoadBuiltinSkin(*spStoredSkin);
    spSkinData = new TspSkinData(this);
    spSkinData->SetCompressedStoredSkin(spStoredSkin);

    actmgr = new TActionManager(this);
    actStartHide = new TAction(this);
    actStartHide->SetCaption(u"&Hide IP");
    actStartHide->SetHint(u"Hide IP");
    actStartHide->SetActionList(actmgr);
    actStopHide = new TAction(this);
    actStopHide->SetCaption(u"&Stop Hide");
    actStopHide->SetHint(u"Stop hiding");
    actStopHide->SetActionList(actmgr);
    actStartHide->OnExecute = [this](TObject*) {
        ++Greetings;
        Log(u"Hide IP");
        btnHide->SetAction(actStopHide);
    };
    actStopHide->OnExecute = [this](TObject*) {
        Log(u"Stop Hide");
        btnHide->SetAction(actStartHide);
    };

    imglstFlag = new TPngImageList(this);
    imglstFlag->SetWidth(48);
    imglstFlag->SetHeight(48);

    // The logo strip.
    pnLogo = Make<TspSkinPanel>(this, u"pnLogo");
    pnLogo->SetSkinDataName(u"Panel.Framed");
    pnLogo->SetHeight(65);
    pnLogo->SetAlign(TAlign::alTop);
    imgLogo = new TImage(this);
    imgLogo->SetName(u"imgLogo");
    imgLogo->SetParent(pnLogo);
    imgLogo->SetBounds(8, 8, 160, 49);
    imgLogo->SetStretch(true);
    imgLogo->SetCursor(TCursor::crHandPoint);
    imgLogo->SetHint(u"Veilport");
    lblTitle = Make<TspSkinStdLabel>(pnLogo, u"lblTitle");
    lblTitle->SetBounds(180, 24, 300, 16);
    lblTitle->SetCaption(u"One of each skinned control");

    // The pages, between the logo and the buttons.
    pnClient = Make<TspSkinPanel>(this, u"pnClient");
    pnClient->SetAlign(TAlign::alClient);
    pcDemo = Make<TspSkinPageControl>(pnClient, u"pcDemo");
    pcDemo->SetBounds(8, 8, 504, 275);

    // The button strip, made after the pages so that Tab reaches it after their controls.
    pnButtons = Make<TspSkinPanel>(this, u"pnButtons");
    pnButtons->SetHeight(44);
    pnButtons->SetAlign(TAlign::alBottom);

    tsGeneral = Make<TspSkinTabSheet>(this, u"tsGeneral");
    tsGeneral->SetCaption(u"&General");
    tsGeneral->SetPageControl(pcDemo);
    cbAutoRun = Make<TspSkinCheckRadioBox>(tsGeneral, u"cbAutoRun");
    cbAutoRun->SetBounds(4, 4, 470, 20);
    cbAutoRun->SetCaption(u"&Automatically run Veilport when I log on to Windows");
    cbAutoRun->SetHint(u"Starts with Windows");
    cbChangeIP = Make<TspSkinCheckRadioBox>(tsGeneral, u"cbChangeIP");
    cbChangeIP->SetBounds(4, 30, 300, 22);
    cbChangeIP->SetCaption(u"Change &IP Every                     Minutes ");
    // The number field sits over the blanks of the caption.
    edtChangeIPTime = Make<TspSkinSpinEdit>(tsGeneral, u"edtChangeIPTime");
    edtChangeIPTime->SetBounds(126, 30, 58, 22);
    edtChangeIPTime->SetMinValue(1);
    edtChangeIPTime->SetMaxValue(120);
    edtChangeIPTime->SetValue(10);
    lblInfo = Make<TspSkinStdLabel>(tsGeneral, u"lblInfo");
    lblInfo->SetWordWrap(true);
    lblInfo->SetAutoSize(false);
    lblInfo->SetBounds(4, 60, 230, 60);
    lblInfo->SetCaption(u"A word-wrapped label: its text breaks between words to fit its width, "
                        u"in the skin's font and colours.");
    lblLink = Make<TspSkinLinkLabel>(tsGeneral, u"lblLink");
    lblLink->SetLeft(4);
    lblLink->SetTop(128);
    lblLink->SetCaption(u"&Visit the home page");
    lblLink->SetURL(u"http://127.0.0.1:8900/");
    lblLink->SetHint(u"http://127.0.0.1:8900/");
    mmLog = Make<TspSkinMemo>(tsGeneral, u"mmLog");
    mmLog->SetBounds(250, 60, 232, 160);
    TStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines.Add(u"Log line " + IntToStr(i) + u": the log box scrolls");
    mmLog->SetLines(lines);

    tsCountries = Make<TspSkinTabSheet>(this, u"tsCountries");
    tsCountries->SetCaption(u"Co&untries");
    tsCountries->SetPageControl(pcDemo);
    pnlList = Make<TspSkinPanel>(tsCountries, u"pnlList");
    pnlList->SetBounds(0, 0, 400, 220);
    sbV = Make<TspSkinScrollBar>(pnlList, u"sbV");
    sbV->SetWidth(14);
    sbV->SetAlign(TAlign::alRight);
    lvList = Make<TspSkinListView>(pnlList, u"lvList");
    lvList->SetAlign(TAlign::alClient);
    lvList->SetLargeImages(imglstFlag);
    lvList->SetSkinScrollBar(sbV);
    imgFL = new TImage(this);
    imgFL->SetName(u"imgFL");
    imgFL->SetParent(tsCountries);
    imgFL->SetBounds(420, 10, 48, 48);
    imgFL->SetCursor(TCursor::crHandPoint);
    imgFL->SetTransparent(true);
    imgFL->SetHint(u"Flag of fake location");
    imgFL->SetShowHint(false);
    lblCountry = Make<TspSkinStdLabel>(tsCountries, u"lblCountry");
    lblCountry->SetBounds(410, 64, 70, 40);
    lblCountry->SetAutoSize(false);
    lblCountry->SetWordWrap(true);
    lvList->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
        ShowFlag(selected ? item->ImageIndex() : -1);
        lblCountry->SetCaption(selected ? item->Caption() : String());
    };
    lvList->OnDblClick = [this](TObject*) {
        if (TListItem* item = lvList->Selected())
            Log(u"Chose " + item->Caption());
    };

    tsProgress = Make<TspSkinTabSheet>(this, u"tsProgress");
    tsProgress->SetCaption(u"&Progress");
    tsProgress->SetPageControl(pcDemo);
    lblValue = Make<TspSkinStdLabel>(tsProgress, u"lblValue");
    lblValue->SetBounds(4, 8, 300, 16);
    lblValue->SetCaption(u"The field's value, out of 120:");
    gValue = Make<TspSkinGauge>(tsProgress, u"gValue");
    gValue->SetBounds(4, 30, 470, 16);
    gValue->SetMaxValue(120);
    gValue->SetValue(edtChangeIPTime->Value());
    edtChangeIPTime->OnChange = [this](TObject*) { gValue->SetValue(edtChangeIPTime->Value()); };
    lblWait = Make<TspSkinStdLabel>(tsProgress, u"lblWait");
    lblWait->SetBounds(4, 64, 300, 16);
    lblWait->SetCaption(u"Waiting for the server:");
    gWait = Make<TspSkinGauge>(tsProgress, u"gWait");
    gWait->SetBounds(4, 86, 470, 16);
    gWait->SetProgressAnimationPause(1000);
    gWait->StartProgressAnimation();

    btnHide = Make<TspSkinButton>(pnButtons, u"btnHide");
    btnHide->SetBounds(8, 6, 124, 32);
    btnHide->SetAction(actStartHide);
    btnSkin = Make<TspSkinButton>(pnButtons, u"btnSkin");
    btnSkin->SetBounds(140, 6, 90, 32);
    btnSkin->SetCaption(u"S&kin");
    btnSkin->SetHint(u"The next skin");
    btnSkin->OnClick = [this](TObject*) {
        if (SkinFiles.empty())
            return;
        FSkinIndex = (FSkinIndex + 1) % (SkinFiles.size() + 1);
        UseSkin(FSkinIndex == 0 ? String() : SkinFiles[FSkinIndex - 1]);
    };
    btnOK = Make<TspSkinButton>(pnButtons, u"btnOK");
    btnOK->SetBounds(340, 6, 82, 32);
    btnOK->SetCaption(u"&OK");
    btnOK->SetDefault(true);
    btnOK->ModalResult = mrOk;
    btnCancel = Make<TspSkinButton>(pnButtons, u"btnCancel");
    btnCancel->SetBounds(430, 6, 82, 32);
    btnCancel->SetCaption(u"&Cancel");
    btnCancel->SetCancel(true);
    btnCancel->ModalResult = mrCancel;

    if (!FDataFolder.empty()) {
        imgLogo->LoadFromFile(FDataFolder + u"res\\images\\about.png");
        LoadFlags(FDataFolder + u"res\\flag_short\\");
    }
}

void TfrmControlsDemo::LoadFlags(const String& folder)
{
    // A few countries, as the country list shows them.
    static const struct {
        const char16_t* Code;
        const char16_t* Name;
    } kCountries[] = {{u"UN", u"Auto Selected"}, {u"US", u"United States"}, {u"GB", u"United Kingdom"},
        {u"DE", u"Germany"}, {u"FR", u"France"}, {u"CA", u"Canada"}, {u"CH", u"Switzerland"}, {u"CN", u"China"},
        {u"JP", u"Japan"}, {u"NL", u"Netherlands"}, {u"SE", u"Sweden"}, {u"BR", u"Brazil"}, {u"AU", u"Australia"},
        {u"IT", u"Italy"}, {u"ES", u"Spain"}, {u"NO", u"Norway"}, {u"FI", u"Finland"}, {u"IE", u"Ireland"},
        {u"KR", u"Korea, Republic of"}, {u"SG", u"Singapore"}};
    for (const auto& country : kCountries) {
        const String file = folder + country.Code + u".PNG";
        if (FileExists(file)) {
            int index = imglstFlag->Add(country.Code);
            imglstFlag->LoadFromFile(index, file);
        }
        TListItem* item = lvList->Items().Add();
        item->SetCaption(country.Name);
        item->SetImageIndex(imglstFlag->IndexOf(country.Code));
    }
}

void TfrmControlsDemo::ShowFlag(int index)
{
    // As the main window shows its flag: the brush empties the square, the picture goes in.
    TCanvas& canvas = imgFL->Canvas();
    canvas.FillRect(TRect{0, 0, 48, 48});
    if (Gdiplus::Bitmap* flag = imglstFlag->Picture(index))
        canvas.StretchDraw(TRect{0, 0, 48, 48}, *flag);
}

void TfrmControlsDemo::UseSkin(const String& fileName)
{
    if (fileName.empty())
        spSkinData->SetCompressedStoredSkin(spStoredSkin);
    else
        spSkinData->LoadFromCompressedFile(fileName);
}

void TfrmControlsDemo::Log(const String& line)
{
    mmLog->Lines()->Add(line);
}

} // namespace vptest
