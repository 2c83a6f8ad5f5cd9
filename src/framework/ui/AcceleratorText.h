// Captions with "&" accelerators, as menus, buttons and check boxes write them: "&Open..."
// underlines O and Alt+O chooses it; "&&" stands for one "&".
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

// The accelerator's character in upper case, or 0 when the caption has none.
char16_t AcceleratorChar(StringView caption);
// The caption as it reads without its accelerator marks ("&&" becomes "&").
String StripAccelerators(StringView caption);

} // namespace vp
