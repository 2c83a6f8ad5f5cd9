#include "UiTestSupport.h"

#include <windows.h>

namespace vptest {

TApplicationScope::TApplicationScope()
{
    vp::DestroyApplication();
    vp::Application();
}

TApplicationScope::~TApplicationScope()
{
    vp::DestroyApplication();
    // Drop a quit message a test left behind, so the next test's loop runs.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) { }
}

TModalRecorder::TModalRecorder(vp::TModalResult answer) : FAnswer(answer)
{
    vp::SetModalResponder([this](const vp::TModalRequest& request) {
        Requests.push_back(request);
        return FAnswer;
    });
}

TModalRecorder::~TModalRecorder()
{
    vp::SetModalResponder(nullptr);
}

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return done();
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

} // namespace vptest
