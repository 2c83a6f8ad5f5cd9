// TfrmCLAboutForm: the about box. The logo "res\images\about.png" across the top (the box
// takes its size; without it the logo strip goes), the copyright, version and translator
// lines, the support link, and the licence and privacy links when "about.showlink" is on.
// Its texts come from the language's "LibRes" section when it is created; Esc closes it.
// The engine's AppAbout makes it once and shows it.
#pragma once

#include "framework/config/CLForm.h"
#include "framework/config/CLMultiLang.h"
#include "framework/config/LangWindowList.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Image.h"
#include "framework/ui/SkinButton.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinLabel.h"
#include "framework/ui/SkinPanel.h"

namespace vp {

class TfrmCLAboutForm : public TForm {
    VP_CLASS(TfrmCLAboutForm)
public:
    explicit TfrmCLAboutForm(TComponent* aOwner);

    void FormCreate(TObject* Sender);
    void FormKeyUp(TObject* Sender, WORD& Key, UINT Shift);

    TspDynamicSkinForm* spDynamicSkinForm;
    TCLForm* CLForm;
    TCLMultiLang* CLMultiLang;
    TspSkinPanel* pnLogo;
    TImage* imgLogo;
    TspSkinPanel* pn1;
    TspSkinStdLabel* lbInfo;
    TspSkinLinkLabel* btnEULA;
    TspSkinLinkLabel* btnPrivaryPolicy;
    TspSkinPanel* pn2;
    TspSkinLinkLabel* lblSupport;
    TspSkinButton* btnOK;

private:
    void LoadLogo();
    String InfoText() const;
};

// Adds the about box, built as designed, for the translator's tool.
void RegisterAboutLangWindow(TLangWindowList& list);

} // namespace vp
