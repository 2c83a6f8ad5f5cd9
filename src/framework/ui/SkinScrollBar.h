// TspSkinScrollBar: a scroll bar drawn from the skin ("ScrollBar": its ".Track", ".Thumb" and
// ".Arrow.Up"/".Down"/".Left"/".Right" parts). The arrows step, the track pages (repeating
// while held), the thumb drags, the wheel scrolls. A control that scrolls with it (the list
// view) is its target; OnChange tells the program that the user moved it.
#pragma once

#include "framework/ui/ScrollMath.h"
#include "framework/ui/SkinControl.h"

namespace vp {

enum class TScrollBarKind { sbHorizontal, sbVertical };

class TspSkinScrollBar;

// A control that scrolls with a scroll bar.
class IScrollBarTarget {
public:
    virtual ~IScrollBarTarget() = default;
    virtual void ScrollBarChanged(TspSkinScrollBar* scrollBar) = 0;
};

class TspSkinScrollBar : public TspSkinControl {
    VP_CLASS(TspSkinScrollBar)
public:
    explicit TspSkinScrollBar(TComponent* aOwner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Min() const { return FRange.Min; }
    int Max() const { return FRange.Max; }
    int PageSize() const { return FRange.PageSize; }
    // Positions run from Min to Max - PageSize + 1.
    void SetRange(int min, int max, int pageSize);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    int SmallChange = 1;
    int LargeChange = 0; // 0: a page
    TNotifyEvent OnChange;

    // The control that scrolls with the bar, or nullptr.
    void SetTarget(IScrollBarTarget* target) { FTarget = target; }

    // The user moved the bar by delta positions (clamped): the target and OnChange are told.
    void Scroll(int delta);

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;
    void MouseEnterLeave() override;

private:
    enum class TPart { None, ArrowBack, TrackBack, Thumb, TrackForward, ArrowForward };
    struct TLayout {
        RECT Back{}, Forward{}, Track{}, Thumb{};
        int TrackLength = 0;
        TThumb ThumbPlace;
    };
    TLayout Layout() const;
    TPart PartAt(POINT point) const;
    // Moves as the pressed part asks; false when the track press has reached the pointer.
    bool Repeat();
    void UserPosition(int value);
    int Along(POINT point) const;

    TScrollBarKind FKind = TScrollBarKind::sbVertical;
    TScrollRange FRange{0, 100, 0};
    int FPosition = 0;
    IScrollBarTarget* FTarget = nullptr;
    TPart FHotPart = TPart::None;
    TPart FPressedPart = TPart::None;
    int FDragOffset = 0; // pointer position less thumb start while dragging
    POINT FPressPoint{};
};

} // namespace vp
