#include "framework/ui/SkinFramePainter.h"

#include "framework/ui/SkinElementNames.h"

namespace vp {

namespace {

RECT ToRect(const TRect& rect)
{
    return RECT{rect.Left, rect.Top, rect.Right, rect.Bottom};
}

// The symbol a button shows when its element names none: never a letter.
TBuiltinGlyph DefaultGlyph(TCaptionButton button, bool maximized, bool rolledUp)
{
    switch (button) {
    case TCaptionButton::Close: return TBuiltinGlyph::Close;
    case TCaptionButton::Maximize: return maximized ? TBuiltinGlyph::Restore : TBuiltinGlyph::Maximize;
    case TCaptionButton::Minimize: return TBuiltinGlyph::Minimize;
    case TCaptionButton::RollUp: return rolledUp ? TBuiltinGlyph::RollDown : TBuiltinGlyph::RollUp;
    case TCaptionButton::SysMenu: return TBuiltinGlyph::SysMenu;
    }
    return TBuiltinGlyph::None;
}

// A glyph box when the element leaves the size to the control, in designed units.
constexpr int kDefaultGlyphSize = 10;

void PaintButton(HDC dc, const TSkinPainter& painter, const TSkinFrameLayout& layout, const TSkinFrameState& state,
    TCaptionButton button)
{
    const TRect place = layout.ButtonRect(button);
    if (place.Width() <= 0)
        return;
    const RECT rect = ToRect(place);
    const TSkinElement& element = painter.Element(CaptionButtonElement(button, state.Maximized));
    const bool hot = state.Hot == button;
    TSkinState look = TSkinState::Normal;
    if (hot && state.Pressed == button)
        look = TSkinState::Pressed;
    else if (hot && !state.Pressed)
        look = TSkinState::Hot;
    if (state.Glow && look != TSkinState::Normal)
        painter.DrawGlow(dc, rect, element, look);
    painter.DrawElement(dc, rect, element, look);
    const int size = painter.Scale(element.GlyphSize > 0 ? element.GlyphSize : kDefaultGlyphSize);
    const int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    const RECT box{cx - size / 2, cy - size / 2, cx - size / 2 + size, cy - size / 2 + size};
    TSkinGlyph glyph = element.Glyph[look];
    // A rolled-up window offers to roll down, whatever the skin draws for rolling up.
    if (glyph.Empty() || (button == TCaptionButton::RollUp && state.RolledUp))
        glyph = TSkinGlyph{DefaultGlyph(button, state.Maximized, state.RolledUp), {}};
    painter.DrawGlyph(dc, box, glyph, element.GlyphColor[look]);
}

} // namespace

StringView CaptionButtonElement(TCaptionButton button, bool maximized)
{
    switch (button) {
    case TCaptionButton::Close: return skin::kCaptionButtonClose;
    case TCaptionButton::Maximize: return maximized ? skin::kCaptionButtonRestore : skin::kCaptionButtonMaximize;
    case TCaptionButton::Minimize: return skin::kCaptionButtonMinimize;
    case TCaptionButton::RollUp: return skin::kCaptionButtonRollUp;
    case TCaptionButton::SysMenu: return skin::kCaptionButtonSysMenu;
    }
    return skin::kCaptionButton;
}

void PaintSkinFrame(HDC dc, const TSkinPainter& painter, const TSkinFrameLayout& layout, const TSkinFrameState& state)
{
    const TRect client = layout.ClientRect();
    const TRect caption = layout.CaptionRect();
    const int border = layout.BorderWidth();
    const int width = client.Right + border, height = client.Bottom + border;
    const TSkinElement& frame = painter.Element(state.Active ? skin::kFormBorder : skin::kFormBorderInactive);
    if (border > 0) {
        const TColor color = frame.Fill[TSkinState::Normal];
        painter.Fill(dc, RECT{0, 0, width, border}, color);
        painter.Fill(dc, RECT{0, height - border, width, height}, color);
        painter.Fill(dc, RECT{0, border, border, height - border}, color);
        painter.Fill(dc, RECT{width - border, border, width, height - border}, color);
    }
    const TSkinElement& bar = painter.Element(state.Active ? skin::kFormCaption : skin::kFormCaptionInactive);
    painter.DrawElement(dc, ToRect(caption), bar, TSkinState::Normal);
    const TRect icon = layout.IconRect();
    if (state.Icon && icon.Width() > 0)
        DrawIconEx(dc, icon.Left, icon.Top, state.Icon, icon.Width(), icon.Height(), 0, nullptr, DI_NORMAL);
    painter.DrawText(dc, ToRect(layout.TitleRect()), bar, TSkinState::Normal, state.Caption,
        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    for (TCaptionButton button : kCaptionButtons)
        PaintButton(dc, painter, layout, state, button);
}

} // namespace vp
