#include "framework/ui/SkinPainter.h"

#include "framework/rtl/WinText.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/GdiPlus.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>

namespace vp {

namespace {

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) noexcept
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FamilyInstalled(const String& family)
{
    if (family.empty() || family.size() >= LF_FACESIZE)
        return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::copy(family.begin(), family.end(), wanted.lfFaceName);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// A rounded rectangle inside bounds (radius 0: square corners).
void AddRoundRect(Gdiplus::GraphicsPath& path, Gdiplus::RectF bounds, float radius)
{
    radius = std::min({radius, bounds.Width / 2, bounds.Height / 2});
    if (radius <= 0.5f) {
        path.AddRectangle(bounds);
        return;
    }
    float d = radius * 2;
    path.AddArc(bounds.X, bounds.Y, d, d, 180, 90);
    path.AddArc(bounds.GetRight() - d, bounds.Y, d, d, 270, 90);
    path.AddArc(bounds.GetRight() - d, bounds.GetBottom() - d, d, d, 0, 90);
    path.AddArc(bounds.X, bounds.GetBottom() - d, d, d, 90, 90);
    path.CloseFigure();
}

Gdiplus::RectF ToRectF(const RECT& rect)
{
    return Gdiplus::RectF(static_cast<float>(rect.left), static_cast<float>(rect.top),
        static_cast<float>(rect.right - rect.left), static_cast<float>(rect.bottom - rect.top));
}

UINT AlignFlags(TSkinTextAlign align)
{
    switch (align) {
    case TSkinTextAlign::Center: return DT_CENTER;
    case TSkinTextAlign::Right: return DT_RIGHT;
    case TSkinTextAlign::Left: break;
    }
    return DT_LEFT;
}

} // namespace

// ---- TSkinResources ----

TSkinResources::TSkinResources(std::shared_ptr<const TSkinDefinition> skin) : FSkin(std::move(skin))
{
    if (!FSkin)
        FSkin = std::make_shared<const TSkinDefinition>();
}

TSkinResources::~TSkinResources()
{
    for (auto& [key, font] : FFonts)
        DeleteObject(font);
    for (auto& [key, bitmap] : FStretched)
        DeleteObject(bitmap);
}

HBITMAP TSkinResources::Stretched(const String& key, const std::function<HBITMAP()>& make)
{
    if (auto found = FStretched.find(key); found != FStretched.end())
        return found->second;
    // Windows are only so many sizes; a skin that keeps making new ones starts afresh.
    constexpr size_t kMostStretched = 256;
    if (FStretched.size() >= kMostStretched) {
        for (auto& [old, bitmap] : FStretched)
            DeleteObject(bitmap);
        FStretched.clear();
    }
    HBITMAP bitmap = make();
    if (bitmap)
        FStretched.emplace(key, bitmap);
    return bitmap;
}

HFONT TSkinResources::Font(StringView name, UINT dpi)
{
    auto key = std::make_pair(UpperCase(name), dpi);
    if (auto found = FFonts.find(key); found != FFonts.end())
        return found->second;
    const TSkinFont& font = FSkin->Font(name);
    LOGFONTW logFont{};
    logFont.lfHeight = -ScaleToDpi(font.Height, dpi);
    logFont.lfWeight = font.Weight;
    logFont.lfItalic = font.Italic;
    logFont.lfUnderline = font.Underline;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = CLEARTYPE_QUALITY;
    String family;
    for (const String& candidate : font.Families)
        if (FamilyInstalled(candidate)) {
            family = candidate;
            break;
        }
    HFONT handle = nullptr;
    if (!family.empty()) {
        std::copy(family.begin(), family.end(), logFont.lfFaceName);
        handle = CreateFontIndirectW(&logFont);
    } else {
        // None of the skin's families: the system's message font at the skin's size.
        LOGFONTW system{};
        GetObjectW(MessageFont(dpi), sizeof(system), &system);
        system.lfHeight = logFont.lfHeight;
        system.lfWeight = logFont.lfWeight;
        system.lfItalic = logFont.lfItalic;
        system.lfUnderline = logFont.lfUnderline;
        handle = CreateFontIndirectW(&system);
    }
    if (!handle)
        handle = MessageFont(dpi);
    else
        FFonts[key] = handle;
    return handle;
}

Gdiplus::Bitmap* TSkinResources::Picture(StringView name, double scale, double* variantScale)
{
    const TSkinImage* image = FSkin->Images().Pick(name, scale);
    if (!image)
        return nullptr;
    if (variantScale)
        *variantScale = image->Scale;
    auto found = FPictures.find(image->Name);
    if (found == FPictures.end())
        found = FPictures.emplace(image->Name, DecodePng(image->Png)).first;
    return found->second.get();
}

// ---- TSkinPainter ----

int TSkinPainter::Scale(int designed) const
{
    return ScaleToDpi(designed, FDpi);
}

RECT TSkinPainter::Padding(const TSkinElement& element) const
{
    return RECT{Scale(element.Padding.Left), Scale(element.Padding.Top), Scale(element.Padding.Right),
        Scale(element.Padding.Bottom)};
}

void TSkinPainter::Fill(HDC dc, const RECT& rect, TColor color) const
{
    if (color == kClNone)
        return;
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void TSkinPainter::DrawElement(HDC dc, const RECT& rect, const TSkinElement& element, TSkinState state) const
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    if (element.HasImage(state)) {
        DrawPicture(dc, rect, element, element.Image[state]);
        return;
    }
    TColor fill = element.Fill[state];
    TColor border = element.Border[state];
    int borderWidth = element.BorderWidth > 0 ? std::max(1, Scale(element.BorderWidth)) : 0;
    if (fill == kClNone && (border == kClNone || borderWidth == 0))
        return;
    int radius = Scale(element.Radius);
    if (radius == 0 && (border == kClNone || borderWidth == 0)) {
        Fill(dc, rect, fill);
        return;
    }
    EnsureGdiPlus();
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(radius > 0 ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::RectF bounds = ToRectF(rect);
    if (fill != kClNone) {
        Gdiplus::GraphicsPath path;
        AddRoundRect(path, bounds, static_cast<float>(radius));
        Gdiplus::SolidBrush brush(ToGdiPlus(fill));
        graphics.FillPath(&brush, &path);
    }
    if (border != kClNone && borderWidth > 0) {
        // The frame is filled as a ring between two outlines: fills land on the same pixels on
        // every system, where a pen on half pixels does not (Wine puts it a pixel further on,
        // and the right and bottom edges fall outside).
        const float width = static_cast<float>(borderWidth);
        Gdiplus::GraphicsPath ring(Gdiplus::FillModeAlternate);
        AddRoundRect(ring, bounds, static_cast<float>(radius));
        Gdiplus::RectF inner(bounds.X + width, bounds.Y + width, bounds.Width - 2 * width, bounds.Height - 2 * width);
        if (inner.Width > 0 && inner.Height > 0)
            AddRoundRect(ring, inner, std::max(0.0f, radius - width));
        Gdiplus::SolidBrush brush(ToGdiPlus(border));
        graphics.FillPath(&brush, &ring);
    }
}

void TSkinPainter::DrawGlow(HDC dc, const RECT& rect, const TSkinElement& element, TSkinState state) const
{
    TColor glow = element.Glow[state];
    int size = Scale(element.GlowSize);
    if (glow == kClNone || size <= 0)
        return;
    EnsureGdiPlus();
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    int radius = Scale(element.Radius);
    // Rings fading outwards.
    for (int i = size; i >= 1; --i) {
        BYTE alpha = static_cast<BYTE>(110 * (size - i + 1) / (size + 1));
        Gdiplus::RectF ring = ToRectF(rect);
        ring.Inflate(static_cast<float>(i) - 0.5f, static_cast<float>(i) - 0.5f);
        Gdiplus::GraphicsPath path;
        AddRoundRect(path, ring, static_cast<float>(radius + i));
        Gdiplus::Pen pen(ToGdiPlus(glow, alpha), 1.0f);
        graphics.DrawPath(&pen, &path);
    }
}

void TSkinPainter::DrawPicture(HDC dc, const RECT& rect, const TSkinElement& element, const String& picture) const
{
    double variantScale = 1.0;
    Gdiplus::Bitmap* bitmap = FResources.Picture(picture, FDpi / static_cast<double>(kDesignDpi), &variantScale);
    if (!bitmap)
        return;
    EnsureGdiPlus();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    // Stretched once per size (a window's parts are few sizes), then blended as it is.
    constexpr int kMostCachedPixels = 512 * 512;
    if (w * h <= kMostCachedPixels) {
        const TSkinMargins& m = element.Margins;
        const String key = picture + u"|" + IntToStr(w) + u"x" + IntToStr(h) + u"@" + IntToStr(FDpi) + u"|" +
            IntToStr(m.Left) + u"," + IntToStr(m.Top) + u"," + IntToStr(m.Right) + u"," + IntToStr(m.Bottom);
        HBITMAP stretched = FResources.Stretched(key, [&]() -> HBITMAP {
            Gdiplus::Bitmap canvas(w, h, PixelFormat32bppPARGB);
            {
                Gdiplus::Graphics graphics(&canvas);
                DrawSlices(graphics, *bitmap, variantScale, RECT{0, 0, w, h}, element);
            }
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = w;
            info.bmiHeader.biHeight = -h;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            void* bits = nullptr;
            HBITMAP made = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            Gdiplus::BitmapData data{};
            Gdiplus::Rect all(0, 0, w, h);
            if (!made || canvas.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
                if (made)
                    DeleteObject(made);
                return nullptr;
            }
            for (int y = 0; y < h; ++y)
                std::memcpy(static_cast<char*>(bits) + static_cast<size_t>(y) * w * 4,
                    static_cast<const char*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride, static_cast<size_t>(w) * 4);
            canvas.UnlockBits(&data);
            return made;
        });
        if (stretched) {
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, stretched);
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            GdiAlphaBlend(dc, rect.left, rect.top, w, h, source, 0, 0, w, h, blend);
            SelectObject(source, old);
            DeleteDC(source);
            return;
        }
    }
    Gdiplus::Graphics graphics(dc);
    DrawSlices(graphics, *bitmap, variantScale, rect, element);
}

void TSkinPainter::DrawSlices(Gdiplus::Graphics& graphics, Gdiplus::Bitmap& bitmap, double variantScale,
    const RECT& rect, const TSkinElement& element) const
{
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY); // no bleeding at the outer edges
    const int width = static_cast<int>(bitmap.GetWidth());
    const int height = static_cast<int>(bitmap.GetHeight());
    auto source = [&](int margin) { return static_cast<int>(std::lround(margin * variantScale)); };
    // Source and destination cuts: left, right, top, bottom.
    const int sl = std::min(source(element.Margins.Left), width), sr = std::min(source(element.Margins.Right), width - sl);
    const int st = std::min(source(element.Margins.Top), height), sb = std::min(source(element.Margins.Bottom), height - st);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    int dl = Scale(element.Margins.Left), dr = Scale(element.Margins.Right);
    int dt = Scale(element.Margins.Top), db = Scale(element.Margins.Bottom);
    if (dl + dr > w) {
        dl = w * dl / std::max(1, dl + dr);
        dr = w - dl;
    }
    if (dt + db > h) {
        dt = h * dt / std::max(1, dt + db);
        db = h - dt;
    }
    const int sx[4] = {0, sl, width - sr, width};
    const int sy[4] = {0, st, height - sb, height};
    const int dx[4] = {rect.left, rect.left + dl, rect.right - dr, rect.right};
    const int dy[4] = {rect.top, rect.top + dt, rect.bottom - db, rect.bottom};
    // Each slice takes a source pixel more on every side where it meets another slice and is
    // clipped to its place: the scaling then reads true neighbours at the seams, and an edge
    // row or column that comes out empty (Wine's scaling loses one at the start of some) lies
    // outside the clip.
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            int sw = sx[column + 1] - sx[column], sh = sy[row + 1] - sy[row];
            int dw = dx[column + 1] - dx[column], dh = dy[row + 1] - dy[row];
            if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
                continue;
            const int left = sx[column] > 0 ? 1 : 0, right = sx[column + 1] < width ? 1 : 0;
            const int top = sy[row] > 0 ? 1 : 0, bottom = sy[row + 1] < height ? 1 : 0;
            const float rx = static_cast<float>(dw) / sw, ry = static_cast<float>(dh) / sh;
            graphics.SetClip(Gdiplus::Rect(dx[column], dy[row], dw, dh));
            graphics.DrawImage(&bitmap,
                Gdiplus::RectF(dx[column] - left * rx, dy[row] - top * ry, dw + (left + right) * rx,
                    dh + (top + bottom) * ry),
                static_cast<float>(sx[column] - left), static_cast<float>(sy[row] - top),
                static_cast<float>(sw + left + right), static_cast<float>(sh + top + bottom), Gdiplus::UnitPixel,
                &attributes);
        }
    graphics.ResetClip();
}

void TSkinPainter::DrawText(HDC dc, const RECT& rect, const TSkinElement& element, TSkinState state,
    StringView text, UINT format) const
{
    if (text.empty())
        return;
    RECT padding = Padding(element);
    RECT inner{rect.left + padding.left, rect.top + padding.top, rect.right - padding.right,
        rect.bottom - padding.bottom};
    if (format == 0)
        format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (!(format & (DT_CENTER | DT_RIGHT)))
        format |= AlignFlags(element.TextAlign);
    HGDIOBJ oldFont = SelectObject(dc, ElementFont(element));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, element.Text[state] == kClNone ? 0 : element.Text[state]);
    String copy(text);
    ::DrawTextW(dc, WStr(copy), static_cast<int>(copy.size()), &inner, format);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

SIZE TSkinPainter::MeasureText(HDC dc, const TSkinElement& element, StringView text, int maxWidth) const
{
    HGDIOBJ oldFont = SelectObject(dc, ElementFont(element));
    String copy(text.empty() ? StringView(u" ") : text);
    RECT bounds{0, 0, maxWidth > 0 ? maxWidth : 0, 0};
    UINT format = DT_CALCRECT | (maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    ::DrawTextW(dc, WStr(copy), static_cast<int>(copy.size()), &bounds, format);
    SelectObject(dc, oldFont);
    return SIZE{text.empty() ? 0 : bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void TSkinPainter::DrawElementGlyph(HDC dc, const RECT& rect, const TSkinElement& element, TSkinState state) const
{
    RECT box = rect;
    if (element.GlyphSize > 0) {
        int size = Scale(element.GlyphSize);
        int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
        box = RECT{cx - size / 2, cy - size / 2, cx - size / 2 + size, cy - size / 2 + size};
    }
    DrawGlyph(dc, box, element.Glyph[state], element.GlyphColor[state]);
}

void TSkinPainter::DrawGlyph(HDC dc, const RECT& rect, const TSkinGlyph& glyph, TColor color) const
{
    if (glyph.Empty() || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    if (glyph.Builtin != TBuiltinGlyph::None) {
        DrawBuiltinGlyph(dc, rect, glyph.Builtin, color);
        return;
    }
    double variantScale = 1.0;
    Gdiplus::Bitmap* bitmap = FResources.Picture(glyph.Image, FDpi / static_cast<double>(kDesignDpi), &variantScale);
    if (!bitmap)
        return;
    // The picture at its own designed size, centred, never larger than the box.
    int w = static_cast<int>(std::lround(bitmap->GetWidth() / variantScale * FDpi / kDesignDpi));
    int h = static_cast<int>(std::lround(bitmap->GetHeight() / variantScale * FDpi / kDesignDpi));
    double fit = std::min({1.0, double(rect.right - rect.left) / std::max(1, w), double(rect.bottom - rect.top) / std::max(1, h)});
    w = static_cast<int>(w * fit);
    h = static_cast<int>(h * fit);
    int x = (rect.left + rect.right - w) / 2, y = (rect.top + rect.bottom - h) / 2;
    EnsureGdiPlus();
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.DrawImage(bitmap, Gdiplus::Rect(x, y, w, h));
}

void TSkinPainter::DrawBuiltinGlyph(HDC dc, const RECT& rect, TBuiltinGlyph glyph, TColor color) const
{
    EnsureGdiPlus();
    Gdiplus::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    const float w = static_cast<float>(rect.right - rect.left), h = static_cast<float>(rect.bottom - rect.top);
    const float s = std::min(w, h);
    const float x = rect.left + (w - s) / 2, y = rect.top + (h - s) / 2;
    const float stroke = std::max(1.0f, FDpi / static_cast<float>(kDesignDpi));
    Gdiplus::Pen pen(ToGdiPlus(color), stroke);
    pen.SetLineJoin(Gdiplus::LineJoinRound);
    pen.SetStartCap(Gdiplus::LineCapRound);
    pen.SetEndCap(Gdiplus::LineCapRound);
    Gdiplus::SolidBrush brush(ToGdiPlus(color));
    auto P = [&](float fx, float fy) { return Gdiplus::PointF(x + fx * s, y + fy * s); };
    auto line = [&](float x1, float y1, float x2, float y2) { graphics.DrawLine(&pen, P(x1, y1), P(x2, y2)); };
    auto polyline = [&](std::initializer_list<Gdiplus::PointF> points) {
        graphics.DrawLines(&pen, points.begin(), static_cast<INT>(points.size()));
    };
    auto triangle = [&](std::initializer_list<Gdiplus::PointF> points) {
        graphics.FillPolygon(&brush, points.begin(), static_cast<INT>(points.size()));
    };
    // A round or triangular badge with a white sign, as the system's message icons draw.
    auto badgeText = [&](const wchar_t* sign, float top) {
        // Through a GDI font: GDI finds a stand-in where GDI+ would find no family at all.
        LOGFONTW logFont{};
        logFont.lfHeight = -static_cast<LONG>(std::lround(s * 0.6f));
        logFont.lfWeight = FW_BOLD;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfQuality = ANTIALIASED_QUALITY;
        wcscpy(logFont.lfFaceName, L"Tahoma");
        HFONT gdiFont = CreateFontIndirectW(&logFont);
        {
            Gdiplus::Font font(dc, gdiFont);
            Gdiplus::StringFormat format;
            format.SetAlignment(Gdiplus::StringAlignmentCenter);
            format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
            Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
            graphics.DrawString(sign, -1, &font, Gdiplus::RectF(x, y + top * s, s, s), &format, &white);
        }
        DeleteObject(gdiFont);
    };
    switch (glyph) {
    case TBuiltinGlyph::None: break;
    case TBuiltinGlyph::Close:
        line(0.1f, 0.1f, 0.9f, 0.9f);
        line(0.9f, 0.1f, 0.1f, 0.9f);
        break;
    case TBuiltinGlyph::Minimize: line(0.1f, 0.55f, 0.9f, 0.55f); break;
    case TBuiltinGlyph::Maximize: graphics.DrawRectangle(&pen, x + 0.1f * s, y + 0.1f * s, 0.8f * s, 0.8f * s); break;
    case TBuiltinGlyph::Restore:
        graphics.DrawRectangle(&pen, x + 0.1f * s, y + 0.3f * s, 0.6f * s, 0.6f * s);
        polyline({P(0.3f, 0.3f), P(0.3f, 0.1f), P(0.9f, 0.1f), P(0.9f, 0.7f), P(0.7f, 0.7f)});
        break;
    case TBuiltinGlyph::RollUp: polyline({P(0.15f, 0.7f), P(0.5f, 0.3f), P(0.85f, 0.7f)}); break;
    case TBuiltinGlyph::RollDown: polyline({P(0.15f, 0.3f), P(0.5f, 0.7f), P(0.85f, 0.3f)}); break;
    case TBuiltinGlyph::SysMenu:
        line(0.15f, 0.25f, 0.85f, 0.25f);
        line(0.15f, 0.5f, 0.85f, 0.5f);
        line(0.15f, 0.75f, 0.85f, 0.75f);
        break;
    case TBuiltinGlyph::Check:
        pen.SetWidth(stroke * 1.6f);
        polyline({P(0.15f, 0.55f), P(0.4f, 0.8f), P(0.88f, 0.22f)});
        break;
    case TBuiltinGlyph::Bullet: graphics.FillEllipse(&brush, x + 0.3f * s, y + 0.3f * s, 0.4f * s, 0.4f * s); break;
    case TBuiltinGlyph::ArrowUp: triangle({P(0.2f, 0.68f), P(0.5f, 0.32f), P(0.8f, 0.68f)}); break;
    case TBuiltinGlyph::ArrowDown: triangle({P(0.2f, 0.32f), P(0.5f, 0.68f), P(0.8f, 0.32f)}); break;
    case TBuiltinGlyph::ArrowLeft: triangle({P(0.68f, 0.2f), P(0.32f, 0.5f), P(0.68f, 0.8f)}); break;
    case TBuiltinGlyph::ArrowRight: triangle({P(0.32f, 0.2f), P(0.68f, 0.5f), P(0.32f, 0.8f)}); break;
    case TBuiltinGlyph::Warning:
        triangle({P(0.5f, 0.04f), P(0.97f, 0.92f), P(0.03f, 0.92f)});
        badgeText(L"!", 0.12f);
        break;
    case TBuiltinGlyph::Error:
        graphics.FillEllipse(&brush, x, y, s, s);
        pen.SetColor(Gdiplus::Color(255, 255, 255, 255));
        pen.SetWidth(stroke * 2);
        line(0.32f, 0.32f, 0.68f, 0.68f);
        line(0.68f, 0.32f, 0.32f, 0.68f);
        break;
    case TBuiltinGlyph::Information:
        graphics.FillEllipse(&brush, x, y, s, s);
        badgeText(L"i", 0.0f);
        break;
    case TBuiltinGlyph::Confirmation:
        graphics.FillEllipse(&brush, x, y, s, s);
        badgeText(L"?", 0.0f);
        break;
    }
}

} // namespace vp
