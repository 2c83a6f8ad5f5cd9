// TfrmFlashForm: the status panel window. A borderless child window that fills its parent
// (the main window's panel) and hosts the panel's player; the main window's commands reach
// the player as one text each, and the player's hot spots come back as "CMD" commands.
#pragma once

#include "app/PanelPlayer.h"
#include "framework/config/CLMultiLang.h"
#include "framework/ui/Forms.h"
#include "framework/ui/SkinForm.h"

namespace vp {

class TfrmFlashForm : public TForm {
    VP_CLASS(TfrmFlashForm)
public:
    explicit TfrmFlashForm(TComponent* aOwner);
    ~TfrmFlashForm() override;

    // Joined to the main window's language data and skin data when an engine provides them.
    TCLMultiLang* CLMultiLang;
    // The window has no frame: the component only paints what the player leaves uncovered.
    TspDynamicSkinForm* spDynamicSkinForm;

    // The player's message hook: FlashWndProc in front of the player's own handling;
    // dropping it gives the player back its own handling alone.
    THookToken FFlashMes;
    // Made by the creation handler, freed by the destruction handler.
    TPanelPlayer* FlashPlayer = nullptr;

    // The panel's commands. Colours are Windows colour values (0x00BBGGRR).
    void SetIPInfo(const String& aPosition, const String& aDisplay, const String& aFlagURL, const String& aIP,
        const String& aCountryName, const String& aCity, const String& aAlpha, const String& aScale);
    void SetIPInfoA(const String& aPosition, const String& aAlpha, const String& aScale);
    void Fade(const String& Obj, bool FadeIn, int FadeMax);
    void SetTextInfo(const String& aInfoText, uint32_t aColor);
    void SetTextInfo2(const String& aInfoText, uint32_t aColor);
    void SetBackground(const String& aBGFileName);
    void SetLogo(const String& aLogoFileName);
    void TurnLocal();
    void TurnTarget();

    // The hook on the player's messages: a right-button press reaches the player as a
    // release with the same parameters; everything else passes unchanged.
    void FlashWndProc(TMessage& Message);
    // The player's "CMD" commands, compared without regard to case.
    void FlashFSCommand(const String& command, const String& args);

    // The page openers the commands call: the address check page with the value of
    // "URL.CheckIP", and the page "home". The main window wires them to the engine.
    std::function<void(const String& strURL)> OnCheckIPInfo;
    std::function<void(const String& strPage)> OnHomePage;

    // A parent makes the window its child, filling the parent's client area from then on.
    void SetParent(TWinControl* parent) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void CreateFlashPlayer();
    void InitDisplay();
    void SendCommand(const String& text);
    void FillParent();

    THookToken FParentSizeHook;
};

// The one panel window of the process; the main window sets and clears it.
extern TfrmFlashForm* frmFlashForm;

} // namespace vp
