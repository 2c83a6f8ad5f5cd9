// A window holding one of each skinned control, laid out as the program's dialogs are: a logo
// panel on top, a page control in the middle, a button strip at the bottom. The demo program
// shows it; the tests drive it.
#pragma once

#include "framework/ui/Actions.h"
#include "framework/ui/CompressedStoredSkin.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Image.h"
#include "framework/ui/PngImageList.h"
#include "framework/ui/SkinButton.h"
#include "framework/ui/SkinCheckBox.h"
#include "framework/ui/SkinData.h"
#include "framework/ui/SkinGauge.h"
#include "framework/ui/SkinLabel.h"
#include "framework/ui/SkinListView.h"
#include "framework/ui/SkinMemo.h"
#include "framework/ui/SkinPageControl.h"
#include "framework/ui/SkinPanel.h"
#include "framework/ui/SkinSpinEdit.h"

namespace vptest {

class TfrmControlsDemo : public vp::TForm {
    VP_CLASS(TfrmControlsDemo)
public:
    // dataFolder: the folder holding res\flag_short and res\images ("" for none).
    TfrmControlsDemo(vp::TComponent* aOwner, const vp::String& dataFolder);

    // A skin file, or "" for the built-in skin.
    void UseSkin(const vp::String& fileName);
    // Writes a line into the log box.
    void Log(const vp::String& line);

    vp::TspCompressedStoredSkin* spStoredSkin;
    vp::TspSkinData* spSkinData;
    vp::TActionManager* actmgr;
    vp::TAction* actStartHide;
    vp::TAction* actStopHide;
    vp::TPngImageList* imglstFlag;

    vp::TspSkinPanel* pnLogo;
    vp::TImage* imgLogo;
    vp::TspSkinStdLabel* lblTitle;

    vp::TspSkinPanel* pnClient;
    vp::TspSkinPageControl* pcDemo;
    vp::TspSkinTabSheet* tsGeneral;
    vp::TspSkinCheckRadioBox* cbAutoRun;
    vp::TspSkinCheckRadioBox* cbChangeIP;
    vp::TspSkinSpinEdit* edtChangeIPTime;
    vp::TspSkinStdLabel* lblInfo;
    vp::TspSkinLinkLabel* lblLink;
    vp::TspSkinMemo* mmLog;

    vp::TspSkinTabSheet* tsCountries;
    vp::TspSkinPanel* pnlList;
    vp::TspSkinListView* lvList;
    vp::TspSkinScrollBar* sbV;
    vp::TImage* imgFL;
    vp::TspSkinStdLabel* lblCountry;

    vp::TspSkinTabSheet* tsProgress;
    vp::TspSkinStdLabel* lblValue;
    vp::TspSkinGauge* gValue;
    vp::TspSkinStdLabel* lblWait;
    vp::TspSkinGauge* gWait;

    vp::TspSkinPanel* pnButtons;
    vp::TspSkinButton* btnHide;
    vp::TspSkinButton* btnSkin;
    vp::TspSkinButton* btnOK;
    vp::TspSkinButton* btnCancel;

    // Skin files the Skin button goes through after the built-in one.
    std::vector<vp::String> SkinFiles;
    int Greetings = 0;

private:
    template <class T>
    T* Make(vp::TWinControl* parent, const vp::String& name);
    void LoadFlags(const vp::String& folder);
    void ShowFlag(int index);

    vp::String FDataFolder;
    size_t FSkinIndex = 0;
};

} // namespace vptest
