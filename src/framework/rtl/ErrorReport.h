// The general error report: the place every error that no operation caught ends up. The
// user-interface layer plugs in the report it shows (a message box); until then the text
// goes to the debug channel. Callbacks from the system go through GuardCall, so no
// exception ever crosses a system callback.
#pragma once

#include "framework/rtl/RtlText.h"

#include <functional>

namespace vp {

// The text of the exception being handled (call it from a catch block).
String CurrentExceptionText();

// Shows the text of the exception being handled; call it from a catch block. Never throws.
void ReportCurrentException() noexcept;

// The report itself, given the text; nullptr restores the debug-channel fallback.
using TErrorReporter = std::function<void(const String& text)>;
void SetErrorReporter(TErrorReporter reporter);

// Runs fn and reports anything it throws.
template <class F>
void GuardCall(F&& fn) noexcept
{
    try {
        fn();
    } catch (...) {
        ReportCurrentException();
    }
}

} // namespace vp
