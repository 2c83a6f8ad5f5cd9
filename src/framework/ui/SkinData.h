// TspSkinData: the skin every skinned window and control of a program draws from. It holds
// the stored skin it was given (the built-in "Default" one) or a skin file it loaded, the
// skinnable-form flag (skinned window frame or the system's), the glow switches, and the
// table of the toolkit's texts; its clients repaint when any of that changes.
#pragma once

#include <windows.h>

#include "framework/rtl/Component.h"
#include "framework/ui/CompressedStoredSkin.h"
#include "framework/ui/SkinPainter.h"
#include "framework/ui/SkinResourceStrings.h"

#include <map>
#include <memory>
#include <vector>

namespace vp {

// A component that draws from skin data and repaints when it changes.
class ISkinClient {
public:
    virtual ~ISkinClient() = default;
    virtual void SkinChanged() = 0;
};

class TspSkinData : public TComponent {
    VP_CLASS(TspSkinData)
public:
    explicit TspSkinData(TComponent* aOwner);
    ~TspSkinData() override;

    // The stored skin drawn from; nullptr detaches it (a skin file loaded since is kept).
    TspCompressedStoredSkin* CompressedStoredSkin() const { return FStoredSkin; }
    void SetCompressedStoredSkin(TspCompressedStoredSkin* value);
    // Loads a skin file and draws from it, the stored skin detached. Raises EFOpenError or
    // ESkinError when the file cannot be read or is not a sound skin; the skin drawn from
    // until then stays.
    void LoadFromCompressedFile(StringView fileName);

    // Skinned windows draw their own frame (true) or keep the system's.
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool value);
    bool ShowButtonGlowFrame() const { return FButtonGlowFrame; }
    void SetShowButtonGlowFrame(bool value);
    bool ShowCaptionButtonGlowFrame() const { return FCaptionButtonGlowFrame; }
    void SetShowCaptionButtonGlowFrame(bool value);

    TspResourceStrData* ResourceStrData() const { return FResourceStrData; }
    void SetResourceStrData(TspResourceStrData* value);
    // A text of the toolkit: the resource table's, or the built-in one.
    String ResStr(StringView name) const;

    // The skin drawn from now (the built-in look while there is none).
    const TSkinDefinition& Skin() const { return FResources->Skin(); }
    TSkinPainter Painter(UINT dpi) const { return TSkinPainter(*FResources, dpi); }
    // Grows by one with every change; clients that cache drawing compare it.
    unsigned ChangeCount() const { return FChangeCount; }

    void AddClient(TComponent* client);
    void RemoveClient(TComponent* client);

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    void UseSkin(std::shared_ptr<const TSkinDefinition> skin);
    void Changed();

    TspCompressedStoredSkin* FStoredSkin = nullptr;
    std::unique_ptr<TspCompressedStoredSkin> FFileSkin; // a loaded skin file
    std::unique_ptr<TSkinResources> FResources;
    TspResourceStrData* FResourceStrData = nullptr;
    std::vector<TComponent*> FClients;
    bool FSkinnableForm = true;
    bool FButtonGlowFrame = true;
    bool FCaptionButtonGlowFrame = true;
    unsigned FChangeCount = 0;
};

// Fills a stored skin with the skin built into the program (the resource "VP_DEFAULT_SKIN");
// false when the program has none.
bool LoadBuiltinSkin(TspCompressedStoredSkin& stored);

} // namespace vp
