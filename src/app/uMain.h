// TfrmMain: the program's main window.
#pragma once

#include "framework/config/CLMultiLang.h"
#include "framework/engine/CLEngine.h"
#include "framework/ui/Forms.h"

namespace vp {

class TfrmMain : public TForm {
    VP_CLASS(TfrmMain)
public:
    explicit TfrmMain(TComponent* aOwner);

    TCLEngine* CLEngine;
    // The language data every window of the program shares, and this window's binder.
    TCLMultiLangData* CLMultiLangData;
    TCLMultiLang* CLMultiLang;
};

extern TfrmMain* frmMain;

} // namespace vp
