#include "framework/ui/HiddenWindow.h"

namespace vp {

const TClassInfo& THiddenWindow::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<THiddenWindow, TWinControl>(u"TspHiddenWindow").Build();
    return info;
}

THiddenWindow::THiddenWindow(std::function<bool(TMessage&)> handler)
    : TWinControl(nullptr), FHandler(std::move(handler))
{
    FVisible = false;
}

void THiddenWindow::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.ParentWindow = nullptr;
}

void THiddenWindow::WndProc(TMessage& message)
{
    if (!FHandler(message))
        TWinControl::WndProc(message);
}

} // namespace vp
