#include "framework/ui/PngImageList.h"

#include "framework/rtl/Exceptions.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/GdiPlus.h"
#include "framework/ui/PngDrawing.h"

namespace vp {

struct TPngImageList::TItem {
    String Name;
    std::unique_ptr<Gdiplus::Bitmap> Picture;
    // A file read when the picture is first asked for ("" when none is waiting).
    String PendingFile;
};

const TClassInfo& TPngImageList::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TPngImageList, TComponent>(u"TPngImageList")
                                       .Other(u"Width", u"Integer")
                                       .Other(u"Height", u"Integer")
                                       .Build();
    return info;
}

TPngImageList::TPngImageList(TComponent* aOwner) : TComponent(aOwner)
{
}

TPngImageList::~TPngImageList() = default;

void TPngImageList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

int TPngImageList::Add(const String& name)
{
    auto item = std::make_unique<TItem>();
    item->Name = name;
    FItems.push_back(std::move(item));
    return Count() - 1;
}

void TPngImageList::Delete(int index)
{
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
}

void TPngImageList::Clear()
{
    FItems.clear();
}

bool TPngImageList::LoadFromFile(int index, StringView fileName)
{
    CheckIndex(index);
    auto picture = LoadPngFile(fileName);
    if (!picture)
        return false;
    FItems[static_cast<size_t>(index)]->Picture = std::move(picture);
    FItems[static_cast<size_t>(index)]->PendingFile.clear();
    return true;
}

void TPngImageList::LoadFromFileWhenUsed(int index, StringView fileName)
{
    CheckIndex(index);
    FItems[static_cast<size_t>(index)]->PendingFile = String(fileName);
}

bool TPngImageList::LoadFromBytes(int index, std::string_view png)
{
    CheckIndex(index);
    auto picture = DecodePng(png);
    if (!picture)
        return false;
    FItems[static_cast<size_t>(index)]->Picture = std::move(picture);
    FItems[static_cast<size_t>(index)]->PendingFile.clear();
    return true;
}

String TPngImageList::Names(int index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)]->Name;
}

void TPngImageList::SetNames(int index, const String& name)
{
    CheckIndex(index);
    FItems[static_cast<size_t>(index)]->Name = name;
}

int TPngImageList::IndexOf(StringView name) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(FItems[static_cast<size_t>(i)]->Name, name))
            return i;
    return -1;
}

Gdiplus::Bitmap* TPngImageList::Picture(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    TItem& item = *FItems[static_cast<size_t>(index)];
    if (!item.PendingFile.empty()) {
        String file = std::move(item.PendingFile);
        item.PendingFile.clear();
        if (auto picture = LoadPngFile(file))
            item.Picture = std::move(picture);
    }
    return item.Picture.get();
}

void TPngImageList::Draw(HDC dc, int index, const RECT& rect, bool enabled) const
{
    if (Gdiplus::Bitmap* picture = Picture(index))
        DrawPicture(dc, *picture, FitPicture(*picture, rect), enabled ? 1.0f : 0.45f);
}

void TPngImageList::Draw(HDC dc, int index, int x, int y, UINT dpi, bool enabled) const
{
    RECT rect{x, y, x + ScaleToDpi(FWidth, dpi), y + ScaleToDpi(FHeight, dpi)};
    Draw(dc, index, rect, enabled);
}

} // namespace vp
