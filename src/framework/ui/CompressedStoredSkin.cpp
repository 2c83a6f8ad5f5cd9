#include "framework/ui/CompressedStoredSkin.h"

#include "framework/rtl/FileUtils.h"

#include <filesystem>
#include <system_error>

namespace vp {

const TClassInfo& TspCompressedStoredSkin::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspCompressedStoredSkin, TComponent>(u"TspCompressedStoredSkin")
            .WideText(u"CompressedFileName", u"string", &TspCompressedStoredSkin::CompressedFileName,
                &TspCompressedStoredSkin::SetCompressedFileName)
            .Build();
    return info;
}

TspCompressedStoredSkin::TspCompressedStoredSkin(TComponent* aOwner) : TComponent(aOwner)
{
}

void TspCompressedStoredSkin::LoadFromBytes(std::string bytes)
{
    std::shared_ptr<const TSkinDefinition> skin = TSkinDefinition::FromBytes(bytes);
    FBytes = std::move(bytes);
    FSkin = std::move(skin);
    FCompressedFileName.clear();
}

void TspCompressedStoredSkin::LoadFromFile(StringView fileName)
{
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(ToFsPath(fileName), error);
    if (!error && size > TSkinArchiveLimits{}.MaxArchiveBytes)
        throw ESkinError(u"The skin file cannot be used: it is too large.");
    LoadFromBytes(ReadAllBytes(fileName));
    FCompressedFileName = String(fileName);
}

void TspCompressedStoredSkin::Clear()
{
    FBytes.clear();
    FSkin.reset();
    FCompressedFileName.clear();
}

std::shared_ptr<const TSkinDefinition> TspCompressedStoredSkin::Skin() const
{
    if (FSkin)
        return FSkin;
    static const std::shared_ptr<const TSkinDefinition> builtin = std::make_shared<const TSkinDefinition>();
    return builtin;
}

} // namespace vp
