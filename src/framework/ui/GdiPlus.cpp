#include "framework/ui/GdiPlus.h"

#include <shlwapi.h>

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/PngDecoder.h"

#include <cstring>
#include <filesystem>
#include <mutex>

namespace vp {

namespace {

class TGdiPlusSession {
public:
    TGdiPlusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        FStarted = Gdiplus::GdiplusStartup(&FToken, &input, nullptr) == Gdiplus::Ok;
    }
    ~TGdiPlusSession()
    {
        if (FStarted)
            Gdiplus::GdiplusShutdown(FToken);
    }
    TGdiPlusSession(const TGdiPlusSession&) = delete;
    bool Started() const { return FStarted; }
    TGdiPlusSession& operator=(const TGdiPlusSession&) = delete;

private:
    ULONG_PTR FToken = 0;
    bool FStarted = false;
};

// A bitmap holding the decoded pixels, in the premultiplied form they are in.
std::unique_ptr<Gdiplus::Bitmap> BitmapFromPixels(const TPngPixels& png)
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(
        static_cast<INT>(png.Width), static_cast<INT>(png.Height), PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    Gdiplus::Rect all(0, 0, static_cast<INT>(png.Width), static_cast<INT>(png.Height));
    Gdiplus::BitmapData locked{};
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &locked) != Gdiplus::Ok)
        return nullptr;
    for (UINT y = 0; y < png.Height; ++y)
        std::memcpy(static_cast<BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride,
            png.Pixels.data() + static_cast<size_t>(y) * png.Width, png.Width * sizeof(uint32_t));
    bitmap->UnlockBits(&locked);
    return bitmap;
}

} // namespace

bool EnsureGdiPlus()
{
    // Ends with the process, after every window that drew with it.
    static TGdiPlusSession session;
    return session.Started();
}

std::unique_ptr<Gdiplus::Bitmap> DecodePicture(std::string_view bytes, UINT maxSide)
{
    EnsureGdiPlus();
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF)
        return nullptr;
    // Plain PNGs are read here; the system decoder takes the rest.
    if (TPngPixels png; DecodePngPixels(bytes, png)) {
        if (maxSide != 0 && (png.Width > maxSide || png.Height > maxSide))
            return nullptr;
        return BitmapFromPixels(png);
    }
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (!stream)
        return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    UINT width = decoded->GetWidth(), height = decoded->GetHeight();
    if (width == 0 || height == 0 || (maxSide != 0 && (width > maxSide || height > maxSide)))
        return nullptr;
    // A copy of its own: a bitmap made from a stream keeps reading it while it lives, and
    // the premultiplied form is the one GDI+ draws fastest.
    auto owned = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width), static_cast<INT>(height), PixelFormat32bppPARGB);
    if (owned->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    Gdiplus::Graphics graphics(owned.get());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    if (graphics.DrawImage(decoded.get(), 0, 0, static_cast<INT>(width), static_cast<INT>(height)) != Gdiplus::Ok)
        return nullptr;
    return owned;
}

std::unique_ptr<Gdiplus::Bitmap> DecodePng(std::string_view bytes)
{
    return DecodePicture(bytes, 0);
}

std::unique_ptr<Gdiplus::Bitmap> LoadPictureFile(StringView fileName, size_t maxFileSize, UINT maxSide)
{
    if (fileName.empty())
        return nullptr;
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(ToFsPath(fileName), error);
    if (error || size == 0 || size > maxFileSize)
        return nullptr;
    try {
        std::string bytes = ReadAllBytes(fileName);
        return bytes.size() > maxFileSize ? nullptr : DecodePicture(bytes, maxSide);
    } catch (const Exception&) {
        return nullptr;
    }
}

std::unique_ptr<Gdiplus::Bitmap> LoadPngFile(StringView fileName)
{
    try {
        return DecodePng(ReadAllBytes(fileName));
    } catch (const Exception&) {
        return nullptr;
    }
}

} // namespace vp
