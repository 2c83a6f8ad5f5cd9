#include "DialogTestHost.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/PathText.h"
#include "framework/rtl/WinText.h"
#include "support/BrowsersTestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

using namespace vp;

namespace vptest {

TAppFiles::~TAppFiles()
{
    for (const String& file : FFiles)
        DeleteFileW(WStr(file));
}

void TAppFiles::Put(const String& relative, const std::string& bytes)
{
    String path = GetAppPath() + relative;
    ForceDirectories(ExtractFilePath(path));
    WriteAllBytesAtomic(path, bytes);
    FFiles.push_back(path);
}

void TAppFiles::Copy(const String& sourceFile, const String& relative)
{
    Put(relative, ReadAllBytes(sourceFile));
}

void XClick(HWND window, POINT clientPoint, bool twice)
{
    RECT client;
    GetClientRect(window, &client);
    POINT point = clientPoint.x < 0 ? POINT{client.right / 2, client.bottom / 2} : clientPoint;
    ClientToScreen(window, &point);
    ASSERT_TRUE(StartXdotool(u"mousemove " + IntToStr(point.x) + u" " + IntToStr(point.y) + (twice ? u" click --repeat 2 1" : u" click 1")));
}

void XKey(const char16_t* keyName)
{
    ASSERT_TRUE(StartXdotool(String(u"key ") + keyName));
}

} // namespace vptest

namespace {

// One settings store for the whole program, in a folder of its own.
const auto gStore = (vptest::UseBrowsersSettingsStore(), 0);

} // namespace
