// What the dialogs' tests share beside the main window: files beside the test program and
// real X input (xdotool on the Xvfb display).
#pragma once

#include "DialogHostForm.h"

#include <vector>

namespace vptest {

// Files written beside the test program, removed again.
class TAppFiles {
public:
    ~TAppFiles();
    void Put(const vp::String& relative, const std::string& bytes);
    void Copy(const vp::String& sourceFile, const vp::String& relative);

private:
    std::vector<vp::String> FFiles;
};

// Real input through the X server: a click at a point of a window's client area (its middle
// by default), a double click, and a key by its X name ("Escape", "Return"). The caller
// waits for the effect.
void XClick(HWND window, POINT clientPoint = {-1, -1}, bool twice = false);
void XKey(const char16_t* keyName);

} // namespace vptest
