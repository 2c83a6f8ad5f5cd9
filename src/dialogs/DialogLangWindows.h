// The dialogs' windows for the translator's tool (framework/config/LangWindowList.h).
#pragma once

#include "framework/config/LangWindowList.h"

namespace vp {

// Adds the country chooser and the options dialog, built as designed, without their sources.
void RegisterDialogLangWindows(TLangWindowList& list);

} // namespace vp
