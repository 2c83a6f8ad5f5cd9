// skinframeprobe.exe <file>: a form with the skinned frame (the built-in skin), made at the
// DPI the registry names, and what the skinned parts came to in pixels: "dpi caption-height
// client-top close-button-width menu-item-height message-button-height".
#include <windows.h>

#include "framework/ui/Application.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinMessageControls.h"
#include "framework/ui/SkinMessageForm.h"
#include "framework/ui/SkinPopupMenu.h"

#include <cstdio>

using namespace vp;

namespace {

class TfrmSkinFrameProbe : public TForm {
    VP_CLASS(TfrmSkinFrameProbe)
public:
    explicit TfrmSkinFrameProbe(TComponent* aOwner) : TForm(aOwner)
    {
        BorderStyle = TBorderStyle::bsSingle;
        Position = TPosition::poScreenCenter;
        SetClientSize(474, 236);
        auto* stored = new TspCompressedStoredSkin(this);
        LoadBuiltinSkin(*stored);
        SkinData = new TspSkinData(this);
        SkinData->SetCompressedStoredSkin(stored);
        Frame = new TspDynamicSkinForm(this);
        Frame->SetSkinData(SkinData);
    }
    TspSkinData* SkinData;
    TspDynamicSkinForm* Frame;
};

const TClassInfo& TfrmSkinFrameProbe::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmSkinFrameProbe, TForm>(u"TfrmSkinFrameProbe").Build();
    return info;
}

LONG gMenuItemHeight = 0;

// Reads the open system menu's first item and closes the menu.
void CALLBACK MeasureMenu(HWND, UINT, UINT_PTR id, DWORD) noexcept
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu))
        return;
    RECT item{};
    GetMenuItemRect(nullptr, reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0)), 0, &item);
    gMenuItemHeight = item.bottom - item.top;
    KillTimer(nullptr, id);
    EndMenu();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    TApplication application;
    auto* form = application.CreateForm<TfrmSkinFrameProbe>();
    form->Show();
    HWND window = form->Handle();
    RECT frame{};
    GetWindowRect(window, &frame);
    POINT client{};
    ClientToScreen(window, &client);
    SetTimer(nullptr, 0, 50, MeasureMenu);
    form->Frame->ShowSysMenu(POINT{10, 10});

    TspSkinMessageForm box(nullptr, {.Text = u"Probe", .SkinData = form->SkinData, .SkinDataName = u"MessageBox",
                                        .ButtonSkinDataName = u"Button", .MessageLabelSkinDataName = u"Label"});
    box.Show();
    RECT button{};
    GetWindowRect(box.Buttons()[0]->Handle(), &button);

    FILE* out = _wfopen(argv[1], L"w");
    if (!out)
        return 3;
    fprintf(out, "%u %d %ld %ld %ld %ld\n", WindowDpi(window), form->Frame->Layout().CaptionHeight(),
        client.y - frame.top, static_cast<long>(form->Frame->Layout().ButtonRect(TCaptionButton::Close).Width()),
        gMenuItemHeight, button.bottom - button.top);
    fclose(out);
    return 0;
}
