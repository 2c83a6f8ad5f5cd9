// High DPI: designed sizes are 96-DPI units, scaled to a window's DPI when it is created
// and when it moves to a monitor with another DPI. The calls that newer systems add are
// looked up at run time, so older ones fall back to the system DPI.
#pragma once

#include <windows.h>

namespace vp {

constexpr UINT kDesignDpi = 96;

// The DPI of the system (the primary monitor at log-on).
UINT SystemDpi();
// The DPI a window is drawn at; the system DPI for nullptr.
UINT WindowDpi(HWND window);
// The DPI of the monitor that shows a point of the screen (pop-up menus open there).
UINT DpiAtPoint(POINT point);
// A designed length at dpi, rounded to the nearest pixel (negative values too).
int ScaleToDpi(int value, UINT dpi);
// A length in pixels at dpi back in designed units.
int UnscaleFromDpi(int value, UINT dpi);
// The window rectangle around a client rectangle for a window of these styles at dpi.
RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);
// The system's message font (the font of dialogs) at dpi; owned by the toolkit, do not delete.
HFONT MessageFont(UINT dpi);
// The metrics a window at dpi uses (SM_CXVSCROLL and the like).
int SystemMetricForDpi(int index, UINT dpi);

} // namespace vp
