#include "app/PanelPainter.h"

#include "app/PanelBlend.h"

#include "framework/rtl/WinText.h"
#include "framework/ui/Dpi.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vp {

namespace {

Gdiplus::Color Argb(uint32_t argb)
{
    return Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb));
}

Gdiplus::Color WithAlpha(uint32_t argb, double factor)
{
    auto alpha = static_cast<BYTE>(std::clamp(std::lround((argb >> 24) * factor), 0L, 255L));
    return Gdiplus::Color(alpha, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

void AddRoundedRect(Gdiplus::GraphicsPath& path, float left, float top, float width, float height, float radius)
{
    radius = std::min({radius, width / 2, height / 2});
    if (radius <= 0) {
        path.AddRectangle(Gdiplus::RectF(left, top, width, height));
        return;
    }
    float d = radius * 2;
    path.AddArc(left, top, d, d, 180, 90);
    path.AddArc(left + width - d, top, d, d, 270, 90);
    path.AddArc(left + width - d, top + height - d, d, d, 0, 90);
    path.AddArc(left, top + height - d, d, d, 90, 90);
    path.CloseFigure();
}

// Room around a card's picture for its shadow; a shadow farther off is cut.
float CardMargin(const TPanelCardStyle& style)
{
    return static_cast<float>(std::min(std::max(std::abs(style.ShadowOffset.X), std::abs(style.ShadowOffset.Y)), 30) + 2);
}

// A card picture larger than this comes from a scene that makes no sense: it is not drawn.
constexpr int kMaxCardSide = 4096;

Gdiplus::StringAlignment Alignment(TPanelAlign align)
{
    switch (align) {
    case TPanelAlign::Center: return Gdiplus::StringAlignmentCenter;
    case TPanelAlign::Right: return Gdiplus::StringAlignmentFar;
    case TPanelAlign::Left: break;
    }
    return Gdiplus::StringAlignmentNear;
}

String RealizedFace(const LOGFONTW& font)
{
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    TWinHandle<TGdiObjectTraits<HFONT>> handle(CreateFontIndirectW(&font));
    if (!dc || !handle)
        return String();
    HGDIOBJ old = SelectObject(dc.Get(), handle.Get());
    wchar_t face[LF_FACESIZE] = {};
    int length = GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    SelectObject(dc.Get(), old);
    return length > 0 ? FromWStr(face) : String();
}

} // namespace

std::unique_ptr<Gdiplus::FontFamily> PanelFontFamily(StringView face)
{
    std::vector<String> faces{String(face), u"Tahoma"};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        faces.push_back(FromWStr(metrics.lfMessageFont.lfFaceName));
        // The face GDI really draws the message font with: the name may stand for another.
        faces.push_back(RealizedFace(metrics.lfMessageFont));
    }
    for (const String& name : faces) {
        if (name.empty())
            continue;
        auto family = std::make_unique<Gdiplus::FontFamily>(WStr(name));
        if (family->GetLastStatus() == Gdiplus::Ok && family->IsAvailable())
            return family;
    }
    // Any installed family at all.
    Gdiplus::InstalledFontCollection installed;
    Gdiplus::FontFamily first;
    INT found = 0;
    if (installed.GetFamilyCount() > 0 && installed.GetFamilies(1, &first, &found) == Gdiplus::Ok && found == 1)
        return std::unique_ptr<Gdiplus::FontFamily>(first.Clone());
    return std::make_unique<Gdiplus::FontFamily>();
}

void PaintPanelPlain(HDC dc, const TPanelModel& model, int width, int height, UINT dpi)
{
    const TPanelScene& scene = model.Scene();
    double scale = std::min(static_cast<double>(width) / std::max(scene.Width, 1),
        static_cast<double>(height) / std::max(scene.Height, 1));
    TWinHandle<TGdiObjectTraits<HBRUSH>> brush(
        CreateSolidBrush(RGB((scene.Color >> 16) & 0xFF, (scene.Color >> 8) & 0xFF, scene.Color & 0xFF)));
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush.Get());
    HGDIOBJ oldFont = SelectObject(dc, MessageFont(dpi));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    auto line = [&](const TPanelTextLine& text, const TPanelTextBox& box) {
        const TRect& r = box.Rect;
        RECT rect{static_cast<LONG>(r.Left * scale), static_cast<LONG>(r.Top * scale), static_cast<LONG>(r.Right * scale),
            static_cast<LONG>(r.Bottom * scale)};
        UINT align = box.Align == TPanelAlign::Right ? DT_RIGHT : box.Align == TPanelAlign::Center ? DT_CENTER : DT_LEFT;
        SetTextColor(dc, static_cast<COLORREF>(text.Color)); // the commands' colours are Windows colours
        DrawTextW(dc, WStr(text.Text), static_cast<int>(text.Text.size()), &rect,
            align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    };
    line(model.State().InfoText, scene.InfoText);
    line(model.State().InfoText2, scene.InfoText2);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

TPanelPainter::TPanelPainter() = default;

TPanelPainter::~TPanelPainter()
{
    FBuffer.reset();
    if (FBufferDC && FBufferOldBitmap)
        SelectObject(FBufferDC.Get(), FBufferOldBitmap);
}

void TPanelPainter::SetHighQuality(bool value)
{
    FHighQuality = value;
}

void TPanelPainter::Reset()
{
    for (TCardImage& card : FCards)
        card = TCardImage();
    FBaseValid = false;
    FPictures.clear();
    FFonts.clear();
    FFamilies.clear();
}

void TPanelPainter::SetQuality(Gdiplus::Graphics& graphics) const
{
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    if (FHighQuality) {
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    } else {
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
    }
}

bool TPanelPainter::EnsureBuffer(int width, int height)
{
    if (FBuffer && width == FWidth && height == FHeight)
        return true;
    FBuffer.reset();
    if (FBufferDC && FBufferOldBitmap)
        SelectObject(FBufferDC.Get(), FBufferOldBitmap);
    FBufferOldBitmap = nullptr;
    FBufferBitmap.Reset();
    FBufferBits = nullptr;
    FWidth = FHeight = 0;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, like GDI+'s rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBufferBitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!FBufferBitmap || !bits)
        return false;
    if (!FBufferDC)
        FBufferDC.Reset(CreateCompatibleDC(nullptr));
    if (!FBufferDC)
        return false;
    FBufferOldBitmap = SelectObject(FBufferDC.Get(), FBufferBitmap.Get());
    FBufferBits = static_cast<uint32_t*>(bits);
    FBuffer = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
    if (FBuffer->GetLastStatus() != Gdiplus::Ok) {
        FBuffer.reset();
        return false;
    }
    FWidth = width;
    FHeight = height;
    FBaseValid = false;
    return true;
}

Gdiplus::Bitmap* TPanelPainter::Picture(const String& path)
{
    if (path.empty())
        return nullptr;
    auto found = FPictures.find(path);
    if (found == FPictures.end())
        found = FPictures.emplace(path, LoadPanelPicture(path)).first; // a failure is kept too
    return found->second.get();
}

void TPanelPainter::EnsureBase(const TPanelModel& model, double scale)
{
    const TPanelScene& scene = model.Scene();
    TBaseKey key{model.State().Background, model.State().Logo, scene.Color, scene.Logo, FWidth, FHeight};
    if (FBaseValid && key == FBaseKey)
        return;
    FBasePixels.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), 0);
    Gdiplus::Bitmap base(FWidth, FHeight, FWidth * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(FBasePixels.data()));
    Gdiplus::Graphics graphics(&base);
    SetQuality(graphics);
    graphics.Clear(Argb(scene.Color));
    auto s = static_cast<float>(scale);
    if (Gdiplus::Bitmap* background = Picture(key.Background))
        graphics.DrawImage(background, Gdiplus::RectF(0, 0, scene.Width * s, scene.Height * s));
    if (Gdiplus::Bitmap* logo = Picture(key.Logo))
        graphics.DrawImage(logo, Gdiplus::RectF(scene.Logo.Left * s, scene.Logo.Top * s, scene.Logo.Width() * s,
                                     scene.Logo.Height() * s));
    FBaseKey = key;
    FBaseValid = true;
}

Gdiplus::Font& TPanelPainter::Font(const TPanelFont& font)
{
    auto key = std::make_tuple(font.Face, font.Size, font.Bold, font.Italic);
    auto found = FFonts.find(key);
    if (found != FFonts.end())
        return *found->second;
    auto family = FFamilies.find(font.Face);
    if (family == FFamilies.end())
        family = FFamilies.emplace(font.Face, PanelFontFamily(font.Face)).first;
    INT style = Gdiplus::FontStyleRegular;
    if (font.Bold)
        style |= Gdiplus::FontStyleBold;
    if (font.Italic)
        style |= Gdiplus::FontStyleItalic;
    // Points at the scene's 96 pixels per inch.
    auto size = static_cast<Gdiplus::REAL>(font.Size * 96.0 / 72.0);
    auto made = std::make_unique<Gdiplus::Font>(family->second.get(), size, style, Gdiplus::UnitPixel);
    return *FFonts.emplace(key, std::move(made)).first->second;
}

void TPanelPainter::PaintText(Gdiplus::Graphics& graphics, const String& text, const TPanelTextBox& box, uint32_t argb)
{
    if (text.empty())
        return;
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
    format.SetAlignment(Alignment(box.Align));
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    Gdiplus::SolidBrush brush(Argb(argb));
    Gdiplus::RectF rect(static_cast<float>(box.Rect.Left), static_cast<float>(box.Rect.Top),
        static_cast<float>(box.Rect.Width()), static_cast<float>(box.Rect.Height()));
    graphics.DrawString(WStr(text), static_cast<INT>(text.size()), &Font(box.Font), rect, &format, &brush);
}

TPanelPainter::TCardImage& TPanelPainter::EnsureCard(
    const TPanelModel& model, const TPanelFlagCache& flags, TPanelCardId card, double scale)
{
    const TPanelCardStyle& style = model.Scene().Cards;
    const TPanelCard& data = model.State().Card(card);
    TCardImage& image = FCards[static_cast<size_t>(card)];
    TCardKey key{data.IP, data.CountryName, data.City, flags.Find(data.FlagURL),
        card == TPanelCardId::Local ? style.LocalAccent : style.TargetAccent, scale, FHighQuality, style};
    if (!image.Pixels.empty() && image.Key == key)
        return image;

    const float margin = CardMargin(style);
    const auto width = static_cast<float>(style.Front.Width());
    const auto height = static_cast<float>(style.Front.Height());
    const auto s = static_cast<float>(scale);
    image.Key = key;
    image.Pixels.clear();
    image.Width = static_cast<int>(std::ceil((width + 2 * margin) * s));
    image.Height = static_cast<int>(std::ceil((height + 2 * margin) * s));
    if (image.Width <= 0 || image.Height <= 0 || image.Width > kMaxCardSide || image.Height > kMaxCardSide)
        return image;
    image.Pixels.assign(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height), 0);
    Gdiplus::Bitmap bitmap(image.Width, image.Height, image.Width * 4, PixelFormat32bppPARGB,
        reinterpret_cast<BYTE*>(image.Pixels.data()));
    Gdiplus::Graphics graphics(&bitmap);
    SetQuality(graphics);
    graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
    graphics.ScaleTransform(s, s);
    graphics.TranslateTransform(margin, margin);
    const auto radius = static_cast<float>(style.Radius);

    // A soft shadow: a wider faint outline under the shadow itself.
    if (style.Shadow >> 24) {
        auto dx = static_cast<float>(style.ShadowOffset.X), dy = static_cast<float>(style.ShadowOffset.Y);
        Gdiplus::GraphicsPath wide, shadow;
        AddRoundedRect(wide, dx - 1, dy - 1, width + 2, height + 2, radius + 1);
        AddRoundedRect(shadow, dx, dy, width, height, radius);
        Gdiplus::SolidBrush faint(WithAlpha(style.Shadow, 0.5));
        Gdiplus::SolidBrush full(Argb(style.Shadow));
        graphics.FillPath(&faint, &wide);
        graphics.FillPath(&full, &shadow);
    }
    Gdiplus::GraphicsPath body;
    AddRoundedRect(body, 0, 0, width, height, radius);
    Gdiplus::SolidBrush fill(Argb(style.Fill));
    graphics.FillPath(&fill, &body);
    if (style.AccentWidth > 0) {
        graphics.SetClip(&body);
        Gdiplus::SolidBrush accent(Argb(key.Accent));
        graphics.FillRectangle(&accent, Gdiplus::RectF(0, 0, static_cast<float>(style.AccentWidth), height));
        graphics.ResetClip();
    }
    if (key.Flag) {
        graphics.DrawImage(key.Flag, Gdiplus::RectF(static_cast<float>(style.Flag.Left), static_cast<float>(style.Flag.Top),
                                         static_cast<float>(style.Flag.Width()), static_cast<float>(style.Flag.Height())));
    }
    PaintText(graphics, data.IP, style.IP, style.IP.Color);
    PaintText(graphics, data.CountryName, style.Country, style.Country.Color);
    PaintText(graphics, data.City, style.City, style.City.Color);
    if (style.Border >> 24) {
        Gdiplus::GraphicsPath outline;
        AddRoundedRect(outline, 0.5f, 0.5f, width - 1, height - 1, radius);
        Gdiplus::Pen pen(Argb(style.Border), 1.0f);
        graphics.DrawPath(&pen, &outline);
    }
    return image;
}

void TPanelPainter::PlaceCard(
    const TPanelCardStyle& style, const TCardImage& image, const TPanelCardPlacement& placement, double scale)
{
    if (image.Pixels.empty())
        return;
    const double margin = CardMargin(style);
    const double kx = placement.Rect.Width / style.Front.Width();
    const double ky = placement.Rect.Height / style.Front.Height();
    double left = (placement.Rect.Left - margin * kx) * scale;
    double top = (placement.Rect.Top - margin * ky) * scale;
    if (std::abs(kx - 1) < 1e-6 && std::abs(ky - 1) < 1e-6) {
        // Pixel for pixel: a card at rest stays sharp.
        left = std::round(left);
        top = std::round(top);
    }
    BlendPicture(TPanelPixels{FBufferBits, FWidth, FHeight, FWidth},
        TPanelPicture{image.Pixels.data(), image.Width, image.Height, image.Width}, left, top, image.Width * kx,
        image.Height * ky, placement.Opacity, FHighQuality);
}

HDC TPanelPainter::Render(const TPanelModel& model, const TPanelFlagCache& flags, int64_t t, int width, int height)
{
    if (!EnsureGdiPlus() || width <= 0 || height <= 0 || !EnsureBuffer(width, height))
        return nullptr;
    const TPanelScene& scene = model.Scene();
    // One scale for both directions, so that a player of another shape does not distort
    // the scene; what lies beyond it shows the scene's colour.
    double scale = std::min(static_cast<double>(width) / std::max(scene.Width, 1),
        static_cast<double>(height) / std::max(scene.Height, 1));
    EnsureBase(model, scale);
    std::memcpy(FBufferBits, FBasePixels.data(), FBasePixels.size() * sizeof(uint32_t));

    const TPanelCardId top = model.TopCardAt(t);
    const TPanelCardId bottom = top == TPanelCardId::Local ? TPanelCardId::Target : TPanelCardId::Local;
    for (TPanelCardId card : {bottom, top}) {
        TPanelCardPlacement placement = model.PlacementAt(card, t);
        if (placement.Visible())
            PlaceCard(scene.Cards, EnsureCard(model, flags, card, scale), placement, scale);
    }
    // The status lines over the cards.
    Gdiplus::Graphics graphics(FBuffer.get());
    SetQuality(graphics);
    const TPanelState& state = model.State();
    graphics.ScaleTransform(static_cast<float>(scale), static_cast<float>(scale));
    // A line outside the frame is not laid out at all.
    auto line = [&](const TPanelTextLine& text, const TPanelTextBox& box) {
        if (box.Rect.Left * scale < FWidth && box.Rect.Top * scale < FHeight && box.Rect.Right > 0 && box.Rect.Bottom > 0)
            PaintText(graphics, text.Text, box, ColorRefToArgb(text.Color));
    };
    line(state.InfoText, scene.InfoText);
    line(state.InfoText2, scene.InfoText2);
    return FBufferDC.Get();
}

} // namespace vp
