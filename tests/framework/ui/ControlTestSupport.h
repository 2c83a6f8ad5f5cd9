// Helpers of the controls' tests: a control painted into a bitmap and read back, skins by
// name, keys and real X mouse clicks, the demonstration window made and shown.
#pragma once

#include "ControlsDemoForm.h"
#include "support/BitmapCanvas.h"
#include "support/UiTestSupport.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vptest {

// What a control paints (its own painting, over its parent's background) at its size.
class TRendered : public TBitmapCanvas {
public:
    explicit TRendered(vp::TCustomControl& control);
    TRendered(int width, int height, COLORREF background) : TBitmapCanvas(width, height, background) { }
};
// A colour of the skin's element for the state (the fill unless said otherwise).
COLORREF FillOf(vp::TspSkinData& data, vp::StringView element, vp::TSkinState state = vp::TSkinState::Normal);
COLORREF TextOf(vp::TspSkinData& data, vp::StringView element, vp::TSkinState state = vp::TSkinState::Normal);
COLORREF BorderOf(vp::TspSkinData& data, vp::StringView element, vp::TSkinState state = vp::TSkinState::Normal);

// The shipped skin files of the build ("Midnight.skn", "Harbor.nsf.skn").
vp::String BuiltSkin(const char16_t* fileName);
// The source folder's data folder, ending in "\".
vp::String DataFolder();

// The demonstration window, shown and painted, in the skin file given ("" for the built-in).
TfrmControlsDemo* ShowDemo(const vp::String& skinFile = {});

// Keys as the keyboard sends them, modifiers held around the key.
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
void TypeText(const vp::String& text);
// A real mouse click of the X server at the middle of a window (xdotool on the Xvfb display).
void ClickWithX(HWND window, POINT offset = {-1, -1});

} // namespace vptest
