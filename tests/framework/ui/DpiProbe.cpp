// dpiprobe.exe <file>: makes a form designed at 96 DPI (client 200 x 100, a button of
// 75 x 25 at 10, 10) and writes what the system made of it: "dpi client-width
// client-height button-width button-height font-height".
#include <windows.h>

#include "framework/ui/Application.h"
#include "framework/ui/Forms.h"
#include "framework/ui/StdCtrls.h"

#include <cstdio>

using namespace vp;

namespace {

class TfrmDpiProbe : public TForm {
    VP_CLASS(TfrmDpiProbe)
public:
    explicit TfrmDpiProbe(TComponent* owner) : TForm(owner)
    {
        BorderStyle = TBorderStyle::bsSingle;
        SetClientSize(200, 100);
        Button = new TButton(this);
        Button->SetParent(this);
        Button->SetBounds(10, 10, 75, 25);
        Button->SetCaption(u"OK");
    }
    TButton* Button;
};

const TClassInfo& TfrmDpiProbe::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmDpiProbe, TForm>(u"TfrmDpiProbe").Build();
    return info;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    TApplication application;
    auto* form = application.CreateForm<TfrmDpiProbe>();
    HWND window = form->Handle();
    RECT client{}, button{};
    GetClientRect(window, &client);
    GetWindowRect(form->Button->Handle(), &button);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->Button->Handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    FILE* out = _wfopen(argv[1], L"w");
    if (!out)
        return 3;
    fprintf(out, "%u %ld %ld %ld %ld %ld\n", WindowDpi(window), client.right, client.bottom,
        button.right - button.left, button.bottom - button.top, font.lfHeight < 0 ? -font.lfHeight : font.lfHeight);
    fclose(out);
    return 0;
}
