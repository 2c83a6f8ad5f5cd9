// Drawing a skinned window frame: border, caption bar, icon, title and caption buttons, from
// the skin, into any device context whose origin is the window's top-left corner.
#pragma once

#include <windows.h>

#include "framework/ui/SkinFrameLayout.h"
#include "framework/ui/SkinPainter.h"

#include <optional>

namespace vp {

// What the frame shows at one moment.
struct TSkinFrameState {
    bool Active = true;
    String Caption;
    HICON Icon = nullptr; // drawn at the layout's icon size
    std::optional<TCaptionButton> Hot; // the button under the pointer
    std::optional<TCaptionButton> Pressed; // the button held down (drawn pressed while hot)
    bool Maximized = false; // the maximise button shows "restore"
    bool RolledUp = false; // the roll-up button shows "roll down"
    bool Glow = true; // the caption buttons may glow
};

// The element that draws a caption button.
StringView CaptionButtonElement(TCaptionButton button, bool maximized);

void PaintSkinFrame(HDC dc, const TSkinPainter& painter, const TSkinFrameLayout& layout, const TSkinFrameState& state);

} // namespace vp
