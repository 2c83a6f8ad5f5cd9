#include "framework/config/CLForm.h"

#include "framework/ui/Forms.h"

namespace vp {

bool FixFormProperties(TComponent& component)
{
    auto* form = dynamic_cast<TForm*>(&component);
    if (!form)
        return false;
    // The toolkit's windows never scale with the system font nor scroll or size themselves,
    // so what remains to fix is the placement.
    form->Position = TPosition::poMainFormCenter;
    return true;
}

} // namespace vp
