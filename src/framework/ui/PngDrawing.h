// Drawing PNG pictures with their alpha into a DC: fitted into a box, stretched, faded.
#pragma once

#include <windows.h>

namespace Gdiplus {
class Bitmap;
}

namespace vp {

// The largest rectangle of the picture's shape inside box, centred; never larger than the
// picture would be at scale (0: as large as the box allows).
RECT FitPicture(Gdiplus::Bitmap& picture, const RECT& box, double scale = 0);
// Draws the picture into rect, blended over what the DC holds, with the opacity given.
void DrawPicture(HDC dc, Gdiplus::Bitmap& picture, const RECT& rect, float opacity = 1.0f);

} // namespace vp
