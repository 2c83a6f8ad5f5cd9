// A window message as the program's message handlers see it, the toolkit's own messages,
// and the hooks through which components watch another window's messages.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace vp {

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
    // Set by whoever gave the message its answer; a hook that sets it ends the message's way.
    bool Handled = false;
};

// Messages a parent window gets about one of its child controls are reflected to that
// control as CN_BASE + the message; the parent uses the child's answer when it set Handled.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

inline bool IsReflectedMessage(UINT msg)
{
    return msg >= CN_BASE && msg <= CN_BASE + WM_CTLCOLORSTATIC;
}

// The toolkit's own messages.
constexpr UINT WM_VP_SYNCHRONIZE = WM_APP + 0x100; // a worker queued a call for this thread
constexpr UINT WM_VP_RELEASE = WM_APP + 0x102; // a form asked to be freed once dispatching returned
// A key on its way to the dialog navigation, offered first to the control that has the focus
// and its parents, nearest first (lParam: the const MSG*). One that takes it (a page control's
// Ctrl+Tab) answers 1, and the key goes no further.
constexpr UINT WM_VP_DIALOGKEY = WM_APP + 0x110;
// A control brings its window up to date with its properties (posted to itself).
constexpr UINT WM_VP_UPDATE = WM_APP + 0x111;

using TWndMethod = std::function<void(TMessage&)>;

// A hook sees a window's messages before the window's own handling; newer hooks see them
// first. A hook that answers a message sets Result and Handled; one that only watches
// leaves Handled alone, and may change the message it passes on.
using TMessageHook = std::function<void(TMessage&)>;

class TMessageHookList;

// Keeps a hook in place while it lives; destroying it (or Remove) takes the hook out, in
// any order, also while messages are being dispatched. Outliving the window is harmless.
class THookToken {
public:
    THookToken() = default;
    THookToken(std::weak_ptr<TMessageHookList> list, unsigned id) : FList(std::move(list)), FId(id) { }
    ~THookToken() { Remove(); }
    THookToken(THookToken&& other) noexcept;
    THookToken& operator=(THookToken&& other) noexcept;
    THookToken(const THookToken&) = delete;
    THookToken& operator=(const THookToken&) = delete;

    void Remove();
    bool Active() const;

private:
    std::weak_ptr<TMessageHookList> FList;
    unsigned FId = 0;
};

} // namespace vp
