#include "DialogTestHost.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/PathText.h"
#include "framework/rtl/WinText.h"
#include "support/BrowsersTestSupport.h"

#include <gtest/gtest.h>

using namespace vp;

namespace vptest {

const TClassInfo& TfrmDialogHost::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmDialogHost, TForm>(u"TfrmDialogHost").Build();
    return info;
}

TfrmDialogHost::TfrmDialogHost(TComponent* owner) : TForm(owner)
{
    SetName(u"frmMain");
    spStoredSkin = new TspCompressedStoredSkin(this);
    LoadBuiltinSkin(*spStoredSkin);
    spTexts = new TspResourceStrData(this);
    spSkinData = new TspSkinData(this);
    spSkinData->SetName(u"spSkinData");
    spSkinData->SetCompressedStoredSkin(spStoredSkin);
    spSkinData->SetResourceStrData(spTexts);
    CLMultiLangData = new TCLMultiLangData(this);
    CLMultiLangData->SetName(u"CLMultiLangData");
    CLEngine = new TCLEngine(this);
    CLEngine->SetSkinData(spSkinData);
    CLEngine->SetLanguageData(CLMultiLangData);
    imglstFlag = new TPngImageList(this);
    imglstFlag->SetName(u"imglstFlag");
    imglstFlag->SetWidth(48);
    imglstFlag->SetHeight(48);
}

void TfrmDialogHost::LoadFlags(std::initializer_list<const char16_t*> codes)
{
    for (const char16_t* code : codes) {
        int index = imglstFlag->Add(code);
        EXPECT_TRUE(imglstFlag->LoadFromFile(index, SourceDataFolder() + u"res\\flag_short\\" + code + u".PNG"));
    }
}

void TfrmDialogHost::UseSkin(const String& fileName)
{
    if (fileName.empty())
        spSkinData->SetCompressedStoredSkin(spStoredSkin);
    else
        spSkinData->LoadFromCompressedFile(fileName);
}

TPools::TPools(const String& normal, const String& super)
{
    Settings.Values[u"NORMAL_IPS"] = normal;
    Settings.Values[u"SUPER_IPS"] = super;
    Manager.LoadSettings();
}

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

String SourceDataFolder()
{
    return FromAscii(VP_SOURCE_DATA_DIR);
}

String BuiltSkinFile(const char16_t* fileName)
{
    return FromAscii(VP_BUILT_SKINS_DIR) + u"/" + fileName;
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
