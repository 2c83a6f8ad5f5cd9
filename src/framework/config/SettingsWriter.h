// The narrow way in which portable code writes settings into the user's file: the settings
// store can stand behind it, tests put their own in its place.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

class ISettingsWriter {
public:
    virtual ~ISettingsWriter() = default;
    virtual void SetSettingstring(StringView strName, StringView strValue) = 0;
};

} // namespace vp
