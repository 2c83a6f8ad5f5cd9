// Test helpers for the toolkit: a fresh application per test, a message box recorder, and
// a loop that runs until a condition holds.
#pragma once

#include "framework/ui/Application.h"
#include "framework/ui/Dialogs.h"

#include <functional>
#include <memory>
#include <vector>

namespace vptest {

// Gives each test its own application object and takes it down afterwards.
class TApplicationScope {
public:
    TApplicationScope();
    ~TApplicationScope();
    TApplicationScope(const TApplicationScope&) = delete;
    TApplicationScope& operator=(const TApplicationScope&) = delete;

    // Ends the application before the scope does (a test of what happens then).
    void Reset() { FApplication.reset(); }

private:
    std::unique_ptr<vp::TApplication> FApplication;
};

// Answers every modal request with answer and remembers what was asked.
class TModalRecorder {
public:
    explicit TModalRecorder(vp::TModalResult answer = vp::mrOk);
    ~TModalRecorder();
    std::vector<vp::TModalRequest> Requests;

private:
    vp::TModalResult FAnswer;
};

// Runs the message loop of this thread until done() holds or timeoutMs passed; the result
// of done() at the end.
bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs = 10000);

} // namespace vptest
