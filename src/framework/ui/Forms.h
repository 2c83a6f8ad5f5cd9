// TForm: a top-level window. Its Win32 window class is named after the form's class
// ("TfrmMain"), so other copies of the program can find it.
#pragma once

#include "framework/ui/Controls.h"
#include "framework/ui/Dialogs.h"

namespace vp {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };

class TForm : public TWinControl {
    VP_CLASS(TForm)
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    void Show();
    void Hide();
    // Asks OnCloseQuery and OnClose; the main form's close ends the application.
    void Close();
    // Runs a modal loop until ModalResult is set (or a test responder answers).
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    bool IsModal() const { return FModal; }

    TPosition Position = TPosition::poDesigned;
    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    bool StayOnTop = false;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    std::function<void(TObject* Sender, bool& CanClose)> OnCloseQuery;
    std::function<void(TObject* Sender, TCloseAction& Action)> OnClose;

    // Run by the application after the components have loaded.
    virtual void DoCreate();

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void PlaceWindow();

    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FPlaced = false;
};

} // namespace vp
