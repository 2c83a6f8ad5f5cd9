// The narrow way in which portable code reads settings: the settings store implements it,
// tests put their own in its place.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

class ISettingsReader {
public:
    virtual ~ISettingsReader() = default;
    // "" when no layer holds the key.
    virtual String GetSettingString(StringView name) = 0;
};

}  // namespace vp
