#include "framework/ui/ScrollMath.h"

#include <algorithm>

namespace vp {

int32_t TScrollRange::MaxPosition() const
{
    const int64_t page = std::max<int32_t>(1, PageSize);
    return static_cast<int32_t>(std::max<int64_t>(Min, int64_t{Max} - page + 1));
}

int32_t TScrollRange::Clamp(int64_t position) const
{
    return static_cast<int32_t>(std::clamp<int64_t>(position, Min, MaxPosition()));
}

TThumb ThumbInTrack(const TScrollRange& range, int32_t position, int32_t trackLength, int32_t minLength)
{
    if (!range.Scrollable() || trackLength <= 0 || minLength > trackLength)
        return {};
    const int64_t span = int64_t{range.Max} - range.Min + 1;
    const int64_t page = std::max<int32_t>(1, range.PageSize);
    int64_t length = std::clamp<int64_t>(trackLength * page / span, std::max(1, minLength), trackLength);
    const int64_t room = trackLength - length;
    const int64_t steps = int64_t{range.MaxPosition()} - range.Min;
    const int64_t offset = int64_t{range.Clamp(position)} - range.Min;
    // Rounded to the nearest pixel, so the ends of the range sit at the ends of the track.
    const int64_t start = (room * offset * 2 + steps) / (steps * 2);
    return TThumb{static_cast<int32_t>(start), static_cast<int32_t>(length)};
}

int32_t PositionFromThumb(const TScrollRange& range, int32_t thumbStart, int32_t trackLength, int32_t thumbLength)
{
    const int64_t room = int64_t{trackLength} - thumbLength;
    if (!range.Scrollable() || room <= 0)
        return range.Min;
    const int64_t steps = int64_t{range.MaxPosition()} - range.Min;
    const int64_t start = std::clamp<int64_t>(thumbStart, 0, room);
    return range.Clamp(range.Min + (start * steps * 2 + room) / (room * 2));
}

} // namespace vp
