// Drawing from a skin: elements (flat or nine-slice pictures), their texts and glyphs, in
// pixels of one DPI. TSkinResources keeps what drawing makes once per skin (fonts, decoded
// pictures); a painter is cheap and made for each paint.
#pragma once

#include <windows.h>

#include "framework/ui/SkinDefinition.h"

#include <functional>
#include <map>
#include <memory>
#include <unordered_map>

namespace Gdiplus {
class Bitmap;
class Graphics;
}

namespace vp {

class TSkinResources {
public:
    explicit TSkinResources(std::shared_ptr<const TSkinDefinition> skin);
    ~TSkinResources();
    TSkinResources(const TSkinResources&) = delete;
    TSkinResources& operator=(const TSkinResources&) = delete;

    const TSkinDefinition& Skin() const { return *FSkin; }
    // The named font of the skin at dpi; owned here.
    HFONT Font(StringView name, UINT dpi);
    // The picture variant for the scale, decoded; nullptr when the skin has no such picture.
    Gdiplus::Bitmap* Picture(StringView name, double scale, double* variantScale);
    // A nine-slice picture already stretched to a size (a premultiplied 32-bit bitmap), made
    // by make on first use: drawing it again is one blend, not nine scaled copies.
    HBITMAP Stretched(const String& key, const std::function<HBITMAP()>& make);

private:
    std::shared_ptr<const TSkinDefinition> FSkin;
    std::map<std::pair<String, UINT>, HFONT> FFonts;
    std::unordered_map<String, std::unique_ptr<Gdiplus::Bitmap>> FPictures; // by variant name
    std::unordered_map<String, HBITMAP> FStretched;
};

class TSkinPainter {
public:
    TSkinPainter(TSkinResources& resources, UINT dpi) : FResources(resources), FDpi(dpi) { }

    const TSkinDefinition& Skin() const { return FResources.Skin(); }
    UINT Dpi() const { return FDpi; }
    int Scale(int designed) const;
    const TSkinElement& Element(StringView name) const { return Skin().Element(name); }
    HFONT Font(StringView name) const { return FResources.Font(name, FDpi); }
    HFONT ElementFont(const TSkinElement& element) const { return Font(element.Font); }

    // The element's background and border for the state (its picture when it has one).
    void DrawElement(HDC dc, const RECT& rect, const TSkinElement& element, TSkinState state) const;
    // The element's glow around rect (drawn outside it), when the element has one.
    void DrawGlow(HDC dc, const RECT& rect, const TSkinElement& element, TSkinState state) const;
    // A text in the element's font, colour and alignment, inside rect less the padding.
    // format: DrawText flags added to the alignment (DT_SINGLELINE | DT_VCENTER when 0).
    void DrawText(HDC dc, const RECT& rect, const TSkinElement& element, TSkinState state, StringView text,
        UINT format = 0) const;
    // The size a text takes in the element's font (wrapped at maxWidth when above 0).
    SIZE MeasureText(HDC dc, const TSkinElement& element, StringView text, int maxWidth = 0) const;
    // A glyph centred in rect, in the colour given.
    void DrawGlyph(HDC dc, const RECT& rect, const TSkinGlyph& glyph, TColor color) const;
    // The element's glyph for the state, in its glyph colour.
    void DrawElementGlyph(HDC dc, const RECT& rect, const TSkinElement& element, TSkinState state) const;
    // Fills rect with a palette or element colour (no rounding).
    void Fill(HDC dc, const RECT& rect, TColor color) const;

    // The element's padding in pixels.
    RECT Padding(const TSkinElement& element) const;

private:
    void DrawPicture(HDC dc, const RECT& rect, const TSkinElement& element, const String& picture) const;
    void DrawSlices(Gdiplus::Graphics& graphics, Gdiplus::Bitmap& bitmap, double variantScale, const RECT& rect,
        const TSkinElement& element) const;
    void DrawBuiltinGlyph(HDC dc, const RECT& rect, TBuiltinGlyph glyph, TColor color) const;

    TSkinResources& FResources;
    UINT FDpi;
};

} // namespace vp
