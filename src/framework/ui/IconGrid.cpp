#include "framework/ui/IconGrid.h"

#include <algorithm>

namespace vp {

int32_t TIconGrid::Rows() const
{
    const int32_t columns = std::max(1, Columns);
    return Count <= 0 ? 0 : (Count + columns - 1) / columns;
}

int32_t TIconGrid::RowOf(int32_t index) const
{
    return index < 0 ? 0 : index / std::max(1, Columns);
}

int32_t GridColumns(int32_t width, int32_t cellWidth)
{
    return cellWidth <= 0 ? 1 : std::max(1, width / cellWidth);
}

int32_t MoveInGrid(const TIconGrid& grid, int32_t current, TGridMove move)
{
    if (grid.Count <= 0)
        return -1;
    const int32_t last = grid.Count - 1;
    if (current < 0 || current > last)
        return move == TGridMove::End ? last : 0;
    const int32_t columns = std::max(1, grid.Columns);
    const int32_t page = columns * std::max(1, grid.PageRows);
    switch (move) {
    case TGridMove::Left: return std::max(0, current - 1);
    case TGridMove::Right: return std::min(last, current + 1);
    case TGridMove::Up: return current >= columns ? current - columns : current;
    case TGridMove::Down:
        // Into a shorter last row: its last item.
        return grid.RowOf(current) + 1 < grid.Rows() ? std::min(last, current + columns) : current;
    case TGridMove::Home: return 0;
    case TGridMove::End: return last;
    case TGridMove::PageUp: return current >= page ? current - page : current % columns;
    case TGridMove::PageDown: {
        if (current + page <= last)
            return current + page;
        // The last row, in the same column when it reaches that far.
        const int32_t lastRowStart = grid.RowOf(last) * columns;
        return std::min(last, lastRowStart + current % columns);
    }
    }
    return current;
}

int32_t RowToShow(int32_t topRow, int32_t pageRows, int32_t row)
{
    pageRows = std::max(1, pageRows);
    if (row < topRow)
        return row;
    if (row >= topRow + pageRows)
        return row - pageRows + 1;
    return topRow;
}

int32_t FindByPrefix(std::span<const String> captions, int32_t start, StringView prefix)
{
    const int32_t count = static_cast<int32_t>(captions.size());
    if (prefix.empty() || count == 0)
        return -1;
    if (start < 0 || start >= count)
        start = count - 1;
    for (int32_t step = 1; step <= count; ++step) {
        int32_t index = (start + step) % count;
        const String& caption = captions[static_cast<size_t>(index)];
        if (caption.size() >= prefix.size() && SameText(StringView(caption).substr(0, prefix.size()), prefix))
            return index;
    }
    return -1;
}

} // namespace vp
