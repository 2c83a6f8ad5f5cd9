// GDI+ for the toolkit's drawing: started once, on first use, and shut down at the end of
// the process; PNG pictures decoded from bytes. Win32 only.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "framework/ui/SkinTypes.h"

#include <memory>
#include <string_view>

namespace vp {

// Makes sure GDI+ runs (false when it could not start); every drawing entry point calls it
// before its first GDI+ object.
bool EnsureGdiPlus();

// A PNG file's bytes as a bitmap with its alpha; nullptr for bytes that are not a picture.
std::unique_ptr<Gdiplus::Bitmap> DecodePng(std::string_view bytes);
// Any picture GDI+ reads (PNG, JPEG, BMP, GIF) as a premultiplied bitmap; nullptr for bytes
// that are no picture or one with a side longer than maxSide (0: any size).
std::unique_ptr<Gdiplus::Bitmap> DecodePicture(std::string_view bytes, UINT maxSide);
// A picture file that keeps no hold on the file; nullptr when it is missing, larger than
// maxFileSize, unreadable or no picture.
std::unique_ptr<Gdiplus::Bitmap> LoadPictureFile(StringView fileName, size_t maxFileSize, UINT maxSide);
// A PNG file from disk; nullptr when it cannot be read or decoded.
std::unique_ptr<Gdiplus::Bitmap> LoadPngFile(StringView fileName);

// A Windows colour (0x00BBGGRR) as a GDI+ colour with the given opacity.
inline Gdiplus::Color ToGdiPlus(TColor color, BYTE alpha = 255)
{
    return Gdiplus::Color(alpha, GetRValue(color), GetGValue(color), GetBValue(color));
}

} // namespace vp
