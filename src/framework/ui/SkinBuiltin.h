// The toolkit's own look, beneath every skin: what an element gets for a key that neither the
// skin nor the element's fall-backs give. Plain and light, without pictures.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

// The built-in look, written as a skin.ini.
StringView BuiltinSkinIni();

} // namespace vp
