// TfrmCLUpdateForm: the window of the update check. It serves one request: it fetches the
// update address as text, writes the settings an accepted reply pushes, counts the reply in
// "Update.Times" and shows the version answer when asked to. The engine drives it in three
// modes (AppUpdate, AppUpdateAuto, AppWaitFirstUpdate): the full dialog, hidden until there
// is something to say, or a small modal "Connecting..." strip.
#pragma once

#include "framework/config/CLForm.h"
#include "framework/config/CLMultiLang.h"
#include "framework/engine/SingleDownloader.h"
#include "framework/engine/UpdateReply.h"
#include "framework/rtl/DateTime.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Image.h"
#include "framework/ui/SkinButton.h"
#include "framework/ui/SkinCheckBox.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinLabel.h"
#include "framework/ui/SkinPanel.h"
#include "framework/ui/Timers.h"

namespace vp {

class TLangWindowList;

// The message the window posts to itself to show the outcome once the reply handler is done.
constexpr UINT WM_CL_UPDATE_SHOW_RESULT = WM_USER + 2;

class TfrmCLUpdateForm : public TForm {
    VP_CLASS(TfrmCLUpdateForm)
public:
    explicit TfrmCLUpdateForm(TComponent* aOwner);

    // Starts the request. With AShowModal it returns when the window has closed; otherwise
    // the window shows at once with AShowConnecting, else only when there is an outcome to show.
    void StartUpdate(bool AShowModal, bool AShowConnecting, bool ADoUpdate, bool AProcess, bool AAutoClose);
    // The countdown that closes the window.
    void StartAutoClose();
    // The compact layout: only the progress strip, without a border.
    void ShowProcessLayout();

    // A request is on its way and its reply has not been handled.
    bool Updating() const { return FUpdating; }
    int32_t DelaySeconds() const { return FDelaySeconds; }

    TCLForm* CLForm;
    TCLMultiLang* CLMultiLang;
    TspDynamicSkinForm* spDynamicSkinForm;
    TspSkinPanel* pnLogo;
    TImage* imgLogo;
    TspSkinPanel* pnInfo;
    TspSkinStdLabel* lbInfo;
    TspSkinStdLabel* lblTimer;
    TspSkinCheckRadioBox* cbAutoCheckUpdate;
    TspSkinPanel* pnOkCancel;
    TspSkinButton* btnOK;
    TspSkinButton* btnCancel;
    TspSkinPanel* pnOK;
    TspSkinButton* btnOK2;
    TspSkinPanel* pnProcess;
    TspSkinStdLabel* lbProcess;
    TspSkinButton* btnCancelProcess;
    TTimer* tmrTimer;
    TSingleDownloader* sdDownload;

protected:
    void WndProc(TMessage& message) override;

private:
    template <class T>
    T* Make(TWinControl* parent, const String& name, int left, int top, int width, int height);
    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyDown(TObject* Sender, WORD& Key, UINT Shift);
    void FormKeyUp(TObject* Sender, WORD& Key, UINT Shift);
    void btnOKClick(TObject* Sender);
    void btnOK2Click(TObject* Sender);
    void btnCancelClick(TObject* Sender);
    void tmrTimerTimer(TObject* Sender);
    void sdDownloadDoneString(TObject* Sender, const String& strResult);
    void sdDownloadError(TObject* Sender);
    // On WM_CL_UPDATE_SHOW_RESULT.
    void ShowResult();

    void LoadLogo();
    void UseSkinData();
    void ApplyTexts();
    // Handles an accepted reply; true when its version answer is to be shown.
    bool AcceptReply(const TUpdateReply& reply);
    void StoreAutoCheck();
    void ShowOutcome(const String& info, const String& url);

    bool FUpdating = false;
    String FInfo;
    String FURL;
    TDateTime FStartTime = 0;
    int32_t FDelaySeconds = 5;
    bool FShowModal = false;
    bool FShowConnecting = false;
    bool FDoUpdate = false;
    bool FProcess = false;
    bool FAutoClose = false;
};

// Adds the update window to the windows whose texts make up a language file.
void RegisterUpdateLangWindow(TLangWindowList& list);

} // namespace vp
