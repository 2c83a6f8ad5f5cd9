// The names of the window messages that copies of the program, and the system, register:
// one table, so sender and receiver cannot drift apart.
#pragma once

#include <windows.h>

namespace vp {

// The instance protocol between copies of the program.
inline constexpr wchar_t kMsgGetAppId[] = L"CL GetAppID";
inline constexpr wchar_t kMsgCloseApp[] = L"CL CloseApp";
inline constexpr wchar_t kMsgInitPost[] = L"CL InitPost";
inline constexpr wchar_t kMsgCmdParam[] = L"CL CmdParam";
inline constexpr wchar_t kMsgIfBusy[] = L"CL IfBusy";
inline constexpr wchar_t kMsgBringToFront[] = L"CL BringtoFront";
// Sent to top-level windows when the shell's task bar (re)starts.
inline constexpr wchar_t kMsgTaskbarCreated[] = L"TaskbarCreated";

// The number the system gives the name (the same in every process of the session).
inline UINT RegisteredMessage(const wchar_t* name)
{
    return RegisterWindowMessageW(name);
}

} // namespace vp
