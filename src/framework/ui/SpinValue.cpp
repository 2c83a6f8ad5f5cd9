#include "framework/ui/SpinValue.h"

#include <algorithm>

namespace vp {

int32_t TSpinRange::Clamp(int64_t value) const
{
    const int64_t high = std::max(MinValue, MaxValue);
    return static_cast<int32_t>(std::clamp<int64_t>(value, MinValue, high));
}

int32_t SpinValueFromText(StringView text, const TSpinRange& range, int32_t fallback)
{
    size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    size_t end = text.size();
    while (end > i && text[end - 1] == u' ')
        --end;
    bool negative = false;
    if (i < end && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= end)
        return range.Clamp(fallback);
    // Digits beyond the range saturate: a long number is simply too large (or too small).
    constexpr int64_t kLimit = int64_t{1} << 40;
    int64_t value = 0;
    for (; i < end; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return range.Clamp(fallback);
        value = std::min(kLimit, value * 10 + (text[i] - u'0'));
    }
    return range.Clamp(negative ? -value : value);
}

int32_t SpinStep(int32_t value, int32_t increment, int32_t steps, const TSpinRange& range)
{
    return range.Clamp(int64_t{value} + int64_t{increment} * steps);
}

bool SpinAcceptsChar(char16_t c, const TSpinRange& range)
{
    if (c < u' ')
        return true;
    if (c >= u'0' && c <= u'9')
        return true;
    return c == u'-' && range.MinValue < 0;
}

} // namespace vp
