#include "framework/ui/Dialogs.h"

#include "framework/rtl/WinText.h"

namespace vp {

namespace {

TModalResponder& Responder()
{
    static TModalResponder responder;
    return responder;
}

UINT ButtonFlags(TMsgDlgButtons buttons)
{
    bool yes = buttons & mbYes, no = buttons & mbNo, cancel = buttons & mbCancel;
    if (yes && no)
        return cancel ? MB_YESNOCANCEL : MB_YESNO;
    if (buttons & (mbAbort | mbRetry | mbIgnore))
        return MB_ABORTRETRYIGNORE;
    if (buttons & mbRetry)
        return MB_RETRYCANCEL;
    return cancel ? MB_OKCANCEL : MB_OK;
}

UINT IconFlags(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return MB_ICONWARNING;
    case TMsgDlgType::mtError: return MB_ICONERROR;
    case TMsgDlgType::mtInformation: return MB_ICONINFORMATION;
    case TMsgDlgType::mtConfirmation: return MB_ICONQUESTION;
    case TMsgDlgType::mtCustom: break;
    }
    return 0;
}

} // namespace

void SetModalResponder(TModalResponder responder)
{
    Responder() = std::move(responder);
}

TModalResult AskModalResponder(const TModalRequest& request)
{
    return Responder() ? Responder()(request) : mrNone;
}

TModalResult MessageDlg(
    HWND owner, const String& text, const String& caption, TMsgDlgType dlgType, TMsgDlgButtons buttons)
{
    TModalRequest request{nullptr, text, caption, dlgType, buttons};
    if (TModalResult answer = AskModalResponder(request); answer != mrNone)
        return answer;
    return MessageBoxW(
        owner, WStr(text), WStr(caption), ButtonFlags(buttons) | IconFlags(dlgType) | MB_SETFOREGROUND);
}

} // namespace vp
