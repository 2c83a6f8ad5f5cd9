#include "support/TestSupport.h"
#include "support/UiTestSupport.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/engine/CLSplashForm.h"
#include "framework/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

// The program's folder pointed at a test folder, with the picture files a test lays out.
class TSplashFolder {
public:
    TSplashFolder() : FPrevious(GetAppFileName()) { SetAppFileNameForTests(FFolder.Folder() + u"Veilport.exe"); }
    ~TSplashFolder() { SetAppFileNameForTests(FPrevious); }
    void Put(const std::string& relative, const std::string& picture)
    {
        std::filesystem::path target = FFolder.Path() / relative;
        std::filesystem::create_directories(target.parent_path());
        WriteFileBytes(target, ReadFileBytes(SourcePath("data/res/images/" + picture)));
    }

private:
    String FPrevious;
    TTempFolder FFolder;
};

SIZE WindowSize(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

class TfrmOther : public TForm {
    VP_CLASS(TfrmOther)
public:
    using TForm::TForm;
};

const TClassInfo& TfrmOther::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmOther, TForm>(u"TfrmOther").Build();
    return info;
}

} // namespace

TEST(Splash, TheOemPictureWinsOverTheStandardOneAndShapesALayeredWindow)
{
    TApplicationScope scope;
    TSplashFolder folder;
    folder.Put("oem.splash.png", "splash.png"); // 420 x 260
    folder.Put("res/images/splash.png", "about.png"); // 373 x 65
    ShowSplashWindow(&Application());
    HWND splash = FindWindowW(L"TfrmCLSplashForm", nullptr);
    ASSERT_NE(splash, nullptr);
    const UINT dpi = WindowDpi(splash);
    EXPECT_EQ(WindowSize(splash).cx, ScaleToDpi(420, dpi));
    EXPECT_EQ(WindowSize(splash).cy, ScaleToDpi(260, dpi));
    EXPECT_TRUE(GetWindowLongPtrW(splash, GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT rect;
    GetWindowRect(splash, &rect);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - ScaleToDpi(420, dpi)) / 2);
}

TEST(Splash, WithoutAPictureFileItClosesAsSoonAsTheLoopRuns)
{
    TApplicationScope scope;
    TSplashFolder folder;
    const int before = Application().ComponentCount();
    ShowSplashWindow(&Application());
    HWND splash = FindWindowW(L"TfrmCLSplashForm", nullptr);
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(IsWindowVisible(splash)); // the built-in picture shows until then
    EXPECT_TRUE(PumpUntil([&] { return Application().ComponentCount() == before; }));
    EXPECT_FALSE(IsWindow(splash));
}

TEST(Splash, ItClosesWhenAnotherWindowBecomesActive)
{
    TApplicationScope scope;
    TSplashFolder folder;
    folder.Put("res/images/splash.png", "splash.png");
    auto* main = Application().CreateForm<TfrmOther>();
    const int before = Application().ComponentCount();
    ShowSplashWindow(&Application());
    HWND splash = FindWindowW(L"TfrmCLSplashForm", nullptr);
    ASSERT_NE(splash, nullptr);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(IsWindow(splash)); // nothing else was activated yet
    main->Show();
    EXPECT_TRUE(PumpUntil([&] { return Application().ComponentCount() == before; }));
    EXPECT_FALSE(IsWindow(splash));
}

TEST(PngForm, OnlyAFormCanCarryIt)
{
    TComponent owner(nullptr);
    try {
        new TspPngForm(&owner);
        FAIL() << "a component that is no form was accepted";
    } catch (const EInvalidCast& e) {
        EXPECT_EQ(e.Message(), u"Form only");
    }
}
