// The arithmetic of an icon view: items in rows of equal cells, left to right, top to
// bottom; where the arrow and paging keys move the selection, which row to scroll to, and
// which item a typed prefix finds. Portable.
#pragma once

#include "framework/rtl/RtlText.h"

#include <cstdint>
#include <span>

namespace vp {

enum class TGridMove { Left, Right, Up, Down, Home, End, PageUp, PageDown };

struct TIconGrid {
    int32_t Count = 0; // items
    int32_t Columns = 1; // cells in a row (at least 1)
    int32_t PageRows = 1; // rows that fit in the view (at least 1)

    int32_t Rows() const;
    int32_t RowOf(int32_t index) const;
};

// Cells of cellWidth that fit in width, at least one.
int32_t GridColumns(int32_t width, int32_t cellWidth);

// The item a key moves the selection to from current (-1 for none: any key goes to the first
// item, End to the last). The selection stays within the items; -1 when there are none.
int32_t MoveInGrid(const TIconGrid& grid, int32_t current, TGridMove move);

// The first row to show so that row is in view, scrolling as little as possible from topRow.
int32_t RowToShow(int32_t topRow, int32_t pageRows, int32_t row);

// The next item after start (wrapping round, start itself last) whose caption begins with
// prefix without regard to case; -1 when none does or the prefix is empty.
int32_t FindByPrefix(std::span<const String> captions, int32_t start, StringView prefix);

} // namespace vp
