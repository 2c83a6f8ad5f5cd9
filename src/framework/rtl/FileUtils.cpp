#include "framework/rtl/FileUtils.h"

#include "framework/rtl/Exceptions.h"

#include <fstream>
#include <system_error>

namespace vp {

std::filesystem::path ToFsPath(StringView path)
{
    if constexpr (sizeof(wchar_t) == 2)
        return std::filesystem::path(ToWide(path));
    else
        return std::filesystem::path(U16ToUtf8(path));
}

bool FileExists(StringView path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(ToFsPath(path), error);
}

bool DirectoryExists(StringView path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(ToFsPath(path), error);
}

bool PathExists(StringView path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(ToFsPath(path), error);
}

bool ForceDirectories(StringView path)
{
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::path target = ToFsPath(path);
    std::filesystem::create_directories(target, error);
    return std::filesystem::is_directory(target, error);
}

std::string ReadAllBytes(StringView path)
{
    std::ifstream in(ToFsPath(path), std::ios::binary | std::ios::ate);
    // A folder opens on some systems but has no size to read.
    if (!in || DirectoryExists(path))
        throw EFOpenError(path);
    // The whole file or an error: a read that stops early (a range another process holds
    // locked) must not pass for a shorter file.
    std::streamoff size = in.tellg();
    if (size < 0 || !in.seekg(0))
        throw EFOpenError(path, u"read error");
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), size);
    if (in.gcount() != size)
        throw EFOpenError(path, u"read error");
    return bytes;
}

void WriteAllBytesAtomic(StringView path, std::string_view bytes)
{
    std::filesystem::path target = ToFsPath(path);
    std::filesystem::path temporary = target;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            throw EFCreateError(path);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw EWriteError(path);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw EWriteError(path, FromAscii(error.message()));
    }
}

} // namespace vp
