// TspCompressedStoredSkin: one skin file kept whole in memory (the built-in "Default" skin, or a
// file loaded from the skins folder), and the skin read from it.
//
// Loading is all or nothing: new bytes replace the old ones only once they have been read as a
// sound skin, so a damaged file leaves the stored skin as it was.
#pragma once

#include "framework/rtl/Component.h"
#include "framework/ui/SkinDefinition.h"

#include <memory>
#include <string>

namespace vp {

class TspCompressedStoredSkin : public TComponent {
    VP_CLASS(TspCompressedStoredSkin)
public:
    explicit TspCompressedStoredSkin(TComponent* aOwner);

    // Raises ESkinError when the bytes are not a sound skin file.
    void LoadFromBytes(std::string bytes);
    // Raises EFOpenError when the file cannot be read, ESkinError when it is not a sound skin
    // file (a file larger than the archive limit is refused before it is read).
    void LoadFromFile(StringView fileName);
    void Clear();

    bool Empty() const { return FBytes.empty(); }
    const std::string& Bytes() const { return FBytes; }
    // The skin read from the bytes; the built-in look while nothing is stored.
    std::shared_ptr<const TSkinDefinition> Skin() const;

    // The file the bytes came from ("" for bytes given otherwise).
    String CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const String& value) { FCompressedFileName = value; }

private:
    std::string FBytes;
    std::shared_ptr<const TSkinDefinition> FSkin;
    String FCompressedFileName;
};

} // namespace vp
