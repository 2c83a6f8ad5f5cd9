// A window message as the program's message handlers see it.
#pragma once

#include <windows.h>

#include <functional>

namespace vp {

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// The toolkit's own messages.
constexpr UINT WM_VP_SYNCHRONIZE = WM_APP + 0x100; // a worker queued a call for this thread
constexpr UINT CN_COMMAND = WM_APP + 0x101; // WM_COMMAND passed on to the child that sent it
constexpr UINT WM_VP_RELEASE = WM_APP + 0x102; // a form asked to be freed once its handlers returned

// A replaceable message handler, like a classic WindowProc: hooks keep the previous one
// and pass on what they do not handle.
using TWndMethod = std::function<void(TMessage&)>;

} // namespace vp
