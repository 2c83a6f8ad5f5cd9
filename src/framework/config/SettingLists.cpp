#include "framework/config/SettingLists.h"

namespace vp {

namespace {

ISettingLists* gRegistered = nullptr;

} // namespace

bool RegisterSettingLists(ISettingLists* lists)
{
    if (gRegistered && gRegistered != lists)
        return false;
    gRegistered = lists;
    return true;
}

void UnregisterSettingLists(ISettingLists* lists)
{
    if (gRegistered == lists)
        gRegistered = nullptr;
}

ISettingLists* RegisteredSettingLists()
{
    return gRegistered;
}

} // namespace vp
