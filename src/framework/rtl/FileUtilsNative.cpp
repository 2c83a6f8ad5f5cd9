#include "framework/rtl/FileUtils.h"

#include <system_error>

namespace vp {

String SystemTempFolder()
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return String();
    return Utf8ToU16((folder / "").string());
}

} // namespace vp
