// TPngImageList: pictures of one designed size (48 x 48 for the flags), each from a PNG with
// its alpha and each with a name; drawn at any DPI into the item size, the picture's shape
// kept and centred. Names are found without regard to case.
#pragma once

#include <windows.h>

#include "framework/rtl/Component.h"

#include <memory>
#include <string_view>
#include <vector>

namespace Gdiplus {
class Bitmap;
}

namespace vp {

class TPngImageList : public TComponent {
    VP_CLASS(TPngImageList)
public:
    explicit TPngImageList(TComponent* aOwner);
    ~TPngImageList() override;

    // The item size in designed (96-DPI) units.
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
    int Height() const { return FHeight; }
    void SetHeight(int value) { FHeight = value; }

    int Count() const { return static_cast<int>(FItems.size()); }
    // A new item without a picture; its index.
    int Add(const String& name = String());
    void Delete(int index);
    void Clear();
    // The PNG file (or bytes) becomes the item's picture; false when it is no picture, and
    // the item keeps what it had.
    bool LoadFromFile(int index, StringView fileName);
    bool LoadFromBytes(int index, std::string_view png);
    // The same, but the file is read when the picture is first asked for (Picture, Draw): a
    // long list starts without decoding pictures nobody may look at. A file that then turns
    // out to be no picture leaves the item as it was.
    void LoadFromFileWhenUsed(int index, StringView fileName);

    String Names(int index) const;
    void SetNames(int index, const String& name);
    // The first item of that name, without regard to case; -1 when there is none.
    int IndexOf(StringView name) const;
    // The item's picture, or nullptr (no picture, or an index outside the list).
    Gdiplus::Bitmap* Picture(int index) const;

    // Draws the item into rect (pixels), blended with what is there; a disabled one faded.
    void Draw(HDC dc, int index, const RECT& rect, bool enabled = true) const;
    // Draws the item at (x, y) in its designed size at dpi.
    void Draw(HDC dc, int index, int x, int y, UINT dpi, bool enabled = true) const;

private:
    struct TItem;
    void CheckIndex(int index) const;

    int FWidth = 16;
    int FHeight = 16;
    std::vector<std::unique_ptr<TItem>> FItems;
};

} // namespace vp
