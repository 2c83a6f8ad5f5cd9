// TspSkinListView: an icon view drawn from the skin ("ListView", its items ".Item" and the
// selected one ".Item.Selected"): a large picture from LargeImages with its caption under it,
// in rows that follow the width. One item at most is selected; a click on empty space clears
// the selection. Arrows, Home, End, PageUp and PageDown move the selection, typing finds an
// item by its caption, the wheel and a TspSkinScrollBar scroll.
//
// It is a window of its own rather than the system's list view: the system's draws its own
// selection, focus and scroll bars, which a skin cannot reach, and lays icons out differently
// on each system; here layout, keys and looks are the same everywhere and under test.
#pragma once

#include "framework/ui/Forms.h"
#include "framework/ui/IconGrid.h"
#include "framework/ui/PngImageList.h"
#include "framework/ui/SkinScrollBar.h"

#include <memory>
#include <vector>

namespace vp {

class TListItems;
class TspSkinListView;

class TListItem {
public:
    String Caption() const { return FCaption; }
    void SetCaption(const String& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    int Index() const;
    bool Selected() const;

private:
    friend class TListItems;
    explicit TListItem(TListItems& owner) : FOwner(owner) { }

    TListItems& FOwner;
    String FCaption;
    int FImageIndex = -1;
    void* FData = nullptr;
};

class TListItems {
public:
    explicit TListItems(TspSkinListView& listView) : FListView(listView) { }

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for an index outside the list.
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;

private:
    friend class TListItem;
    friend class TspSkinListView;
    void Changed();

    TspSkinListView& FListView;
    std::vector<std::unique_ptr<TListItem>> FItems;
};

using TSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;

class TspSkinListView : public TspSkinControl, public IScrollBarTarget {
    VP_CLASS(TspSkinListView)
public:
    explicit TspSkinListView(TComponent* aOwner);
    ~TspSkinListView() override;

    TListItems& Items() { return FItems; }
    TPngImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TPngImageList* value);
    TspSkinScrollBar* SkinScrollBar() const { return FScrollBar; }
    void SetSkinScrollBar(TspSkinScrollBar* value);

    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const { return FItemIndex; }
    // -1 clears the selection; the item comes into view.
    void SetItemIndex(int value);
    // The item at a point of the client area, or -1.
    int ItemAt(POINT point) const;
    // The item's rectangle in the client area now (scrolled).
    RECT ItemRect(int index) const;
    void ScrollIntoView(int index);
    int TopOffset() const { return FTopOffset; }

    // Enter reaches OnKeyDown instead of the window's default button.
    bool WantReturns = false;
    TSelectItemEvent OnSelectItem;
    TNotifyEvent OnDblClick;
    TKeyEvent OnKeyDown;

    void ScrollBarChanged(TspSkinScrollBar* scrollBar) override;

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;
    void Notification(TComponent* aComponent, TOperation operation) override;
    void SkinLayoutChanged() override;
    void MouseEnterLeave() override;

private:
    friend class TListItems;
    struct TGeometry {
        RECT View{}; // inside frame and padding
        int CellWidth = 1;
        int CellHeight = 1;
        int ImageWidth = 0;
        int ImageHeight = 0;
        int TextHeight = 0; // room for two lines
        TIconGrid Grid;
    };
    TGeometry Geometry() const;
    RECT ItemRectIn(const TGeometry& geometry, int index) const;
    void ItemsChanged();
    void Relayout();
    void SetTopOffset(int value);
    void KeyDown(WORD key);
    void TypeAhead(char16_t c);
    void HotItemAt(POINT point);

    TListItems FItems;
    TPngImageList* FLargeImages = nullptr;
    TspSkinScrollBar* FScrollBar = nullptr;
    int FItemIndex = -1;
    int FHotIndex = -1;
    int FTopOffset = 0;
    String FTyped;
    DWORD FLastTypeTick = 0;
};

} // namespace vp
