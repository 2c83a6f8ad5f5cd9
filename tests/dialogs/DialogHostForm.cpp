#include "DialogHostForm.h"

#include "framework/rtl/RtlText.h"

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

int TfrmDialogHost::LoadFlags(std::initializer_list<const char16_t*> codes)
{
    int loaded = 0;
    for (const char16_t* code : codes) {
        int index = imglstFlag->Add(code);
        loaded += imglstFlag->LoadFromFile(index, SourceDataFolder() + u"res\\flag_short\\" + code + u".PNG");
    }
    return loaded;
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

String SourceDataFolder()
{
    return FromAscii(VP_SOURCE_DATA_DIR);
}

String BuiltSkinFile(const char16_t* fileName)
{
    return FromAscii(VP_BUILT_SKINS_DIR) + u"/" + fileName;
}

} // namespace vptest
