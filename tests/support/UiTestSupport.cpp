#include "support/UiTestSupport.h"

#include <windows.h>

namespace vptest {

TApplicationScope::TApplicationScope() : FApplication(std::make_unique<vp::TApplication>())
{
}

TApplicationScope::~TApplicationScope()
{
    FApplication.reset();
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
        // The application's own loop, when there is one: it also frees released forms.
        if (vp::ApplicationExists()) {
            vp::Application().ProcessMessages();
        } else {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

} // namespace vptest
