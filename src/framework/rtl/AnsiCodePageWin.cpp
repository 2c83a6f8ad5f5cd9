#include <windows.h>

#include "framework/rtl/AnsiCodePage.h"

#include <climits>

namespace vp {

String AnsiToU16(std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > INT_MAX)
        return String();
    int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (size <= 0)
        return String();
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
    return FromWide(out);
}

std::string U16ToAnsi(StringView text)
{
    if (text.empty() || text.size() > INT_MAX / 4)
        return std::string();
    std::wstring wide = ToWide(text);
    int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
    if (size <= 0)
        return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(
        CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, "?", nullptr);
    return out;
}

} // namespace vp
