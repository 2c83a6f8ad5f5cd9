// Where the engine's skin data and language data meet the window decorator. The engine lies
// above this layer, so it registers itself here when it is created and leaves when it is
// destroyed; while one is registered, the engine exists as far as the decorator is concerned.
#pragma once

#include "framework/rtl/Persistent.h"

namespace vp {

class TCLMultiLangData;

class IEngineResources {
public:
    virtual ~IEngineResources() = default;
    // The skin data object of the skinned toolkit (declared type "TspSkinData"), or nullptr;
    // resources that hold no skin data keep this answer.
    virtual TPersistent* SkinData() const { return nullptr; }
    // The language data of the process, or nullptr.
    virtual TCLMultiLangData* LanguageData() const = 0;
};

// The first registration wins: while one is registered, a second one is refused (false).
bool RegisterEngineResources(IEngineResources* resources);
// Ends the registration of these resources; another registration stays.
void UnregisterEngineResources(IEngineResources* resources);
// The registered resources, or nullptr while no engine exists.
IEngineResources* RegisteredEngineResources();

} // namespace vp
