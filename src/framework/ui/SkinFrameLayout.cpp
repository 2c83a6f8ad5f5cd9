#include "framework/ui/SkinFrameLayout.h"

#include <algorithm>

namespace vp {

namespace {

bool Contains(const TRect& rect, int32_t x, int32_t y)
{
    return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

// Room between the icon and the title, and the least room the title keeps.
constexpr int32_t kIconGap = 6;
constexpr int32_t kTitleRoom = 8;
// How far into the window the sizing edges reach at least, and the corners along an edge.
constexpr int32_t kGrip = 4;
constexpr int32_t kCornerExtra = 8;

} // namespace

int32_t ScaleDesigned(int32_t value, unsigned dpi)
{
    const int64_t product = static_cast<int64_t>(value) * dpi;
    const int64_t half = 48;
    return static_cast<int32_t>(product >= 0 ? (product + half) / 96 : -((-product + half) / 96));
}

TSkinFrameLayout::TSkinFrameLayout(const TSkinFrameParams& params) : FParams(params)
{
    const unsigned dpi = params.Dpi;
    const TSkinMetrics& m = params.Metrics;
    FBorder = m.BorderWidth > 0 ? std::max(1, ScaleDesigned(m.BorderWidth, dpi)) : 0;
    FCaption = ScaleDesigned(m.CaptionHeight, dpi);
    FGrip = std::max(FBorder, ScaleDesigned(kGrip, dpi));
    const int32_t top = FBorder;
    const int32_t width = params.Width;

    const int32_t buttonWidth = ScaleDesigned(m.CaptionButtonWidth, dpi);
    const int32_t buttonHeight = std::min(ScaleDesigned(m.CaptionButtonHeight, dpi), FCaption);
    const int32_t spacing = ScaleDesigned(m.CaptionButtonSpacing, dpi);
    int32_t right = width - FBorder;
    FButtonsLeft = right;
    for (TCaptionButton button : kCaptionButtons) {
        if (!params.Buttons.Has(button) || buttonWidth <= 0 || buttonHeight <= 0)
            continue;
        const int32_t y = top + (FCaption - buttonHeight) / 2;
        FButtons[static_cast<size_t>(button)] = TRect{right - buttonWidth, y, right, y + buttonHeight};
        FButtonsLeft = right - buttonWidth;
        right = FButtonsLeft - spacing;
    }

    const int32_t padLeft = ScaleDesigned(params.CaptionPadding.Left, dpi);
    const int32_t iconSize = std::min(ScaleDesigned(m.CaptionIconSize, dpi), FCaption);
    if (params.Icon && iconSize > 0) {
        const int32_t x = FBorder + padLeft;
        const int32_t y = top + (FCaption - iconSize) / 2;
        FIcon = TRect{x, y, x + iconSize, y + iconSize};
    }
    // The painter indents the title by the caption's padding; after an icon only the gap is wanted.
    int32_t titleLeft = FIcon.Width() > 0 ? FIcon.Right + ScaleDesigned(kIconGap, dpi) - padLeft : FBorder;
    titleLeft = std::max(titleLeft, FBorder);
    FTitle = TRect{titleLeft, top, std::max(titleLeft, FButtonsLeft), top + FCaption};
}

TRect TSkinFrameLayout::ClientRect() const
{
    const int32_t left = FBorder, top = FBorder + FCaption;
    return TRect{left, top, std::max(left, FParams.Width - FBorder), std::max(top, FParams.Height - FBorder)};
}

TRect TSkinFrameLayout::CaptionRect() const
{
    return TRect{FBorder, FBorder, std::max(FBorder, FParams.Width - FBorder), FBorder + FCaption};
}

int32_t TSkinFrameLayout::MinimumWidth() const
{
    const int32_t buttons = (FParams.Width - FBorder) - FButtonsLeft;
    const int32_t lead = FIcon.Width() > 0 ? FIcon.Right : FBorder;
    return lead + ScaleDesigned(kTitleRoom, FParams.Dpi) + buttons + FBorder;
}

TFrameHitTest TSkinFrameLayout::HitTest(int32_t x, int32_t y) const
{
    const int32_t width = FParams.Width, height = FParams.Height;
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {};
    if (FParams.Sizeable && !FParams.Maximized) {
        const bool vertical = !FParams.RolledUp;
        const int32_t corner = FGrip + ScaleDesigned(kCornerExtra, FParams.Dpi);
        bool left = x < FGrip, right = x >= width - FGrip;
        bool top = vertical && y < FGrip, bottom = vertical && y >= height - FGrip;
        if (top || bottom) {
            left = left || x < corner;
            right = right || x >= width - corner;
        }
        if (vertical && (left || right)) {
            top = top || y < corner;
            bottom = bottom || y >= height - corner;
        }
        if (top && left)
            return {TFrameHit::TopLeft};
        if (top && right)
            return {TFrameHit::TopRight};
        if (bottom && left)
            return {TFrameHit::BottomLeft};
        if (bottom && right)
            return {TFrameHit::BottomRight};
        if (left)
            return {TFrameHit::Left};
        if (right)
            return {TFrameHit::Right};
        if (top)
            return {TFrameHit::Top};
        if (bottom)
            return {TFrameHit::Bottom};
    }
    for (TCaptionButton button : kCaptionButtons)
        if (Contains(ButtonRect(button), x, y))
            return {TFrameHit::Button, button};
    if (Contains(FIcon, x, y))
        return {TFrameHit::Icon};
    if (y < FBorder + FCaption)
        return {TFrameHit::Caption};
    if (Contains(ClientRect(), x, y))
        return {TFrameHit::Client};
    return {TFrameHit::Border};
}

} // namespace vp
