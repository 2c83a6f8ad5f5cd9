#include "app/PanelBlend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace vp;

namespace {

struct TCanvas {
    TCanvas(int width, int height, uint32_t fill) : Width(width), Pixels(static_cast<size_t>(width * height), fill) { }
    TPanelPixels Target() { return {Pixels.data(), Width, static_cast<int>(Pixels.size()) / Width, Width}; }
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
    int Width;
    std::vector<uint32_t> Pixels;
};

// Three by two opaque pixels, all different.
const std::vector<uint32_t> kPicture{0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0, 0xFFD0E0F0, 0xFF123456};
const TPanelPicture kSource{kPicture.data(), 3, 2, 3};

bool Near(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2)
            return false;
    return true;
}

} // namespace

TEST(PanelBlend, AtAWholePixelAndItsOwnSizeThePictureIsCopiedExactly)
{
    TCanvas canvas(6, 4, 0xFF000000);
    BlendPicture(canvas.Target(), kSource, 2, 1, 3, 2, 1.0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(canvas.At(x, y), inside ? kPicture[static_cast<size_t>((y - 1) * 3 + x - 2)] : 0xFF000000u)
                << x << "," << y;
        }
}

TEST(PanelBlend, OpacityAndFractionalEdgesMixWithWhatIsThere)
{
    const uint32_t white = 0xFFFFFFFF;
    TCanvas faded(1, 1, 0xFF000000);
    BlendPicture(faded.Target(), {&white, 1, 1, 1}, 0, 0, 1, 1, 0.5);
    EXPECT_TRUE(Near(faded.At(0, 0), 0xFF808080)) << std::hex << faded.At(0, 0);

    // Half a pixel to the right: each of the two pixels it touches gets half of it.
    TCanvas shifted(3, 1, 0xFF000000);
    BlendPicture(shifted.Target(), {&white, 1, 1, 1}, 0.5, 0, 1, 1, 1.0);
    EXPECT_TRUE(Near(shifted.At(0, 0), 0xFF808080)) << std::hex << shifted.At(0, 0);
    EXPECT_TRUE(Near(shifted.At(1, 0), 0xFF808080)) << std::hex << shifted.At(1, 0);
    EXPECT_EQ(shifted.At(2, 0), 0xFF000000u);
}

TEST(PanelBlend, NearestSamplingTakesPicturePixelsUnchanged)
{
    TCanvas canvas(5, 3, 0);
    BlendPicture(canvas.Target(), kSource, 0.3, 0, 4.7, 3, 1.0, false);
    for (uint32_t pixel : canvas.Pixels)
        EXPECT_TRUE(pixel == 0 || std::find(kPicture.begin(), kPicture.end(), pixel) != kPicture.end()) << std::hex << pixel;
}

TEST(PanelBlend, PlacesOutsideTheTargetOrWithoutSizeChangeNothing)
{
    TCanvas canvas(4, 4, 0xFF000000);
    const std::vector<uint32_t> before = canvas.Pixels;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    BlendPicture(canvas.Target(), kSource, 10, 0, 3, 2, 1.0);
    BlendPicture(canvas.Target(), kSource, -5, -5, 3, 2, 1.0);
    BlendPicture(canvas.Target(), kSource, 0, 0, 0, 2, 1.0);
    BlendPicture(canvas.Target(), kSource, 0, 0, -3, 2, 1.0);
    BlendPicture(canvas.Target(), kSource, 0, 0, nan, 2, 1.0);
    BlendPicture(canvas.Target(), kSource, nan, 0, 3, 2, 1.0);
    BlendPicture(canvas.Target(), kSource, 0, 1e300, 3, 2, 1.0);
    BlendPicture(canvas.Target(), kSource, 0, 0, 3, 2, 0.0);
    BlendPicture(canvas.Target(), kSource, 0, 0, 3, 2, nan);
    BlendPicture(canvas.Target(), {nullptr, 3, 2, 3}, 0, 0, 3, 2, 1.0);
    EXPECT_EQ(canvas.Pixels, before);
    // Partly outside: the part inside is drawn.
    BlendPicture(canvas.Target(), kSource, -1, -1, 3, 2, 1.0);
    EXPECT_EQ(canvas.At(0, 0), kPicture[4]);
    EXPECT_EQ(canvas.At(1, 0), kPicture[5]);
    EXPECT_EQ(canvas.At(2, 0), 0xFF000000u);
}
