// TForm: a top-level window. Its Win32 window class is named after the form's class
// ("TfrmMain"), so other copies of the program can find it. A form handles the keyboard
// like a Windows dialog (Tab, Shift+Tab, Enter, Esc, mnemonics) and follows the DPI of
// the monitor it is on.
#pragma once

#include "framework/ui/Controls.h"
#include "framework/ui/Dialogs.h"

namespace vp {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };

// A control that Enter or Esc can press: the form's default and cancel buttons.
class IDialogButton {
public:
    virtual ~IDialogButton() = default;
    virtual bool IsDefaultButton() const = 0;
    virtual bool IsCancelButton() const = 0;
    virtual void Click() = 0;
};

// The modifier keys held with a key, as bits of the shift state a key event gets.
constexpr UINT kShiftKey = 1;
constexpr UINT kAltKey = 2;
constexpr UINT kCtrlKey = 4;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, UINT Shift)>;

class TForm : public TWinControl {
    VP_CLASS(TForm)
public:
    explicit TForm(TComponent* aOwner);
    ~TForm() override;

    void Show();
    void Hide();
    // Asks OnCloseQuery and OnClose; the main form's close ends the application, a modal
    // form's close ends its loop with mrCancel.
    void Close();
    // Asks OnCloseQuery; true when the form may close.
    bool CloseQuery();
    // Runs a modal loop until ModalResult is set (or a test responder answers). Every other
    // window of the thread is disabled meanwhile.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    bool IsModal() const { return FModal; }

    // The client area in designed units; once set, it decides the window's size at every DPI.
    void SetClientSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

    TPosition Position = TPosition::poDesigned;
    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    bool StayOnTop = false;
    // Key strokes reach OnKeyDown and OnKeyUp before the control that has the focus; a
    // handler that sets the key to 0 keeps it from going further.
    bool KeyPreview = false;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    std::function<void(TObject* Sender, bool& CanClose)> OnCloseQuery;
    std::function<void(TObject* Sender, TCloseAction& Action)> OnClose;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

    // Run by the application after the components have loaded.
    virtual void DoCreate();
    // Whether the message loop gives this form's keys to the dialog navigation.
    virtual bool WantsDialogKeys() const { return true; }
    // The key preview, then the focused control and its parents (WM_VP_DIALOGKEY): true when
    // one of them consumed the key.
    bool PreviewKey(const MSG& msg);

    // The default and cancel buttons among the form's controls (nullptr when none).
    IDialogButton* DefaultButton() const;
    IDialogButton* CancelButton() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    RECT BoundsInPixels() const override;

private:
    void PlaceWindow();
    void ApplyClientSize();
    void HandleDpiChange(TMessage& message);
    bool IsDialogCommand(WORD id) const;
    void DialogCommand(TMessage& message);
    void NextDialogControl(TMessage& message);
    IDialogButton* FindDialogButton(bool wantDefault) const;

    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FPlaced = false;
    int FClientWidth = -1; // designed client size, -1 while the window size decides
    int FClientHeight = -1;
};

// The form a control sits on, or nullptr.
TForm* GetParentForm(TControl* control);

} // namespace vp
