// Where the parts of a skinned window frame lie: border, caption bar, icon, title and the
// caption buttons, in pixels of the window at its DPI, and what a point of the window hits.
// Window coordinates: (0, 0) is the window's top-left corner.
#pragma once

#include "framework/rtl/Rect.h"
#include "framework/ui/SkinDefinition.h"

#include <array>
#include <cstdint>

namespace vp {

// The caption buttons, in their order from the right edge leftwards.
enum class TCaptionButton : uint8_t { Close, Maximize, Minimize, RollUp, SysMenu };
inline constexpr std::array<TCaptionButton, 5> kCaptionButtons = {TCaptionButton::Close,
    TCaptionButton::Maximize, TCaptionButton::Minimize, TCaptionButton::RollUp, TCaptionButton::SysMenu};

class TCaptionButtonSet {
public:
    TCaptionButtonSet& Include(TCaptionButton button, bool on = true)
    {
        const auto bit = static_cast<uint8_t>(1u << static_cast<unsigned>(button));
        FBits = on ? static_cast<uint8_t>(FBits | bit) : static_cast<uint8_t>(FBits & ~bit);
        return *this;
    }
    bool Has(TCaptionButton button) const { return (FBits >> static_cast<unsigned>(button)) & 1u; }
    bool operator==(const TCaptionButtonSet&) const = default;

private:
    uint8_t FBits = 0;
};

struct TSkinFrameParams {
    TSkinMetrics Metrics;
    TSkinMargins CaptionPadding; // the caption element's padding
    unsigned Dpi = 96;
    int32_t Width = 0; // the window, in pixels
    int32_t Height = 0;
    TCaptionButtonSet Buttons;
    bool Icon = true;
    bool Sizeable = false; // the edges size the window
    bool Maximized = false; // no sizing edges
    bool RolledUp = false; // only the caption shows: no vertical sizing
};

enum class TFrameHit : uint8_t {
    Nowhere,
    Client,
    Caption,
    Icon,
    Button,
    Border,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

struct TFrameHitTest {
    TFrameHit Hit = TFrameHit::Nowhere;
    TCaptionButton Button = TCaptionButton::Close; // when Hit is Button
    bool operator==(const TFrameHitTest&) const = default;
};

// A designed length at dpi, rounded to the nearest pixel (halves away from zero, as the
// Win32 side scales).
int32_t ScaleDesigned(int32_t value, unsigned dpi);

class TSkinFrameLayout {
public:
    explicit TSkinFrameLayout(const TSkinFrameParams& params);

    int32_t BorderWidth() const { return FBorder; }
    int32_t CaptionHeight() const { return FCaption; }
    // The frame's thickness on each side of the client area.
    TRect Insets() const { return TRect{FBorder, FBorder + FCaption, FBorder, FBorder}; }
    TRect ClientRect() const;
    TRect CaptionRect() const;
    // Empty when the frame shows no icon.
    TRect IconRect() const { return FIcon; }
    // The rectangle the title is drawn in, before the caption element's padding.
    TRect TitleRect() const { return FTitle; }
    // Empty when the frame does not show that button.
    TRect ButtonRect(TCaptionButton button) const { return FButtons[static_cast<size_t>(button)]; }
    TFrameHitTest HitTest(int32_t x, int32_t y) const;
    // The smallest window that still shows the icon and every button.
    int32_t MinimumWidth() const;
    int32_t MinimumHeight() const { return 2 * FBorder + FCaption; }

    // The window size around a client area of this size.
    int32_t WindowWidth(int32_t clientWidth) const { return clientWidth + 2 * FBorder; }
    int32_t WindowHeight(int32_t clientHeight) const { return clientHeight + 2 * FBorder + FCaption; }

private:
    TSkinFrameParams FParams;
    int32_t FBorder = 0;
    int32_t FCaption = 0;
    int32_t FGrip = 0; // reach of the sizing edges
    int32_t FButtonsLeft = 0;
    TRect FIcon;
    TRect FTitle;
    std::array<TRect, kCaptionButtons.size()> FButtons{};
};

} // namespace vp
