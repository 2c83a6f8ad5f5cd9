#include "DialogTestHost.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/PathText.h"
#include "framework/rtl/WinText.h"
#include "support/BrowsersTestSupport.h"

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

namespace {

// Wine starts the X side's program but cannot wait for it: the caller waits for the effect.
void RunX(const String& arguments)
{
    std::wstring command = ToWide(u"/usr/bin/xdotool " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace

void XClick(HWND window, POINT clientPoint, bool twice)
{
    RECT client;
    GetClientRect(window, &client);
    POINT point = clientPoint.x < 0 ? POINT{client.right / 2, client.bottom / 2} : clientPoint;
    ClientToScreen(window, &point);
    RunX(u"mousemove " + IntToStr(point.x) + u" " + IntToStr(point.y) + (twice ? u" click --repeat 2 1" : u" click 1"));
}

void XKey(const char16_t* keyName)
{
    RunX(String(u"key ") + keyName);
}

} // namespace vptest

namespace {

// One settings store for the whole program, in a folder of its own.
const auto gStore = (vptest::UseBrowsersSettingsStore(), 0);

} // namespace
