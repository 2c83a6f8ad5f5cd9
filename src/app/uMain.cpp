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

TfrmMain::TfrmMain(TComponent* AOwner) : TForm(AOwner)
{
    SetName(u"frmMain");
    BorderStyle = TBorderStyle::bsSingle;
    Position = TPosition::poScreenCenter;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    SetBounds(Left(), Top(), frame.right - frame.left, frame.bottom - frame.top);

    CLEngine = new TCLEngine(this);
    CLEngine->SetName(u"CLEngine");

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
}

void TfrmMain::FormCreate(TObject*)
{
    SetCaption(u"Veilport");
}

} // namespace vp
