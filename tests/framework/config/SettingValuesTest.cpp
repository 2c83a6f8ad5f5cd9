#include "framework/config/SettingLists.h"
#include "framework/config/SettingValues.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vp;

TEST(IntegerSetting, DecimalHexadecimalAndEverythingElseZero)
{
    EXPECT_EQ(SettingToInteger(u"$10"), 16);
    EXPECT_EQ(SettingToInteger(u"0x1f"), 31);
    EXPECT_EQ(SettingToInteger(u"  -42"), -42);
    EXPECT_EQ(SettingToInteger(u"+7"), 7);
    EXPECT_EQ(SettingToInteger(u"12abc"), 0);
    EXPECT_EQ(SettingToInteger(u"12 "), 0);
    EXPECT_EQ(SettingToInteger(u""), 0);
    EXPECT_EQ(SettingToInteger(u"2147483648"), 0);
    EXPECT_EQ(SettingToInteger(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(IntegerToSetting(-2147483647 - 1), u"-2147483648");
    EXPECT_EQ(IntegerToSetting(9), u"9");
}

TEST(BooleanSetting, IntegerReadingNotZero)
{
    EXPECT_EQ(BooleanToSetting(true), u"1");
    EXPECT_EQ(BooleanToSetting(false), u"0");
    EXPECT_TRUE(SettingToBoolean(u"1"));
    EXPECT_TRUE(SettingToBoolean(u"-1"));
    EXPECT_TRUE(SettingToBoolean(u"$10"));
    EXPECT_FALSE(SettingToBoolean(u"0"));
    EXPECT_FALSE(SettingToBoolean(u"true"));
    EXPECT_FALSE(SettingToBoolean(u""));
}

TEST(FloatSetting, WritesGeneralFormatWithTheGivenSeparator)
{
    EXPECT_EQ(FloatToSetting(45123.5, u','), u"45123,5");
    EXPECT_EQ(FloatToSetting(45123.5, u'.'), u"45123.5");
    EXPECT_EQ(FloatToSetting(0, u'.'), u"0");
    EXPECT_EQ(FloatToSetting(-2, u'.'), u"-2");
    EXPECT_EQ(FloatToSetting(1200, u'.'), u"1200");
    EXPECT_EQ(FloatToSetting(0.1, u'.'), u"0.1");
    EXPECT_EQ(FloatToSetting(1.0 / 3, u'.'), u"0.333333333333333");
    EXPECT_EQ(FloatToSetting(2.0 / 3, u','), u"0,666666666666667");
    EXPECT_EQ(FloatToSetting(0.0001, u'.'), u"0.0001");
    EXPECT_EQ(FloatToSetting(0.00001, u'.'), u"1E-5");
    EXPECT_EQ(FloatToSetting(-1.25e-7, u','), u"-1,25E-7");
    EXPECT_EQ(FloatToSetting(999999999999999.0, u'.'), u"999999999999999");
    EXPECT_EQ(FloatToSetting(1e15, u'.'), u"1E15");
    EXPECT_EQ(FloatToSetting(123456789012345678.0, u'.'), u"1.23456789012346E17");
    // Rounding to 15 digits can carry into a new leading digit.
    EXPECT_EQ(FloatToSetting(9.9999999999999999e14, u'.'), u"1E15");
    EXPECT_EQ(FloatToSetting(INFINITY, u'.'), u"INF");
    EXPECT_EQ(FloatToSetting(-INFINITY, u'.'), u"-INF");
    EXPECT_EQ(FloatToSetting(NAN, u'.'), u"NAN");
}

TEST(FloatSetting, ReadsOnlyWithTheGivenSeparator)
{
    EXPECT_DOUBLE_EQ(SettingToFloat(u"45123,5", u','), 45123.5);
    EXPECT_EQ(SettingToFloat(u"45123,5", u'.'), 0);
    EXPECT_EQ(SettingToFloat(u"45123.5", u','), 0);
    EXPECT_DOUBLE_EQ(SettingToFloat(u" -2.5 ", u'.'), -2.5);
    EXPECT_DOUBLE_EQ(SettingToFloat(u"+3", u'.'), 3);
    EXPECT_DOUBLE_EQ(SettingToFloat(u".5", u'.'), 0.5);
    EXPECT_DOUBLE_EQ(SettingToFloat(u"5.", u'.'), 5);
    EXPECT_DOUBLE_EQ(SettingToFloat(u"1,25E-7", u','), 1.25e-7);
    EXPECT_DOUBLE_EQ(SettingToFloat(u"2e+3", u'.'), 2000);
    for (const char16_t* bad : {u"", u"abc", u"1.2.3", u"1e", u"e5", u"-", u".", u"1,000.5", u"12abc",
             u"1e999", u"0x10", u"INF", u"1 2"})
        EXPECT_EQ(SettingToFloat(bad, u'.'), 0) << U16ToUtf8(bad);
}

TEST(FloatSetting, RoundTripsFifteenDigits)
{
    const double values[] = {1.0 / 7, 45123.75, -0.000123456789012345, 6.02214076e23, 1e-300, 12345678.9};
    for (char16_t separator : {u'.', u','})
        for (double value : values) {
            double back = SettingToFloat(FloatToSetting(value, separator), separator);
            EXPECT_NEAR(back, value, std::fabs(value) * 1e-14) << U16ToUtf8(FloatToSetting(value, separator));
        }
}

TEST(DateTimeSetting, DayCountWithTimeOfDay)
{
    TDateTime moment = EncodeDateTime({2023, 7, 15, 18, 0, 0, 0});
    EXPECT_EQ(DateTimeToSetting(moment, u'.'), u"45122.75");
    EXPECT_EQ(DateTimeToSetting(moment, u','), u"45122,75");
    EXPECT_DOUBLE_EQ(SettingToDateTime(u"45122,75", u','), moment);
    EXPECT_EQ(SettingToDateTime(u"45122,75", u'.'), 0);
}

TEST(RectSetting, FourFieldsOrUnchanged)
{
    EXPECT_EQ(RectToSetting(TRect{1, -2, 300, 400}), u"1,-2,300,400");
    TRect rect{9, 9, 9, 9};
    SettingToRect(u"1,2,3", rect);
    EXPECT_EQ(rect, (TRect{9, 9, 9, 9}));
    SettingToRect(u"1,2,3,4,5", rect);
    EXPECT_EQ(rect, (TRect{9, 9, 9, 9}));
    SettingToRect(u"1,x,3,4", rect);
    EXPECT_EQ(rect, (TRect{1, 0, 3, 4}));
    SettingToRect(u"", rect);
    EXPECT_EQ(rect, (TRect{1, 0, 3, 4}));
}

namespace {

class TTestLists : public ISettingLists {
public:
    const TStringList& SettingOverwrite() const override { return FOverwrite; }
    const TStringList& SettingDefault() const override { return FDefault; }

private:
    TStringList FOverwrite;
    TStringList FDefault;
};

} // namespace

TEST(SettingListsRegistration, FirstRegisteredUntilItLeaves)
{
    TTestLists first;
    TTestLists second;
    ASSERT_EQ(RegisteredSettingLists(), nullptr);
    EXPECT_TRUE(RegisterSettingLists(&first));
    EXPECT_TRUE(RegisterSettingLists(&first));
    EXPECT_FALSE(RegisterSettingLists(&second));
    EXPECT_EQ(RegisteredSettingLists(), &first);
    UnregisterSettingLists(&second);
    EXPECT_EQ(RegisteredSettingLists(), &first);
    UnregisterSettingLists(&first);
    EXPECT_EQ(RegisteredSettingLists(), nullptr);
    EXPECT_TRUE(RegisterSettingLists(&second));
    UnregisterSettingLists(&second);
}
