// TfrmMain: the program's main window.
#pragma once

#include "framework/engine/CLEngine.h"
#include "framework/ui/Forms.h"

namespace vp {

class TfrmMain : public TForm {
    VP_CLASS(TfrmMain)
public:
    explicit TfrmMain(TComponent* aOwner);

    TCLEngine* CLEngine;

private:
    void FormCreate(TObject* Sender);
};

extern TfrmMain* frmMain;

} // namespace vp
