#include "framework/config/EngineResources.h"

namespace vp {

namespace {

IEngineResources* gEngineResources = nullptr;

} // namespace

bool RegisterEngineResources(IEngineResources* resources)
{
    if (!resources || gEngineResources)
        return false;
    gEngineResources = resources;
    return true;
}

void UnregisterEngineResources(IEngineResources* resources)
{
    if (resources && gEngineResources == resources)
        gEngineResources = nullptr;
}

IEngineResources* RegisteredEngineResources()
{
    return gEngineResources;
}

} // namespace vp
