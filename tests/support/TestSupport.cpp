#include "support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace vptest {

TTempFolder::TTempFolder()
{
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "vptest-" << std::hex << device() << '-' << stamp << '-' << counter++;
        FPath = std::filesystem::temp_directory_path() / name.str();
        if (std::filesystem::create_directory(FPath))
            return;
    }
    throw std::runtime_error("cannot create a temporary test folder");
}

TTempFolder::~TTempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

std::u16string TTempFolder::Folder() const
{
    std::u16string text = FPath.u16string();
    text.push_back(static_cast<char16_t>(std::filesystem::path::preferred_separator));
    return text;
}

std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot create " + path.string());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path SourcePath(const std::string& relative)
{
    const char* root = std::getenv("VP_SOURCE_DIR");
    return std::filesystem::path(root ? root : ".") / relative;
}

} // namespace vptest
