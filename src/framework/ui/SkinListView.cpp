#include "framework/ui/SkinListView.h"

#include <windowsx.h>

#include "framework/rtl/Exceptions.h"
#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

constexpr int kMinCellWidth = 76; // designed units: room for a two-line country name
constexpr int kImageGap = 4; // between picture and caption
constexpr int kCellMargin = 2; // around each item inside its cell
constexpr DWORD kTypeAheadMs = 1000;
constexpr StringView kItemPart = u".Item";
constexpr StringView kSelectedPart = u".Item.Selected";

} // namespace

// ---- TListItem, TListItems ----

void TListItem::SetCaption(const String& value)
{
    FCaption = value;
    FOwner.Changed();
}

void TListItem::SetImageIndex(int value)
{
    FImageIndex = value;
    FOwner.Changed();
}

int TListItem::Index() const
{
    return FOwner.IndexOf(this);
}

bool TListItem::Selected() const
{
    return FOwner.FListView.Selected() == this;
}

TListItem* TListItems::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    return FItems[static_cast<size_t>(index)].get();
}

TListItem* TListItems::Add()
{
    FItems.push_back(std::unique_ptr<TListItem>(new TListItem(*this)));
    Changed();
    return FItems.back().get();
}

void TListItems::Delete(int index)
{
    Item(index);
    // The selection follows its item, or goes with it.
    if (FListView.FItemIndex == index)
        FListView.FItemIndex = -1;
    else if (FListView.FItemIndex > index)
        --FListView.FItemIndex;
    FListView.FHotIndex = -1;
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TListItems::Clear()
{
    FListView.FItemIndex = -1;
    FListView.FHotIndex = -1;
    FItems.clear();
    Changed();
}

int TListItems::IndexOf(const TListItem* item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

void TListItems::Changed()
{
    FListView.ItemsChanged();
}

// ---- TspSkinListView ----

const TClassInfo& TspSkinListView::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinListView, TspSkinControl>(u"TspSkinListView")
            .Object(u"LargeImages", u"TCustomImageList", &TspSkinListView::LargeImages, &TspSkinListView::SetLargeImages)
            .Object(u"SkinScrollBar", u"TspSkinScrollBar", &TspSkinListView::SkinScrollBar,
                &TspSkinListView::SetSkinScrollBar)
            .Other(u"ItemIndex", u"Integer")
            .Other(u"OnSelectItem", u"TLVSelectItemEvent")
            .Other(u"OnDblClick", u"TNotifyEvent")
            .Other(u"OnKeyDown", u"TKeyEvent")
            .Build();
    return info;
}

TspSkinListView::TspSkinListView(TComponent* aOwner) : TspSkinControl(aOwner, skin::kListView), FItems(*this)
{
    TabStop = true;
    FWidth = 250;
    FHeight = 150;
    FClicksOnMouseUp = false;
}

TspSkinListView::~TspSkinListView()
{
    if (FScrollBar)
        FScrollBar->SetTarget(nullptr);
}

void TspSkinListView::SetLargeImages(TPngImageList* value)
{
    if (FLargeImages)
        RemoveFreeNotification(FLargeImages);
    FLargeImages = value;
    if (FLargeImages)
        FreeNotification(FLargeImages);
    ItemsChanged();
}

void TspSkinListView::SetSkinScrollBar(TspSkinScrollBar* value)
{
    if (FScrollBar) {
        FScrollBar->SetTarget(nullptr);
        RemoveFreeNotification(FScrollBar);
    }
    FScrollBar = value;
    if (FScrollBar) {
        FScrollBar->SetTarget(this);
        FreeNotification(FScrollBar);
    }
    Relayout();
}

void TspSkinListView::Notification(TComponent* aComponent, TOperation operation)
{
    TspSkinControl::Notification(aComponent, operation);
    if (operation != TOperation::Remove)
        return;
    if (aComponent == FLargeImages) {
        FLargeImages = nullptr;
        ItemsChanged();
    }
    if (aComponent == FScrollBar)
        FScrollBar = nullptr;
}

TListItem* TspSkinListView::Selected() const
{
    return FItemIndex >= 0 && FItemIndex < FItems.Count() ? FItems.Item(FItemIndex) : nullptr;
}

void TspSkinListView::SetSelected(TListItem* item)
{
    SetItemIndex(item ? FItems.IndexOf(item) : -1);
}

void TspSkinListView::SetItemIndex(int value)
{
    if (value < -1 || value >= FItems.Count())
        value = -1;
    if (value == FItemIndex)
        return;
    const int old = FItemIndex;
    FItemIndex = value;
    Invalidate();
    if (value >= 0)
        ScrollIntoView(value);
    // The item that lost the selection is told first, then the one that got it.
    if (OnSelectItem && old >= 0 && old < FItems.Count())
        OnSelectItem(this, FItems.Item(old), false);
    if (OnSelectItem && value >= 0 && value == FItemIndex)
        OnSelectItem(this, FItems.Item(value), true);
}

TspSkinListView::TGeometry TspSkinListView::Geometry() const
{
    TGeometry g;
    RECT client{0, 0, 0, 0};
    if (HandleAllocated())
        GetClientRect(const_cast<TspSkinListView*>(this)->Handle(), &client);
    else
        client = RECT{0, 0, ScaleValue(FWidth), ScaleValue(FHeight)};
    TSkinPainter painter = Painter();
    const TSkinElement& list = Element();
    const TSkinElement& item = Element(kItemPart);
    RECT padding = painter.Padding(list);
    const int border = list.BorderWidth > 0 ? std::max(1, painter.Scale(list.BorderWidth)) : 0;
    g.View = RECT{client.left + border + padding.left, client.top + border + padding.top,
        client.right - border - padding.right, client.bottom - border - padding.bottom};
    g.ImageWidth = FLargeImages ? painter.Scale(FLargeImages->Width()) : 0;
    g.ImageHeight = FLargeImages ? painter.Scale(FLargeImages->Height()) : 0;
    HDC screen = GetDC(nullptr);
    const int line = painter.MeasureText(screen, item, u"Ag").cy;
    ReleaseDC(nullptr, screen);
    g.TextHeight = line * 2;
    RECT itemPadding = painter.Padding(item);
    const int margin = painter.Scale(kCellMargin);
    g.CellWidth = std::max<int>(g.ImageWidth + itemPadding.left + itemPadding.right, painter.Scale(kMinCellWidth)) + 2 * margin;
    g.CellHeight = itemPadding.top + g.ImageHeight + (g.ImageHeight > 0 ? painter.Scale(kImageGap) : 0) + g.TextHeight +
        itemPadding.bottom + 2 * margin;
    const int viewWidth = std::max<int>(0, g.View.right - g.View.left);
    const int viewHeight = std::max<int>(0, g.View.bottom - g.View.top);
    g.Grid.Count = FItems.Count();
    g.Grid.Columns = GridColumns(viewWidth, g.CellWidth);
    g.Grid.PageRows = std::max(1, viewHeight / std::max(1, g.CellHeight));
    // The cells share the width that is left over.
    g.CellWidth = std::max(g.CellWidth, viewWidth / g.Grid.Columns);
    return g;
}

RECT TspSkinListView::ItemRect(int index) const
{
    if (index < 0 || index >= FItems.Count())
        return RECT{0, 0, 0, 0};
    return ItemRectIn(Geometry(), index);
}

RECT TspSkinListView::ItemRectIn(const TGeometry& g, int index) const
{
    const int column = index % g.Grid.Columns, row = index / g.Grid.Columns;
    const int margin = ScaleValue(kCellMargin);
    const int left = g.View.left + column * g.CellWidth, top = g.View.top + row * g.CellHeight - FTopOffset;
    return RECT{left + margin, top + margin, left + g.CellWidth - margin, top + g.CellHeight - margin};
}

int TspSkinListView::ItemAt(POINT point) const
{
    TGeometry g = Geometry();
    if (!PtInRect(&g.View, point))
        return -1;
    const int column = (point.x - g.View.left) / g.CellWidth;
    const int row = (point.y - g.View.top + FTopOffset) / g.CellHeight;
    if (column >= g.Grid.Columns)
        return -1;
    const int index = row * g.Grid.Columns + column;
    if (index < 0 || index >= FItems.Count())
        return -1;
    RECT item = ItemRectIn(g, index);
    return PtInRect(&item, point) ? index : -1;
}

void TspSkinListView::SetTopOffset(int value)
{
    TGeometry g = Geometry();
    const int content = g.Grid.Rows() * g.CellHeight;
    const int view = std::max<int>(0, g.View.bottom - g.View.top);
    value = std::clamp(value, 0, std::max(0, content - view));
    if (value != FTopOffset) {
        FTopOffset = value;
        FHotIndex = -1;
        Invalidate();
    }
    if (FScrollBar) {
        FScrollBar->SetRange(0, std::max(0, content - 1), view);
        FScrollBar->SmallChange = std::max(1, g.CellHeight / 4);
        FScrollBar->LargeChange = std::max(1, view);
        FScrollBar->SetPosition(FTopOffset);
    }
}

void TspSkinListView::ScrollIntoView(int index)
{
    if (index < 0 || index >= FItems.Count() || !HandleAllocated())
        return;
    TGeometry g = Geometry();
    const int view = std::max<int>(0, g.View.bottom - g.View.top);
    const int top = g.Grid.RowOf(index) * g.CellHeight;
    int offset = FTopOffset;
    if (top < offset)
        offset = top;
    else if (top + g.CellHeight > offset + view)
        offset = top + g.CellHeight - view;
    SetTopOffset(offset);
}

void TspSkinListView::ScrollBarChanged(TspSkinScrollBar* scrollBar)
{
    if (scrollBar == FScrollBar)
        SetTopOffset(scrollBar->Position());
}

void TspSkinListView::ItemsChanged()
{
    Relayout();
    Invalidate();
}

void TspSkinListView::Relayout()
{
    SetTopOffset(FTopOffset);
}

void TspSkinListView::SkinLayoutChanged()
{
    Relayout();
}

void TspSkinListView::MouseEnterLeave()
{
    if (!MouseInControl() && FHotIndex >= 0) {
        FHotIndex = -1;
        Invalidate();
    }
}

void TspSkinListView::HotItemAt(POINT point)
{
    int hot = ItemAt(point);
    if (hot != FHotIndex) {
        FHotIndex = hot;
        Invalidate();
    }
}

void TspSkinListView::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinElement& list = Element();
    const bool focused = Focused();
    painter.DrawElement(dc, client, list, StateFor(false, false, focused));
    TGeometry g = Geometry();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, g.View.left, g.View.top, g.View.right, g.View.bottom);
    const int firstRow = FTopOffset / g.CellHeight;
    const int lastRow = (FTopOffset + (g.View.bottom - g.View.top)) / g.CellHeight;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < g.Grid.Columns; ++column) {
            const int index = row * g.Grid.Columns + column;
            if (index >= FItems.Count())
                break;
            const TListItem& item = *FItems.Item(index);
            const bool selected = index == FItemIndex;
            const TSkinElement& element = selected ? Element(kSelectedPart) : Element(kItemPart);
            const TSkinState state = StateFor(false, index == FHotIndex, selected && focused);
            RECT cell = ItemRectIn(g, index);
            painter.DrawElement(dc, cell, element, state);
            RECT padding = painter.Padding(element);
            RECT inner{cell.left + padding.left, cell.top + padding.top, cell.right - padding.right, cell.bottom - padding.bottom};
            if (FLargeImages && g.ImageHeight > 0) {
                RECT image{inner.left, inner.top, inner.right, inner.top + g.ImageHeight};
                image.left += (image.right - image.left - g.ImageWidth) / 2;
                image.right = image.left + g.ImageWidth;
                FLargeImages->Draw(dc, item.ImageIndex(), image, Enabled());
                inner.top += g.ImageHeight + painter.Scale(kImageGap);
            }
            // The caption is drawn centred here whatever the element's alignment: icon views
            // centre their captions under the pictures.
            // (DrawText keeps the element's padding inside the rectangle it is given.)
            RECT text{cell.left, inner.top - padding.top, cell.right, inner.top + g.TextHeight + padding.bottom};
            painter.DrawText(dc, text, element, state, item.Caption(),
                DT_CENTER | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
    }
    RestoreDC(dc, saved);
}

void TspSkinListView::KeyDown(WORD key)
{
    TGridMove move;
    switch (key) {
    case VK_LEFT: move = TGridMove::Left; break;
    case VK_RIGHT: move = TGridMove::Right; break;
    case VK_UP: move = TGridMove::Up; break;
    case VK_DOWN: move = TGridMove::Down; break;
    case VK_HOME: move = TGridMove::Home; break;
    case VK_END: move = TGridMove::End; break;
    case VK_PRIOR: move = TGridMove::PageUp; break;
    case VK_NEXT: move = TGridMove::PageDown; break;
    default: return;
    }
    SetItemIndex(MoveInGrid(Geometry().Grid, FItemIndex, move));
}

void TspSkinListView::TypeAhead(char16_t c)
{
    const DWORD now = GetTickCount();
    if (now - FLastTypeTick > kTypeAheadMs)
        FTyped.clear();
    FLastTypeTick = now;
    FTyped += c;
    std::vector<String> captions;
    captions.reserve(static_cast<size_t>(FItems.Count()));
    for (int i = 0; i < FItems.Count(); ++i)
        captions.push_back(FItems.Item(i)->Caption());
    // The first letter looks from the next item on; more letters keep the current one if it fits.
    const int start = FTyped.size() == 1 ? FItemIndex : FItemIndex - 1;
    int found = FindByPrefix(captions, start, FTyped);
    if (found < 0 && FTyped.size() > 1 && FTyped.find_first_not_of(FTyped[0]) == String::npos) {
        // The same letter again and again steps through the items that begin with it.
        found = FindByPrefix(captions, FItemIndex, FTyped.substr(0, 1));
    }
    if (found >= 0)
        SetItemIndex(found);
}

void TspSkinListView::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE: {
        const auto* msg = reinterpret_cast<const MSG*>(message.LParam);
        message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (WantReturns && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            message.Result |= DLGC_WANTMESSAGE;
        message.Handled = true;
        return;
    }
    case WM_KEYDOWN: {
        WORD key = static_cast<WORD>(message.WParam);
        if (OnKeyDown)
            OnKeyDown(this, key, ShiftState());
        if (key != 0)
            KeyDown(key);
        message.Result = 0;
        message.Handled = true;
        return;
    }
    case WM_CHAR:
        if (message.WParam > u' ')
            TypeAhead(static_cast<char16_t>(message.WParam));
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        SetFocus();
        POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        const int index = ItemAt(point);
        SetItemIndex(index);
        // A double click on an item, not on the empty space around the items.
        if (message.Msg == WM_LBUTTONDBLCLK && index >= 0 && OnDblClick)
            OnDblClick(this);
        message.Result = 0;
        message.Handled = true;
        return;
    }
    case WM_MOUSEMOVE: HotItemAt(POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)}); break;
    case WM_MOUSEWHEEL: {
        const int notches = -GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
        SetTopOffset(FTopOffset + notches * Geometry().CellHeight);
        message.Result = 0;
        message.Handled = true;
        return;
    }
    case WM_SIZE:
        TspSkinControl::WndProc(message);
        Relayout();
        return;
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
