// GDI+ for the status panel's player: kept running while a player lives, and pictures read
// into bitmaps of their own. Win32 only.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "framework/rtl/RtlText.h"

#include <memory>

namespace vp {

// GDI+ runs while any holder of a session lives: the first one starts it, the last one
// shuts it down. User-interface thread only.
class TGdiPlusSession {
public:
    static std::shared_ptr<TGdiPlusSession> Acquire();
    ~TGdiPlusSession();
    TGdiPlusSession(const TGdiPlusSession&) = delete;
    TGdiPlusSession& operator=(const TGdiPlusSession&) = delete;

    bool Started() const { return FStarted; }

private:
    TGdiPlusSession();

    ULONG_PTR FToken = 0;
    bool FStarted = false;
};

// Larger files and pictures are not read: a flag or a panel picture is small.
constexpr size_t kPanelMaxPictureFileSize = 4 * 1024 * 1024;
constexpr UINT kPanelMaxPictureSide = 4096;

// A picture file (PNG, JPEG, BMP, GIF) as a premultiplied 32-bit bitmap that keeps no hold on
// the file; nullptr when the file cannot be read or holds no picture.
std::unique_ptr<Gdiplus::Bitmap> LoadPanelPicture(StringView path);

} // namespace vp
