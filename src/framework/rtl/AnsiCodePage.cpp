#include "framework/rtl/AnsiCodePage.h"

namespace vp {

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes (kept as C1 controls).
constexpr char16_t kHigh[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
    0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

} // namespace

String Cp1252ToU16(std::string_view bytes)
{
    String out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        out[i] =
            (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

std::string U16ToCp1252(StringView text)
{
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        char byte = '?';
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            byte = static_cast<char>(c);
        } else if (c >= 0x80 && c <= 0x9F) {
            // The five unassigned bytes map to themselves.
            if (kHigh[c - 0x80] == 0)
                byte = static_cast<char>(c);
        } else {
            for (int k = 0; k < 32; ++k)
                if (kHigh[k] == c) {
                    byte = static_cast<char>(0x80 + k);
                    break;
                }
        }
        out[i] = byte;
    }
    return out;
}

} // namespace vp
