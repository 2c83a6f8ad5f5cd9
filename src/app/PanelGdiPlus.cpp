#include "app/PanelGdiPlus.h"

#include <shlwapi.h>

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"

#include <filesystem>

namespace vp {

std::shared_ptr<TGdiPlusSession> TGdiPlusSession::Acquire()
{
    static std::weak_ptr<TGdiPlusSession> current;
    std::shared_ptr<TGdiPlusSession> session = current.lock();
    if (!session) {
        session.reset(new TGdiPlusSession());
        current = session;
    }
    return session;
}

TGdiPlusSession::TGdiPlusSession()
{
    Gdiplus::GdiplusStartupInput input;
    FStarted = Gdiplus::GdiplusStartup(&FToken, &input, nullptr) == Gdiplus::Ok;
}

TGdiPlusSession::~TGdiPlusSession()
{
    if (FStarted)
        Gdiplus::GdiplusShutdown(FToken);
}

std::unique_ptr<Gdiplus::Bitmap> LoadPanelPicture(StringView path)
{
    if (path.empty())
        return nullptr;
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(ToFsPath(path), error);
    if (error || size == 0 || size > kPanelMaxPictureFileSize)
        return nullptr;
    std::string bytes;
    try {
        bytes = ReadAllBytes(path);
    } catch (const Exception&) {
        return nullptr;
    }
    if (bytes.empty() || bytes.size() > kPanelMaxPictureFileSize)
        return nullptr;
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (!stream)
        return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    UINT width = decoded->GetWidth(), height = decoded->GetHeight();
    if (width == 0 || height == 0 || width > kPanelMaxPictureSide || height > kPanelMaxPictureSide)
        return nullptr;
    // A copy of its own: a bitmap made from a stream reads it while it lives, and the
    // premultiplied form is the one GDI+ draws fastest.
    auto owned = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width), static_cast<INT>(height), PixelFormat32bppPARGB);
    if (owned->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    Gdiplus::Graphics graphics(owned.get());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    if (graphics.DrawImage(decoded.get(), 0, 0, static_cast<INT>(width), static_cast<INT>(height)) != Gdiplus::Ok)
        return nullptr;
    return owned;
}

} // namespace vp
