#include "framework/config/SettingValues.h"

#include "framework/rtl/TextUtils.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vp {

namespace {

constexpr int kSignificantDigits = 15;

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

String IntegerToSetting(int32_t value)
{
    return IntToStr(value);
}

int32_t SettingToInteger(StringView text)
{
    return StrToIntSafe(text, 0);
}

String BooleanToSetting(bool value)
{
    return value ? u"1" : u"0";
}

bool SettingToBoolean(StringView text)
{
    return SettingToInteger(text) != 0;
}

String FloatToSetting(double value, char16_t decimalSeparator)
{
    if (std::isnan(value))
        return u"NAN";
    if (std::isinf(value))
        return value < 0 ? u"-INF" : u"INF";
    if (value == 0)
        return u"0";
    // d.dddddddddddddde±x: the 15 significant digits, rounded once, and the exponent.
    char buffer[64];
    auto result = std::to_chars(
        buffer, buffer + sizeof(buffer), value, std::chars_format::scientific, kSignificantDigits - 1);
    std::string scientific(buffer, result.ptr);
    bool negative = scientific.front() == '-';
    if (negative)
        scientific.erase(0, 1);
    size_t e = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    int exponent = std::stoi(scientific.substr(e + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    String out = negative ? u"-" : u"";
    // Digits before the decimal point when written out in fixed notation.
    int pointPosition = exponent + 1;
    if (pointPosition > kSignificantDigits || pointPosition < -3) {
        out += static_cast<char16_t>(digits[0]);
        if (digits.size() > 1) {
            out += decimalSeparator;
            out += FromAscii(digits.substr(1));
        }
        out += u'E';
        out += IntToStr(exponent);
        return out;
    }
    if (pointPosition <= 0) {
        out += u"0";
        out += decimalSeparator;
        out += String(static_cast<size_t>(-pointPosition), u'0');
        out += FromAscii(digits);
        return out;
    }
    if (digits.size() <= static_cast<size_t>(pointPosition))
        return out + FromAscii(digits) + String(static_cast<size_t>(pointPosition) - digits.size(), u'0');
    out += FromAscii(digits.substr(0, static_cast<size_t>(pointPosition)));
    out += decimalSeparator;
    out += FromAscii(digits.substr(static_cast<size_t>(pointPosition)));
    return out;
}

double SettingToFloat(StringView text, char16_t decimalSeparator)
{
    size_t i = 0;
    size_t end = text.size();
    while (i < end && text[i] <= u' ')
        ++i;
    while (end > i && text[end - 1] <= u' ')
        --end;
    // Rewritten as plain ASCII with "." so that the standard reading can take it.
    std::string plain;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            plain += '-';
        ++i;
    }
    size_t mantissaDigits = 0;
    bool seenSeparator = false;
    for (; i < end; ++i) {
        char16_t c = text[i];
        if (IsDigit(c)) {
            plain += static_cast<char>(c);
            ++mantissaDigits;
        } else if (c == decimalSeparator && !seenSeparator) {
            plain += '.';
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return 0;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        plain += 'e';
        ++i;
        if (i < end && (text[i] == u'+' || text[i] == u'-'))
            plain += static_cast<char>(text[i++]);
        size_t exponentDigits = 0;
        for (; i < end && IsDigit(text[i]); ++i, ++exponentDigits)
            plain += static_cast<char>(text[i]);
        if (exponentDigits == 0)
            return 0;
    }
    if (i != end)
        return 0;
    double value = 0;
    auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size() || !std::isfinite(value))
        return 0;
    return value;
}

String DateTimeToSetting(TDateTime value, char16_t decimalSeparator)
{
    return FloatToSetting(value, decimalSeparator);
}

TDateTime SettingToDateTime(StringView text, char16_t decimalSeparator)
{
    return SettingToFloat(text, decimalSeparator);
}

String RectToSetting(const TRect& value)
{
    return RectToStr(value);
}

void SettingToRect(StringView text, TRect& value)
{
    StrToRect(text, value);
}

} // namespace vp
