// TfrmCLSplashForm: the splash window the start-up shows while the main window is built. A
// borderless layered window shaped by its picture: "oem.splash.png" beside the program, else
// "res\images\splash.png", else (briefly) the picture built into the program. It closes as
// soon as another window becomes active.
#pragma once

#include "framework/engine/PngForm.h"
#include "framework/ui/Forms.h"

namespace vp {

class TfrmCLSplashForm : public TForm {
    VP_CLASS(TfrmCLSplashForm)
public:
    explicit TfrmCLSplashForm(TComponent* aOwner);

    TspPngForm* spngfrm1;

private:
    void FormCreate(TObject* Sender);
    void FormDeactivate(TObject* Sender);
    void CreateParams(TCreateParams& params) override;
};

// The start-up's splash step: makes the splash window, shows it and paints it at once.
void ShowSplashWindow(TComponent* aOwner);

} // namespace vp
