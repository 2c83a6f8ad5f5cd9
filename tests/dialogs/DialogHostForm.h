// A main window like the program's for the dialogs' tests and their demonstration: the
// engine, skin data, language data and the flag list "imglstFlag"; proxy pools from a map of
// settings.
#pragma once

#include <windows.h>

#include "framework/config/CLMultiLang.h"
#include "framework/engine/CLEngine.h"
#include "framework/ui/CompressedStoredSkin.h"
#include "framework/ui/Forms.h"
#include "framework/ui/PngImageList.h"
#include "framework/ui/SkinData.h"
#include "framework/ui/SkinResourceStrings.h"
#include "proxy/ProxyTestSupport.h"

namespace vptest {

class TfrmDialogHost : public vp::TForm {
    VP_CLASS(TfrmDialogHost)
public:
    explicit TfrmDialogHost(vp::TComponent* owner);

    // The flag of each code from data/res/flag_short, as the main window loads them; how
    // many pictures loaded.
    int LoadFlags(std::initializer_list<const char16_t*> codes);
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

// The source tree's data folder, ending in "\".
vp::String SourceDataFolder();
// The shipped skin file of that name ("Midnight.skn").
vp::String BuiltSkinFile(const char16_t* fileName);

} // namespace vptest
