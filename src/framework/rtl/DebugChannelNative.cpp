#include "framework/rtl/RtlText.h"

#include <filesystem>
#include <system_error>

namespace vp {

String DebugTempFolder()
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return String();
    return Utf8ToU16((folder / "").string());
}

void DebugOutputLine(StringView)
{
    // No system debugger output here; the log file carries every line.
}

} // namespace vp
