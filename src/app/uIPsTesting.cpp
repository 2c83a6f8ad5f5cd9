#include "app/uIPsTesting.h"

namespace vp {

const TClassInfo& TfrmTesting::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmTesting, TForm>(u"TfrmTesting").Build();
    return info;
}

TfrmTesting::TfrmTesting(TComponent* aOwner) : TForm(aOwner)
{
    SetName(u"frmTesting");
    SetCaption(u"Verifing from server ...");
    BorderStyle = TBorderStyle::bsToolWindow;
    Position = TPosition::poMainFormCenter;
    SetClientSize(423, 210);

    CLForm = new TCLForm(this);
    CLForm->SetName(u"CLForm");
    CLForm->SetRuntimeSetSkinData(true);
    CLForm->SetRuntimeSetLanguageData(true);
    CLForm->SetRunTimeSetFormProperties(true);
    CLMultiLang = new TCLMultiLang(this);
    CLMultiLang->SetName(u"CLMultiLang");

    // A tool window's frame without caption buttons.
    spDynamicSkinForm = NewDialogFrame(this, nullptr, TDialogFrameButtons::None);

    lblInfo = new TspSkinStdLabel(this);
    lblInfo->SetName(u"lblInfo");
    lblInfo->SetParent(this);
    lblInfo->SetAutoSize(false);
    lblInfo->SetWordWrap(true);
    lblInfo->SetBounds(12, 12, 399, 34);
    lblInfo->SetCaption(u"Please wait a few minute to verify fake IP information from server... ");

    pbTesting = new TspSkinGauge(this);
    pbTesting->SetName(u"pbTesting");
    pbTesting->SetParent(this);
    pbTesting->SetBounds(12, 52, 399, 18);
    pbTesting->SetProgressAnimationPause(1000);

    mmLog = new TspSkinMemo(this);
    mmLog->SetName(u"mmLog");
    mmLog->SetParent(this);
    mmLog->SetBounds(12, 80, 399, 118);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
}

void TfrmTesting::FormCreate(TObject*)
{
    pbTesting->StartProgressAnimation();
}

} // namespace vp
