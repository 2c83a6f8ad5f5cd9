#include "framework/config/CLForm.h"

namespace vp {

// The native build has no window toolkit, so no component is a window.
bool FixFormProperties(TComponent&)
{
    return false;
}

} // namespace vp
