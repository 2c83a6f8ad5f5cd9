// What the status panel's tests share: the program's folder with the shipped data files,
// a clock the test moves, and the panel's frame as pixels.
#pragma once

#include "app/uFlashForm.h"
#include "framework/rtl/DateTime.h"
#include "support/TestSupport.h"

#include <functional>
#include <vector>

namespace vptest {

// The program's folder (the shipped const.dat and res\ beside a pretend Veilport.exe) with a
// settings folder of its own; GetCLSettings of the test program reads from it.
class TPanelInstall {
public:
    TPanelInstall();
    ~TPanelInstall();
    const vp::String& Folder() const { return FFolder; }
    // "URL.CheckIP" as the install's settings give it.
    static constexpr char16_t kCheckIPURL[] = u"http://127.0.0.1:9/checkip";

private:
    TTempFolder FTemp;
    vp::String FFolder;
};
// Made on first use, for the rest of the test program.
const TPanelInstall& PanelInstall();

class TTestClock : public vp::TClock {
public:
    TTestClock() { vp::SetClock(this); }
    ~TTestClock() override { vp::SetClock(nullptr); }
    vp::TDateTime Now() override { return 45000; }
    uint32_t TickCount() override { return Tick; }
    uint32_t Tick = 1000;
};

// A panel window made as the main window makes it: components, loading, the creation handler.
vp::TfrmFlashForm* MakeFlashForm();

// The panel's commands as the main window sends them: the Local card with the location
// lookup's answer (US), Hide IP with a German proxy, Stop Hide.
vp::String FlagPath(const char16_t* code);
void ShowLocalCard(vp::TfrmFlashForm& form);
void HideSteps(vp::TfrmFlashForm& form);
void StopSteps(vp::TfrmFlashForm& form);

// The player's present frame through WM_PRINTCLIENT, as 0x00RRGGBB pixels row by row.
struct TFrame {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};
TFrame CaptureFrame(vp::TPanelPlayer& player);
// What paint draws into a device context of that size.
TFrame CapturePainting(int width, int height, const std::function<void(HDC)>& paint);

// Whether two 0x00RRGGBB colours differ by at most tolerance in each channel.
bool NearColor(uint32_t a, uint32_t b, int tolerance);
// a * share + b * (1 - share), channel by channel.
uint32_t MixColor(uint32_t a, uint32_t b, double share);

} // namespace vptest
