// The engine's about box.
#include "framework/engine/CLEngine.h"

#include "framework/engine/CLAboutForm.h"

namespace vp {

void TCLEngine::AppAbout()
{
    if (!FAboutForm) {
        FAboutForm = NewForm<TfrmCLAboutForm>(FForm);
        FreeNotification(FAboutForm);
    }
    if (FAboutForm->IsModal() || FAboutForm->Visible())
        return;
    if (FParentHWND) {
        // A child of the host window, at its top-left corner rather than centred.
        HWND box = FAboutForm->Handle();
        SetWindowLongPtrW(box, GWL_STYLE, (GetWindowLongPtrW(box, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
        SetParent(box, FParentHWND);
        FAboutForm->Position = TPosition::poDesigned;
        SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    FAboutForm->ShowModal();
}

} // namespace vp
