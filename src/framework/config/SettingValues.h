// How typed values are held as setting text. Reading never fails: text that is not a value
// of the type reads as 0 (false for Boolean); a rectangle reading that does not find four
// fields leaves the rectangle as it was.
#pragma once

#include "framework/rtl/DateTime.h"
#include "framework/rtl/Rect.h"
#include "framework/rtl/RtlText.h"

#include <cstdint>

namespace vp {

String IntegerToSetting(int32_t value);
// Optional leading blanks and sign, decimal or "$"/"x"/"0x" hexadecimal digits.
int32_t SettingToInteger(StringView text);

String BooleanToSetting(bool value); // "1" or "0"
bool SettingToBoolean(StringView text); // the integer reading is not 0

// General format with up to 15 significant digits and the given decimal separator, e.g.
// "45123,5", "0.001", "1E-5", "1.5E20".
String FloatToSetting(double value, char16_t decimalSeparator);
// Blanks around, sign, digits with at most one decimal separator, optional exponent.
double SettingToFloat(StringView text, char16_t decimalSeparator);

// Date-times are floating-point day counts.
String DateTimeToSetting(TDateTime value, char16_t decimalSeparator);
TDateTime SettingToDateTime(StringView text, char16_t decimalSeparator);

// Left,Top,Right,Bottom.
String RectToSetting(const TRect& value);
void SettingToRect(StringView text, TRect& value);

} // namespace vp
