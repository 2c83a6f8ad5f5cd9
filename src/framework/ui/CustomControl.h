// TCustomControl: a window of the toolkit's own class that paints itself. It paints
// double-buffered over its parent's background (so rounded corners and transparent parts
// show what lies behind), tracks the pointer (hot state), sets its pointer shape, shows its
// hint as a tooltip, follows the keyboard cues (focus and accelerators shown once the
// keyboard is used), and reports clicks. A later sibling placed over it stays on top and
// gets the mouse there: controls overlap as they were placed, whatever the Tab order.
#pragma once

#include "framework/ui/Controls.h"

namespace vp {

enum class TCursor { crDefault, crArrow, crHandPoint, crIBeam };

class TCustomControl : public TWinControl {
    VP_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* aOwner);
    ~TCustomControl() override;

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }
    // The hint shows as a tooltip while the pointer rests on the control.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);

    // Draws the whole control into dc at (0, 0): what painting and WM_PRINTCLIENT show.
    void PaintTo(HDC dc);
    void Invalidate();
    bool MouseInControl() const { return FMouseInside; }
    // The tooltip window, made now if the control shows a hint (tests look at it); nullptr
    // when it shows none.
    HWND TooltipHandle();

    // What a click does: OnClick.
    virtual void Click();

protected:
    // Draws the control over its background; client is the window's client rectangle.
    virtual void Paint(HDC dc, const RECT& client) = 0;
    // The parent's background is drawn first; a control that covers itself says no.
    virtual bool ShowsParentBackground() const { return true; }
    // The pointer came in or went out.
    virtual void MouseEnterLeave() { Invalidate(); }
    // Colours and font of a new tooltip.
    virtual void ConfigureTooltip(HWND tooltip) { (void)tooltip; }
    // Focus rectangles and underlined accelerators, as the user's keyboard use asks.
    bool FocusCuesShown() const;
    bool AccelCuesShown() const;
    // DrawText flags that hide the & accelerators while they are not to show.
    UINT PrefixFlags() const { return AccelCuesShown() ? 0u : static_cast<UINT>(DT_HIDEPREFIX); }
    // The tooltip, if one was made, takes the current hint and look again (or goes when the
    // hint is not to show); with create, one is made if the hint shows.
    void UpdateTooltip(bool create = false);

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void CaptionChanged() override;
    void HintChanged() override;

    // Mouse-up over the control after a press on it clicks (off for system buttons, which
    // report their own clicks).
    bool FClicksOnMouseUp = true;
    bool FMouseDown = false;

private:
    void PaintWindow();
    void DrawParentBackground(HDC dc, int width, int height);
    void ExcludeLaterSiblings(HDC dc);
    bool InLaterSibling(POINT screen) const;
    void TrackMouse();

    TCursor FCursor = TCursor::crDefault;
    bool FShowHint = true;
    bool FMouseInside = false;
    HWND FTooltip = nullptr;
};

} // namespace vp
