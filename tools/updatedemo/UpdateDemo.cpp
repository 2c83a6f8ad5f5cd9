// updatedemo.exe <skin> <view>: the update window of a bare main window, for looking at
// it (tools/update-screenshots). <skin>: "Default" (the built-in skin) or the path of a skin
// file; <view>: "full" (the dialog while connecting) or "compact" (the progress strip).
// Without an engine the window keeps its designed texts.
#include <windows.h>

#include "framework/engine/CLUpdateForm.h"
#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/Application.h"
#include "framework/ui/SkinData.h"

#include <iostream>

using namespace vp;

namespace {

constexpr UINT kShowUpdate = WM_APP + 1;

class TfrmUpdateDemo : public TForm {
    VP_CLASS(TfrmUpdateDemo)
public:
    explicit TfrmUpdateDemo(TComponent* aOwner) : TForm(aOwner)
    {
        Position = TPosition::poScreenCenter;
        SetClientSize(600, 500);
        SetCaption(u"Veilport  1.0.0.1");
        spStoredSkin = new TspCompressedStoredSkin(this);
        LoadBuiltinSkin(*spStoredSkin);
        spSkinData = new TspSkinData(this);
        spSkinData->SetCompressedStoredSkin(spStoredSkin);
    }
    TspCompressedStoredSkin* spStoredSkin;
    TspSkinData* spSkinData;
    String View;

protected:
    // The update window comes once the main window is up, as the program's start-up check does.
    void WndProc(TMessage& message) override
    {
        if (message.Msg != kShowUpdate) {
            TForm::WndProc(message);
            return;
        }
        auto* window = NewForm<TfrmCLUpdateForm>(this);
        if (View == u"compact")
            window->ShowProcessLayout();
        window->Show();
        message.Handled = true;
    }
};

const TClassInfo& TfrmUpdateDemo::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmUpdateDemo, TForm>(u"TfrmUpdateDemo").Build();
    return info;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    SetErrorReporter([](const String& text) { std::cerr << "updatedemo: " << U16ToUtf8(text) << std::endl; });
    TApplication application;
    auto* form = application.CreateForm<TfrmUpdateDemo>();
    const String skinName = FromWStr(argv[1]);
    if (skinName != u"Default")
        form->spSkinData->LoadFromCompressedFile(skinName);
    form->View = FromWStr(argv[2]);
    // The main window stays hidden, so the update window is centred on the screen: under Xvfb
    // without a window manager, an owned window drawn over its visible owner stays black.
    application.ShowMainForm = false;
    form->HandleNeeded();
    PostMessageW(form->Handle(), kShowUpdate, 0, 0);
    application.Run();
    return 0;
}
