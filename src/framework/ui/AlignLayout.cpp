#include "framework/ui/AlignLayout.h"

#include <algorithm>
#include <vector>

namespace vp {

namespace {

// The order in which items of one kind take their place: the one nearest its edge first.
int32_t OrderKey(const TAlignItem& item)
{
    switch (item.Align) {
    case TAlign::alTop: return item.Bounds.Top;
    case TAlign::alBottom: return -item.Bounds.Bottom;
    case TAlign::alLeft: return item.Bounds.Left;
    case TAlign::alRight: return -item.Bounds.Right;
    case TAlign::alNone:
    case TAlign::alClient: break;
    }
    return 0;
}

} // namespace

TRect AlignItems(TRect area, std::span<TAlignItem> items)
{
    for (TAlign kind : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        std::vector<TAlignItem*> ofKind;
        for (TAlignItem& item : items)
            if (item.Align == kind)
                ofKind.push_back(&item);
        std::stable_sort(ofKind.begin(), ofKind.end(),
            [](const TAlignItem* a, const TAlignItem* b) { return OrderKey(*a) < OrderKey(*b); });
        for (TAlignItem* item : ofKind) {
            TRect& r = item->Bounds;
            const int32_t width = r.Width(), height = r.Height();
            switch (kind) {
            case TAlign::alTop:
                r = TRect{area.Left, area.Top, area.Right, area.Top + height};
                area.Top = r.Bottom;
                break;
            case TAlign::alBottom:
                r = TRect{area.Left, area.Bottom - height, area.Right, area.Bottom};
                area.Bottom = r.Top;
                break;
            case TAlign::alLeft:
                r = TRect{area.Left, area.Top, area.Left + width, area.Bottom};
                area.Left = r.Right;
                break;
            case TAlign::alRight:
                r = TRect{area.Right - width, area.Top, area.Right, area.Bottom};
                area.Right = r.Left;
                break;
            case TAlign::alClient:
                r = TRect{area.Left, area.Top, std::max(area.Left, area.Right), std::max(area.Top, area.Bottom)};
                break;
            case TAlign::alNone: break;
            }
        }
    }
    return area;
}

} // namespace vp
