// Where the engine's two name=value setting lists meet the settings store. The store lies
// below the engine, so the engine registers itself here when it is created and leaves when
// it is destroyed; while one is registered, an engine exists as far as the store is concerned.
#pragma once

#include "framework/rtl/StringList.h"

namespace vp {

class ISettingLists {
public:
    virtual ~ISettingLists() = default;
    // Consulted before every settings file.
    virtual const TStringList& SettingOverwrite() const = 0;
    // Consulted after every settings file.
    virtual const TStringList& SettingDefault() const = 0;
};

// The first registration wins: while one is registered, a second one is refused (false).
bool RegisterSettingLists(ISettingLists* lists);
// Ends the registration of these lists; other lists stay registered.
void UnregisterSettingLists(ISettingLists* lists);
// The registered lists, or nullptr while no engine exists.
ISettingLists* RegisteredSettingLists();

} // namespace vp
