// The program's own PNG reader against the system decoder behind GDI+: every picture that
// ships (flags, panel and window pictures, each skin's pictures) gives the same pixels both
// ways.
#include "framework/ui/GdiPlus.h"
#include "framework/ui/PngDecoder.h"
#include "framework/ui/SkinArchive.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

using namespace vp;
using vptest::ReadFileBytes;

namespace {

std::vector<uint32_t> PixelsOf(Gdiplus::Bitmap& bitmap, UINT& width, UINT& height)
{
    width = bitmap.GetWidth();
    height = bitmap.GetHeight();
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData locked{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &locked) != Gdiplus::Ok)
        return {};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (UINT y = 0; y < height; ++y)
        std::memcpy(pixels.data() + static_cast<size_t>(y) * width,
            static_cast<const BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride, width * 4);
    bitmap.UnlockBits(&locked);
    return pixels;
}

// The system decoder's premultiplied pixels, or an empty list when it cannot read the bytes.
std::vector<uint32_t> SystemPixels(const std::string& bytes, UINT& width, UINT& height)
{
    EnsureGdiPlus();
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok)
        return {};
    return PixelsOf(*bitmap, width, height);
}

// Channel by channel within one step: the two round premultiplication their own ways.
::testing::AssertionResult SamePixels(const std::string& name, const std::string& bytes)
{
    UINT width = 0, height = 0;
    std::vector<uint32_t> expected = SystemPixels(bytes, width, height);
    if (expected.empty())
        return ::testing::AssertionFailure() << name << ": the system decoder cannot read it";
    TPngPixels own;
    if (!DecodePngPixels(bytes, own))
        return ::testing::AssertionFailure() << name << ": the own reader refused it";
    if (own.Width != width || own.Height != height)
        return ::testing::AssertionFailure() << name << ": size " << own.Width << "x" << own.Height;
    for (size_t i = 0; i < expected.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8) {
            int a = static_cast<int>((expected[i] >> shift) & 0xFF), b = static_cast<int>((own.Pixels[i] >> shift) & 0xFF);
            if (std::abs(a - b) > 1)
                return ::testing::AssertionFailure() << name << ": pixel " << i << " is " << std::hex << own.Pixels[i]
                                                     << ", the system gives " << expected[i];
        }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(PngSystemMatch, EveryShippedPictureDecodesAsTheSystemDecodesIt)
{
    int pictures = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(VP_SOURCE_DATA_DIR "res")) {
        std::string extension = entry.path().extension().string();
        if (_stricmp(extension.c_str(), ".png") != 0)
            continue;
        EXPECT_TRUE(SamePixels(entry.path().string(), ReadFileBytes(entry.path())));
        ++pictures;
    }
    EXPECT_GT(pictures, 200); // the flags and the panel's and windows' pictures
    int skinPictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VP_BUILT_SKINS_DIR)) {
        TSkinArchive archive = TSkinArchive::Read(ReadFileBytes(entry.path()));
        for (const String& name : archive.Names())
            if (const std::string* bytes = archive.Find(name); bytes && IsPngData(*bytes)) {
                EXPECT_TRUE(SamePixels(entry.path().string() + "/" + U16ToUtf8(name), *bytes));
                ++skinPictures;
            }
    }
    EXPECT_GT(skinPictures, 30);

    // The size limit holds for the pictures the own reader takes.
    const std::string about = ReadFileBytes(VP_SOURCE_DATA_DIR "res/images/about.png");
    EXPECT_FALSE(DecodePicture(about, 4));
    EXPECT_TRUE(DecodePicture(about, 4096));
}
