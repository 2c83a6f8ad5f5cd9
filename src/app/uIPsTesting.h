// TfrmTesting: the verifying window shown once the proxy pools have arrived when the setting
// "TestIPfromLocal" asks for it: a text, a progress bar that runs while it is open and a log
// box. It has no button of its own; the system's close command (Alt+F4) dismisses it.
#pragma once

#include "framework/config/CLForm.h"
#include "framework/config/CLMultiLang.h"
#include "framework/ui/Forms.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinGauge.h"
#include "framework/ui/SkinLabel.h"
#include "framework/ui/SkinMemo.h"

namespace vp {

class TfrmTesting : public TForm {
    VP_CLASS(TfrmTesting)
public:
    explicit TfrmTesting(TComponent* aOwner);

    // Skin and language data of the main window, placed centred on it.
    TCLForm* CLForm;
    TCLMultiLang* CLMultiLang;
    TspDynamicSkinForm* spDynamicSkinForm;
    TspSkinStdLabel* lblInfo;
    TspSkinGauge* pbTesting;
    TspSkinMemo* mmLog;

private:
    void FormCreate(TObject* Sender);
};

} // namespace vp
