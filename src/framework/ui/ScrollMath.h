// The arithmetic of a scroll bar: a range of positions with a page, the thumb's place and
// length in the track, and the position a dragged thumb stands for. Portable.
#pragma once

#include <cstdint>

namespace vp {

// Positions run from Min to Max - PageSize + 1 (Max counts inclusively, as the system's
// scroll bars do); a PageSize of 0 counts as 1.
struct TScrollRange {
    int32_t Min = 0;
    int32_t Max = 100;
    int32_t PageSize = 0;

    int32_t MaxPosition() const;
    int32_t Clamp(int64_t position) const;
    // There is something to scroll.
    bool Scrollable() const { return MaxPosition() > Min; }
};

struct TThumb {
    int32_t Start = 0; // from the start of the track
    int32_t Length = 0; // 0: no thumb (nothing to scroll, or no room)
};

// The thumb for position in a track of trackLength pixels, never shorter than minLength.
TThumb ThumbInTrack(const TScrollRange& range, int32_t position, int32_t trackLength, int32_t minLength);

// The position a thumb of that length stands for when its start is at thumbStart.
int32_t PositionFromThumb(const TScrollRange& range, int32_t thumbStart, int32_t trackLength, int32_t thumbLength);

} // namespace vp
