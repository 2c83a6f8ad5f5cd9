// The range rules of an integer field: what a typed text stands for, steps that stop at the
// ends, and which keys may be typed. Portable.
#pragma once

#include "framework/rtl/RtlText.h"

#include <cstdint>

namespace vp {

struct TSpinRange {
    int32_t MinValue = 0;
    int32_t MaxValue = 100; // below MinValue counts as MinValue

    int32_t Clamp(int64_t value) const;
};

// The value a typed text stands for: optional blanks, an optional sign and decimal digits,
// held within the range (however many digits were typed). Any other text, the empty one
// included, stands for fallback, held within the range too.
int32_t SpinValueFromText(StringView text, const TSpinRange& range, int32_t fallback);

// value moved by steps times increment, stopping at the ends of the range.
int32_t SpinStep(int32_t value, int32_t increment, int32_t steps, const TSpinRange& range);

// Characters the field lets through while typing: digits, and "-" where negative values are
// in range; control characters (editing keys) always.
bool SpinAcceptsChar(char16_t c, const TSpinRange& range);

} // namespace vp
