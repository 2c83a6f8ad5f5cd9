// Small helpers shared by the tests of both builds.
#pragma once

#include <filesystem>
#include <string>

namespace vptest {

// A fresh empty folder, removed with everything in it when the object goes.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // The folder as program text: backslashes on Windows, ending in the separator.
    std::u16string Folder() const;

private:
    std::filesystem::path FPath;
};

std::string ReadFileBytes(const std::filesystem::path& path);
// A file of the source tree (VP_SOURCE_DIR, which the test registration sets).
std::filesystem::path SourcePath(const std::string& relative);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

} // namespace vptest
