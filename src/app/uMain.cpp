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

    CLEngine = new TCLEngine(this);
    CLEngine->SetName(u"CLEngine");

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
}

void TfrmMain::FormCreate(TObject*)
{
    SetCaption(u"Veilport");
}

} // namespace vp
