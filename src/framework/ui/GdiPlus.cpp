#include "framework/ui/GdiPlus.h"

#include <shlwapi.h>

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"

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
    TGdiPlusSession& operator=(const TGdiPlusSession&) = delete;

private:
    ULONG_PTR FToken = 0;
    bool FStarted = false;
};

} // namespace

void EnsureGdiPlus()
{
    // Ends with the process, after every window that drew with it.
    static TGdiPlusSession session;
}

std::unique_ptr<Gdiplus::Bitmap> DecodePng(std::string_view bytes)
{
    EnsureGdiPlus();
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF)
        return nullptr;
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (!stream)
        return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok || decoded->GetWidth() == 0)
        return nullptr;
    // A copy of its own: a bitmap made from a stream keeps reading it while it lives.
    auto owned = std::make_unique<Gdiplus::Bitmap>(
        static_cast<INT>(decoded->GetWidth()), static_cast<INT>(decoded->GetHeight()), PixelFormat32bppPARGB);
    Gdiplus::Graphics graphics(owned.get());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    graphics.DrawImage(decoded.get(), 0, 0, static_cast<INT>(decoded->GetWidth()),
        static_cast<INT>(decoded->GetHeight()));
    return owned;
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
