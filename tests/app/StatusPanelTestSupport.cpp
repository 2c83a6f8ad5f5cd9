#include "StatusPanelTestSupport.h"

#include "support/BitmapCanvas.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinHandles.h"
#include "framework/ui/Application.h"

#include <cstdlib>
#include <cstring>
#include <random>

using namespace vp;

namespace vptest {

TPanelInstall::TPanelInstall()
{
    FFolder = GetLongPath(FTemp.Folder());
    std::filesystem::copy(SourcePath("data/const.dat"), FTemp.Path() / "const.dat");
    std::filesystem::copy(SourcePath("data/res"), FTemp.Path() / "res", std::filesystem::copy_options::recursive);
    std::random_device device;
    String configPath = u"VeilportPanelTest-" + IntToHex(device(), 8);
    WriteAllBytesAtomic(FFolder + u"oem.const.dat",
        U16ToUtf8(u"[setting]\r\nApp.ConfigPath=" + configPath + u"\r\nURL.CheckIP=" + String(kCheckIPURL) + u"\r\n"));
    SetAppFileNameForTests(FFolder + u"Veilport.exe");
    GetCLSettings();
}

TPanelInstall::~TPanelInstall()
{
    // The settings folder this program made for its own "App.ConfigPath".
    String userData = GetCLSettings().UserDataPath();
    if (PosText(u"VeilportPanelTest-", userData) != String::npos) {
        std::error_code error;
        std::filesystem::remove_all(ToFsPath(userData), error);
    }
    SetAppFileNameForTests(u"");
}

const TPanelInstall& PanelInstall()
{
    static TPanelInstall install;
    return install;
}

TfrmFlashForm* MakeFlashForm()
{
    auto* form = new TfrmFlashForm(&Application());
    LoadComponentTree(*form);
    form->DoCreate();
    return form;
}

String FlagPath(const char16_t* code)
{
    return PanelInstall().Folder() + u"res\\flag_short\\" + code + u".PNG";
}

void ShowLocalCard(TfrmFlashForm& form)
{
    form.SetIPInfo(u"Local", u"True", FlagPath(u"US"), u"203.0.113.7", u"United States", u"Dallas", u"100", u"100");
    form.SetIPInfo(u"Target", u"", FlagPath(u"US"), u"203.0.113.7", u"United States", u"Dallas", u"100", u"100");
}

void HideSteps(TfrmFlashForm& form)
{
    form.SetIPInfo(u"Target", u"True", FlagPath(u"DE"), u"198.51.100.4", u"Germany", u"", u"0", u"100");
    form.Fade(u"Target", true, 100);
    form.SetIPInfoA(u"Local", u"50", u"100");
    form.TurnTarget();
}

void StopSteps(TfrmFlashForm& form)
{
    form.SetIPInfoA(u"Local", u"100", u"100");
    form.SetIPInfoA(u"Target", u"100", u"100");
    form.Fade(u"Target", false, 0);
    form.TurnLocal();
}

TFrame CapturePainting(int width, int height, const std::function<void(HDC)>& paint)
{
    TFrame frame;
    TBitmapCanvas canvas(width, height);
    paint(canvas.DC());
    frame.Width = canvas.Width();
    frame.Height = canvas.Height();
    frame.Pixels.assign(canvas.Bits(), canvas.Bits() + static_cast<size_t>(frame.Width) * frame.Height);
    for (uint32_t& pixel : frame.Pixels)
        pixel &= 0xFFFFFF;
    return frame;
}

TFrame CaptureFrame(TPanelPlayer& player)
{
    RECT client{};
    GetClientRect(player.Handle(), &client);
    return CapturePainting(client.right, client.bottom, [&](HDC dc) {
        SendMessageW(player.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
}

bool NearColor(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

uint32_t MixColor(uint32_t a, uint32_t b, double share)
{
    uint32_t mixed = 0;
    for (int shift : {0, 8, 16}) {
        double value = ((a >> shift) & 0xFF) * share + ((b >> shift) & 0xFF) * (1 - share);
        mixed |= static_cast<uint32_t>(value + 0.5) << shift;
    }
    return mixed;
}

} // namespace vptest
