// Passing String to Win32 and back. Only Win32 files include this (wchar_t is UTF-16 there).
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "WinText.h is for the Windows build");

inline const wchar_t* WStr(const String& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline String FromWStr(const wchar_t* text)
{
    return text ? String(reinterpret_cast<const char16_t*>(text)) : String();
}

inline String FromWStr(const wchar_t* text, size_t length)
{
    return text ? String(reinterpret_cast<const char16_t*>(text), length) : String();
}

} // namespace vp
