#include "app/PanelScene.h"

#include "framework/rtl/TextUtils.h"
#include "framework/config/IniDocument.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/TextEncoding.h"

#include <climits>
#include <filesystem>
#include <optional>

namespace vp {

namespace {

// Coordinates and sizes beyond this are no layout of a small panel.
constexpr int32_t kCoordinateLimit = 4096;
// The longest face name a Windows font description holds.
constexpr size_t kMaxFaceLength = 31;

TRect Box(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return TRect{x, y, x + width, y + height};
}

TPanelTextBox TextBox(TRect rect, StringView face, int32_t size, bool bold, uint32_t color, TPanelAlign align)
{
    return TPanelTextBox{rect, TPanelFont{String(face), size, bold, false}, color, align};
}

std::optional<int32_t> ReadInt(StringView text, int32_t low, int32_t high)
{
    // INT_MIN never lies in a range of the scene, so it can stand for "not a number".
    int32_t value = StrToIntSafe(Trim(text), INT_MIN);
    if (value == INT_MIN || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<TPanelPoint> ReadPoint(StringView text)
{
    TStringList parts;
    SplitText(text, u',', parts);
    if (parts.Count() != 2)
        return std::nullopt;
    std::optional<int32_t> x = ReadInt(parts[0], -kCoordinateLimit, kCoordinateLimit);
    std::optional<int32_t> y = ReadInt(parts[1], -kCoordinateLimit, kCoordinateLimit);
    if (!x || !y)
        return std::nullopt;
    return TPanelPoint{*x, *y};
}

// "x,y,width,height"
std::optional<TRect> ReadBox(StringView text, int32_t minSize)
{
    TStringList parts;
    SplitText(text, u',', parts);
    if (parts.Count() != 4)
        return std::nullopt;
    std::optional<int32_t> x = ReadInt(parts[0], -kCoordinateLimit, kCoordinateLimit);
    std::optional<int32_t> y = ReadInt(parts[1], -kCoordinateLimit, kCoordinateLimit);
    std::optional<int32_t> width = ReadInt(parts[2], minSize, kCoordinateLimit);
    std::optional<int32_t> height = ReadInt(parts[3], minSize, kCoordinateLimit);
    if (!x || !y || !width || !height)
        return std::nullopt;
    return Box(*x, *y, *width, *height);
}

// "#RRGGBB" (opaque) or "#AARRGGBB"
std::optional<uint32_t> ReadColor(StringView text)
{
    String trimmed = Trim(text);
    if (trimmed.size() != 7 && trimmed.size() != 9)
        return std::nullopt;
    if (trimmed[0] != u'#')
        return std::nullopt;
    for (size_t i = 1; i < trimmed.size(); ++i) {
        char16_t c = UpCaseChar(trimmed[i]);
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return std::nullopt;
    }
    uint32_t value = static_cast<uint32_t>(StrToIntSafe(u"$" + trimmed.substr(1), 0));
    return trimmed.size() == 7 ? PanelArgb(value) : value;
}

// "Face,size[,bold][ italic]"
std::optional<TPanelFont> ReadFont(StringView text)
{
    TStringList parts;
    SplitText(text, u',', parts);
    if (parts.Count() < 2 || parts.Count() > 3)
        return std::nullopt;
    TPanelFont font;
    font.Face = Trim(parts[0]);
    if (font.Face.empty() || font.Face.size() > kMaxFaceLength)
        return std::nullopt;
    std::optional<int32_t> size = ReadInt(parts[1], 1, 72);
    if (!size)
        return std::nullopt;
    font.Size = *size;
    if (parts.Count() == 3) {
        TStringList words;
        SplitText(ReplaceAll(parts[2], u"+", u" "), u' ', words);
        for (const String& word : words) {
            if (SameText(word, u"bold"))
                font.Bold = true;
            else if (SameText(word, u"italic"))
                font.Italic = true;
            else if (!word.empty() && !SameText(word, u"regular"))
                return std::nullopt;
        }
    }
    return font;
}

std::optional<TPanelAlign> ReadAlign(StringView text)
{
    String trimmed = Trim(text);
    if (SameText(trimmed, u"left"))
        return TPanelAlign::Left;
    if (SameText(trimmed, u"center"))
        return TPanelAlign::Center;
    if (SameText(trimmed, u"right"))
        return TPanelAlign::Right;
    return std::nullopt;
}

class TSceneReader {
public:
    explicit TSceneReader(StringView text) { FDocument.SetText(text); }

    template <class T, class Reader>
    void Read(StringView section, StringView key, T& value, Reader reader) const
    {
        if (std::optional<StringView> text = FDocument.FindValue(section, key)) {
            if (auto read = reader(*text))
                value = *read;
        }
    }
    void Int(StringView section, StringView key, int32_t& value, int32_t low, int32_t high) const
    {
        Read(section, key, value, [=](StringView text) { return ReadInt(text, low, high); });
    }
    void Color(StringView section, StringView key, uint32_t& value) const { Read(section, key, value, ReadColor); }
    void Point(StringView section, StringView key, TPanelPoint& value) const { Read(section, key, value, ReadPoint); }
    void Rect(StringView section, StringView key, TRect& value, int32_t minSize = 0) const
    {
        Read(section, key, value, [=](StringView text) { return ReadBox(text, minSize); });
    }
    void TextBox(StringView section, TPanelTextBox& box) const
    {
        Rect(section, u"Rect", box.Rect);
        Read(section, u"Font", box.Font, ReadFont);
        Color(section, u"Color", box.Color);
        Read(section, u"Align", box.Align, ReadAlign);
    }

private:
    TIniDocument FDocument;
};

} // namespace

uint32_t ColorRefToArgb(uint32_t colorRef)
{
    uint32_t red = colorRef & 0xFF, green = (colorRef >> 8) & 0xFF, blue = (colorRef >> 16) & 0xFF;
    return PanelArgb((red << 16) | (green << 8) | blue);
}

// Keep these equal to data/res/veilport.dat.
TPanelScene DefaultPanelScene()
{
    TPanelScene scene;
    scene.Width = 474;
    scene.Height = 180;
    scene.Color = PanelArgb(0xF8FAFC);
    scene.TurnMs = 500;
    scene.FadeMs = 700;
    scene.FrameMs = 16;

    TPanelCardStyle& cards = scene.Cards;
    cards.Front = Box(146, 50, 312, 88);
    cards.Back = Box(16, 61, 234, 66);
    cards.Swing = {0, 12};
    cards.Radius = 10;
    cards.Fill = PanelArgb(0xFFFFFF);
    cards.Border = PanelArgb(0x0F172A, 0x26);
    cards.Shadow = PanelArgb(0x0F172A, 0x1A);
    cards.ShadowOffset = {0, 3};
    cards.LocalAccent = PanelArgb(0x2563EB);
    cards.TargetAccent = PanelArgb(0x14B8A6);
    cards.AccentWidth = 5;
    cards.Flag = Box(18, 20, 48, 48);
    cards.IP = TextBox(Box(80, 12, 220, 28), u"Segoe UI", 15, true, PanelArgb(0x0F172A), TPanelAlign::Left);
    cards.Country = TextBox(Box(80, 42, 220, 20), u"Segoe UI", 10, false, PanelArgb(0x1E293B), TPanelAlign::Left);
    cards.City = TextBox(Box(80, 62, 220, 18), u"Segoe UI", 9, false, PanelArgb(0x64748B), TPanelAlign::Left);

    scene.Logo = Box(16, 12, 120, 32);
    scene.InfoText = TextBox(Box(16, 148, 442, 24), u"Segoe UI", 10, true, 0, TPanelAlign::Left);
    scene.InfoText2 = TextBox(Box(144, 16, 314, 20), u"Segoe UI", 8, false, 0, TPanelAlign::Right);
    scene.CheckIP = Box(226, 62, 220, 28);
    scene.Home = Box(16, 12, 120, 32);
    return scene;
}

TPanelScene ParsePanelScene(StringView text)
{
    TPanelScene scene = DefaultPanelScene();
    TSceneReader reader(text);
    reader.Int(u"Panel", u"Width", scene.Width, 1, kCoordinateLimit);
    reader.Int(u"Panel", u"Height", scene.Height, 1, kCoordinateLimit);
    reader.Color(u"Panel", u"Color", scene.Color);

    reader.Int(u"Timing", u"Turn", scene.TurnMs, 0, 10000);
    reader.Int(u"Timing", u"Fade", scene.FadeMs, 0, 10000);
    reader.Int(u"Timing", u"Frame", scene.FrameMs, 10, 1000);

    TPanelCardStyle& cards = scene.Cards;
    reader.Rect(u"Cards", u"Front", cards.Front, 1);
    reader.Rect(u"Cards", u"Back", cards.Back, 1);
    reader.Point(u"Cards", u"Swing", cards.Swing);
    reader.Int(u"Cards", u"Radius", cards.Radius, 0, 100);
    reader.Color(u"Cards", u"Fill", cards.Fill);
    reader.Color(u"Cards", u"Border", cards.Border);
    reader.Color(u"Cards", u"Shadow", cards.Shadow);
    reader.Point(u"Cards", u"ShadowOffset", cards.ShadowOffset);
    reader.Color(u"Cards", u"LocalAccent", cards.LocalAccent);
    reader.Color(u"Cards", u"TargetAccent", cards.TargetAccent);
    reader.Int(u"Cards", u"AccentWidth", cards.AccentWidth, 0, 100);
    reader.Rect(u"Cards", u"Flag", cards.Flag);
    reader.TextBox(u"CardIP", cards.IP);
    reader.TextBox(u"CardCountry", cards.Country);
    reader.TextBox(u"CardCity", cards.City);

    reader.Rect(u"Logo", u"Rect", scene.Logo);
    reader.TextBox(u"InfoText", scene.InfoText);
    reader.TextBox(u"InfoText2", scene.InfoText2);
    reader.Rect(u"HotSpots", u"CheckIP", scene.CheckIP);
    reader.Rect(u"HotSpots", u"Home", scene.Home);
    return scene;
}

bool LoadPanelScene(StringView path, TPanelScene& scene)
{
    scene = DefaultPanelScene();
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(ToFsPath(path), error);
    if (error || size > kPanelMaxSceneFileSize || !FileExists(path))
        return false;
    std::string bytes;
    try {
        bytes = ReadAllBytes(path);
    } catch (const EFileError&) {
        return false;
    }
    // The file may have grown since its size was taken.
    if (bytes.size() > kPanelMaxSceneFileSize)
        return false;
    scene = ParsePanelScene(DecodeTextBytes(bytes).Text);
    return true;
}

StringView PanelHotSpotAt(const TPanelScene& scene, int32_t x, int32_t y)
{
    auto inside = [x, y](const TRect& rect) {
        return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
    };
    if (inside(scene.CheckIP))
        return u"CHECKIPINFO";
    if (inside(scene.Home))
        return u"HOMEPAGE";
    return u"";
}

} // namespace vp
