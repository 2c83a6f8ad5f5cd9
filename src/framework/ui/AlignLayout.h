// Alignment of controls inside their parent, as a classic component library lays them out:
// controls aligned to the top are stacked from the top edge down, bottom ones from the bottom
// edge up, then left and right ones in the height that is left, and a client-aligned control
// fills what remains. Portable: the controls apply the result to their windows.
#pragma once

#include "framework/rtl/Rect.h"

#include <cstdint>
#include <span>

namespace vp {

enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TAlignItem {
    TAlign Align = TAlign::alNone;
    TRect Bounds; // in: the control's bounds now; out: where it goes
};

// Places the items inside area. Items of one kind keep the order of their current positions
// (top ones by Top, bottom ones by Bottom from the lowest up, ...); equal positions keep the
// order of the list. An item aligned to the top or bottom keeps its height, one aligned left
// or right its width; alNone items are left alone. Returns the area that is left.
TRect AlignItems(TRect area, std::span<TAlignItem> items);

} // namespace vp
