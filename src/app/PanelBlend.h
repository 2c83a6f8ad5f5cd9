// Placing a picture on the panel's frame: stretched to a rectangle with fractional edges,
// sampled between pixels, faded by an opacity, and laid over what is there. The panel moves
// its cards this way in every frame, so it is plain arithmetic on pixel rows rather than a
// general drawing call. Pixels are premultiplied 0xAARRGGBB.
#pragma once

#include <cstdint>

namespace vp {

struct TPanelPixels {
    uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0; // pixels from one row to the next
};

struct TPanelPicture {
    const uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0;
};

// Lays picture over target, stretched over (left, top, width, height) in target pixels, at
// opacity 0..1. Smooth sampling weighs the four nearest picture pixels, so fractional
// positions and the picture's edges blend; otherwise each target pixel takes the nearest
// picture pixel. At a whole-pixel position and the picture's own size it is an exact copy.
void BlendPicture(const TPanelPixels& target, const TPanelPicture& picture, double left, double top, double width,
    double height, double opacity, bool smooth = true);

} // namespace vp
