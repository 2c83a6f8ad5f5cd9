#include "framework/ui/SkinData.h"

#include "framework/rtl/ErrorReport.h"

#include <algorithm>

namespace vp {

const TClassInfo& TspSkinData::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspSkinData, TComponent>(u"TspSkinData")
                                       .Other(u"CompressedStoredSkin", u"TspCompressedStoredSkin")
                                       .Other(u"SkinnableForm", u"Boolean")
                                       .Other(u"ResourceStrData", u"TspResourceStrData")
                                       .Build();
    return info;
}

TspSkinData::TspSkinData(TComponent* aOwner)
    : TComponent(aOwner), FResources(std::make_unique<TSkinResources>(nullptr))
{
}

TspSkinData::~TspSkinData()
{
    // Clients forget this object through their free notification.
    FClients.clear();
}

void TspSkinData::SetCompressedStoredSkin(TspCompressedStoredSkin* value)
{
    if (FStoredSkin)
        RemoveFreeNotification(FStoredSkin);
    FStoredSkin = value;
    if (FStoredSkin) {
        FreeNotification(FStoredSkin);
        FFileSkin.reset();
        UseSkin(FStoredSkin->Skin());
    } else if (!FFileSkin) {
        UseSkin(nullptr);
    }
}

void TspSkinData::LoadFromCompressedFile(StringView fileName)
{
    auto loaded = std::make_unique<TspCompressedStoredSkin>(nullptr);
    loaded->LoadFromFile(fileName); // raises before anything here changes
    if (FStoredSkin)
        RemoveFreeNotification(FStoredSkin);
    FStoredSkin = nullptr;
    FFileSkin = std::move(loaded);
    UseSkin(FFileSkin->Skin());
}

void TspSkinData::UseSkin(std::shared_ptr<const TSkinDefinition> skin)
{
    FResources = std::make_unique<TSkinResources>(std::move(skin));
    Changed();
}

void TspSkinData::SetSkinnableForm(bool value)
{
    if (value == FSkinnableForm)
        return;
    FSkinnableForm = value;
    Changed();
}

void TspSkinData::SetShowButtonGlowFrame(bool value)
{
    if (value == FButtonGlowFrame)
        return;
    FButtonGlowFrame = value;
    Changed();
}

void TspSkinData::SetShowCaptionButtonGlowFrame(bool value)
{
    if (value == FCaptionButtonGlowFrame)
        return;
    FCaptionButtonGlowFrame = value;
    Changed();
}

void TspSkinData::SetResourceStrData(TspResourceStrData* value)
{
    if (FResourceStrData)
        RemoveFreeNotification(FResourceStrData);
    FResourceStrData = value;
    if (FResourceStrData)
        FreeNotification(FResourceStrData);
    Changed();
}

String TspSkinData::ResStr(StringView name) const
{
    if (FResourceStrData)
        return FResourceStrData->GetResStr(name);
    for (const TSkinResourceString& entry : SkinResourceDefaults())
        if (SameText(entry.Name, name))
            return entry.Text;
    return String();
}

void TspSkinData::AddClient(TComponent* client)
{
    if (!client || std::find(FClients.begin(), FClients.end(), client) != FClients.end())
        return;
    FClients.push_back(client);
    FreeNotification(client);
}

void TspSkinData::RemoveClient(TComponent* client)
{
    auto found = std::find(FClients.begin(), FClients.end(), client);
    if (found == FClients.end())
        return;
    FClients.erase(found);
    RemoveFreeNotification(client);
}

void TspSkinData::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation != TOperation::Remove)
        return;
    FClients.erase(std::remove(FClients.begin(), FClients.end(), aComponent), FClients.end());
    if (aComponent == FStoredSkin) {
        FStoredSkin = nullptr;
        if (!FFileSkin)
            UseSkin(nullptr);
    }
    if (aComponent == FResourceStrData)
        FResourceStrData = nullptr;
}

void TspSkinData::Changed()
{
    ++FChangeCount;
    // A client may add or drop clients while it repaints.
    std::vector<TComponent*> clients = FClients;
    for (TComponent* client : clients)
        if (std::find(FClients.begin(), FClients.end(), client) != FClients.end())
            if (auto* skinned = dynamic_cast<ISkinClient*>(client))
                GuardCall([&] { skinned->SkinChanged(); });
}

bool LoadBuiltinSkin(TspCompressedStoredSkin& stored)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, L"VP_DEFAULT_SKIN", MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, resource);
    if (!data || size == 0)
        return false;
    stored.LoadFromBytes(std::string(static_cast<const char*>(data), size));
    stored.SetCompressedFileName(u"Default");
    return true;
}

} // namespace vp
