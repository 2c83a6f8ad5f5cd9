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

// A component that draws a form's frame itself (the skinned frame): it decides the styles of
// the form's window and how large the window is around its client area.
class IFormFrame {
public:
    virtual ~IFormFrame() = default;
    // Changes the styles the form's window is made with (and given again by FrameChanged).
    virtual void AdjustFrameStyle(DWORD& style, DWORD& exStyle) = 0;
    // The window rectangle around a client area of this size at dpi, relative to the client
    // area's top-left corner (the styles are the adjusted ones).
    virtual RECT FrameRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) = 0;
    // The form's creation handler has run.
    virtual void FormCreated() {}
};

// The modifier keys held with a key, as bits of the shift state a key event gets.
constexpr UINT kShiftKey = 1;
constexpr UINT kAltKey = 2;
constexpr UINT kCtrlKey = 4;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, UINT Shift)>;
// The modifier keys held now, as such bits.
UINT ShiftState();

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
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    std::function<void(TObject* Sender, bool& CanClose)> OnCloseQuery;
    std::function<void(TObject* Sender, TCloseAction& Action)> OnClose;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

    // Run by the application after the components have loaded.
    virtual void DoCreate();
    // The building of a new form: its components' Loaded in creation order, then DoCreate.
    void FinishCreation();
    // Within FinishCreation, until OnCreate has run.
    bool Creating() const { return FCreating; }
    // Whether the message loop gives this form's keys to the dialog navigation.
    virtual bool WantsDialogKeys() const { return true; }
    // The key preview, then the focused control and its parents (WM_VP_DIALOGKEY): true when
    // one of them consumed the key.
    bool PreviewKey(const MSG& msg);

    // The default and cancel buttons among the form's controls (nullptr when none).
    IDialogButton* DefaultButton() const;
    IDialogButton* CancelButton() const;

    // The component that draws the frame; nullptr for the system's frame.
    IFormFrame* Frame() const { return FFrame; }
    void SetFrame(IFormFrame* frame) { FFrame = frame; }
    // The frame changed its styles or its size: the window takes both again.
    void FrameChanged();

protected:
    void CreateParams(TCreateParams& params) override;
    // What the form tells the test responder before its modal loop; a message box adds its text.
    virtual void DescribeModalRequest(TModalRequest& request) const;
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

    IFormFrame* FFrame = nullptr;
    bool FCreating = false;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FPlaced = false;
    int FClientWidth = -1; // designed client size, -1 while the window size decides
    int FClientHeight = -1;
};

// The form a control sits on, or nullptr.
TForm* GetParentForm(TControl* control);

// Builds a form owned by aOwner the way the application builds its forms (components, their
// Loaded in creation order, then OnCreate), without making it the main form.
template <class T, class... Args>
T* NewForm(TComponent* aOwner, Args&&... args)
{
    T* form = new T(aOwner, std::forward<Args>(args)...);
    try {
        form->FinishCreation();
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}

} // namespace vp
