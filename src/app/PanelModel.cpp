#include "app/PanelModel.h"

namespace vp {

TPanelModel::TPanelModel(TPanelScene scene) : FAnimation(std::move(scene)) { }

bool TPanelModel::SetVariable(StringView name, StringView value, int64_t nowMs)
{
    if (name != u"callbackvar")
        return false;
    std::optional<TPanelCommand> command = ParsePanelCommand(value);
    if (!command)
        return false;
    FState.Apply(*command);
    FAnimation.Follow(*command, nowMs);
    return true;
}

} // namespace vp
