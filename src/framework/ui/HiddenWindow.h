// THiddenWindow: a hidden top-level window of the toolkit whose messages go first to a
// handler of its owner (the tray icon talks to the shell through one, a pop-up menu is owned
// by one). Top-level, not message-only: only top-level windows hear broadcasts such as
// "TaskbarCreated".
#pragma once

#include "framework/ui/Controls.h"

#include <functional>

namespace vp {

class THiddenWindow : public TWinControl {
    VP_CLASS(THiddenWindow)
public:
    // handler answers true for a message it took care of; the rest gets the default handling.
    explicit THiddenWindow(std::function<bool(TMessage&)> handler);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    std::function<bool(TMessage&)> FHandler;
};

} // namespace vp
