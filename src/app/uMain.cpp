#include "app/uMain.h"

namespace vp {

TfrmMain* frmMain = nullptr;

namespace {

// The window's client area.
constexpr int kClientWidth = 474;
constexpr int kClientHeight = 236;

} // namespace

const TClassInfo& TfrmMain::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmMain, TForm>(u"TfrmMain").Build();
    return info;
}

TfrmMain::TfrmMain(TComponent* aOwner) : TForm(aOwner)
{
    SetName(u"frmMain");
    BorderStyle = TBorderStyle::bsSingle;
    Position = TPosition::poScreenCenter;
    SetClientSize(kClientWidth, kClientHeight);

    // The title is the engine's: the program name and the version.
    CLEngine = new TCLEngine(this);
    CLEngine->SetName(u"CLEngine");

    CLMultiLangData = new TCLMultiLangData(this);
    CLMultiLangData->SetName(u"CLMultiLangData");
    CLMultiLangData->SetExcludeEmptyProp(false);
    CLMultiLangData->SetExcludeNumberEndProps(false);
    CLMultiLangData->SetAutoApply(true);
    CLMultiLangData->SetExcludeWithAction(false);
    // The window keeps the built-in exclusion patterns.
    CLMultiLangData->SetExcludeProps(DefaultExcludeProps());

    CLMultiLang = new TCLMultiLang(this);
    CLMultiLang->SetName(u"CLMultiLang");
    CLMultiLang->SetLanguageData(CLMultiLangData);

    CLEngine->SetLanguageData(CLMultiLangData);
}

} // namespace vp
