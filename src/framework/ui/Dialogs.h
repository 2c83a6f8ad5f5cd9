// Message boxes, modal results, and the responder through which tests answer modal windows.
#pragma once

#include <windows.h>

#include "framework/rtl/RtlText.h"

#include <functional>

namespace vp {

class TForm;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// A set of buttons.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
};
using TMsgDlgButtons = unsigned;

// What is about to block: a modal form, or a message box with its text.
struct TModalRequest {
    TForm* Form = nullptr; // nullptr for the system's message box; the skinned one is a form
    String Text;
    String Caption;
    TMsgDlgType DlgType = TMsgDlgType::mtCustom;
    TMsgDlgButtons Buttons = 0;
    // The box's show-again choice while it offers one, else nullptr; a responder may change
    // it (valid only during the call).
    bool* ShowAgain = nullptr;
};

// A test sets a responder; a modal form or message box asks it first and, when it answers
// anything but mrNone, returns that answer without blocking.
using TModalResponder = std::function<TModalResult(const TModalRequest&)>;
void SetModalResponder(TModalResponder responder);
TModalResult AskModalResponder(const TModalRequest& request);

// A system message box; returns the modal result of the pressed button.
TModalResult MessageDlg(
    HWND owner, const String& text, const String& caption, TMsgDlgType dlgType, TMsgDlgButtons buttons);

} // namespace vp
