// What the dialogs' tests share: a main window like the program's (engine, skin data,
// language data, the flag list "imglstFlag"), proxy pools from a map of settings, files
// beside the test program, and real X input (xdotool on the Xvfb display).
#pragma once

#include <windows.h>

#include "framework/config/CLMultiLang.h"
#include "framework/engine/CLEngine.h"
#include "framework/ui/Forms.h"
#include "framework/ui/PngImageList.h"
#include "framework/ui/CompressedStoredSkin.h"
#include "framework/ui/SkinData.h"
#include "framework/ui/SkinResourceStrings.h"
#include "proxy/ProxyTestSupport.h"

#include <memory>
#include <vector>

namespace vptest {

class TfrmDialogHost : public vp::TForm {
    VP_CLASS(TfrmDialogHost)
public:
    explicit TfrmDialogHost(vp::TComponent* owner);

    // The flag of each code from data/res/flag_short, as the main window loads them.
    void LoadFlags(std::initializer_list<const char16_t*> codes);
    // "" for the built-in skin, else a compressed skin file.
    void UseSkin(const vp::String& fileName);

    vp::TspCompressedStoredSkin* spStoredSkin;
    vp::TspResourceStrData* spTexts;
    vp::TspSkinData* spSkinData;
    vp::TCLMultiLangData* CLMultiLangData;
    vp::TCLEngine* CLEngine;
    vp::TPngImageList* imglstFlag;
};

// A proxy manager whose pools are the given "NORMAL_IPS" and "SUPER_IPS".
struct TPools {
    TPools(const vp::String& normal, const vp::String& super = {});
    TMapSettings Settings;
    vp::TProxyManager Manager{Settings};
};

// Files written beside the test program, removed again.
class TAppFiles {
public:
    ~TAppFiles();
    void Put(const vp::String& relative, const std::string& bytes);
    void Copy(const vp::String& sourceFile, const vp::String& relative);

private:
    std::vector<vp::String> FFiles;
};

// The source tree's data folder, ending in "\".
vp::String SourceDataFolder();
// The shipped skin file of that name ("Midnight.skn").
vp::String BuiltSkinFile(const char16_t* fileName);

// Real input through the X server: a click at a point of a window's client area (its middle
// by default), a double click, and a key by its X name ("Escape", "Return"). The caller
// waits for the effect.
void XClick(HWND window, POINT clientPoint = {-1, -1}, bool twice = false);
void XKey(const char16_t* keyName);

} // namespace vptest
