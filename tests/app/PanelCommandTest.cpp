#include "app/PanelCommand.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

template <class T>
T Parsed(StringView text)
{
    std::optional<TPanelCommand> command = ParsePanelCommand(text);
    EXPECT_TRUE(command && std::holds_alternative<T>(*command)) << U16ToUtf8(text);
    return command && std::holds_alternative<T>(*command) ? std::get<T>(*command) : T{};
}

} // namespace

TEST(PanelCommand, TheProgramsCommands)
{
    using enum TPanelCardId;
    EXPECT_EQ(Parsed<TPanelCardInfoCommand>(u"Target,,,,,,0,100"),
        (TPanelCardInfoCommand{Target, false, u"", u"", u"", u"", 0, 100}));
    EXPECT_EQ(Parsed<TPanelCardInfoCommand>(u"Target,True,C:\\V\\res\\flag_short\\KR.PNG,203.0.113.7,Korea  Republic of,,0,100"),
        (TPanelCardInfoCommand{Target, true, u"C:\\V\\res\\flag_short\\KR.PNG", u"203.0.113.7", u"Korea  Republic of", u"", 0, 100}));
    EXPECT_EQ(Parsed<TPanelCardLookCommand>(u"LocalA,50,100"), (TPanelCardLookCommand{Local, 50, 100}));
    EXPECT_EQ(Parsed<TPanelFadeCommand>(u"Fade,Target,in,100"), (TPanelFadeCommand{Target, true, 100}));
    EXPECT_EQ(Parsed<TPanelFadeCommand>(u"Fade,Target,out,0"), (TPanelFadeCommand{Target, false, 0}));
    EXPECT_EQ(Parsed<TPanelTextCommand>(u"Info_Text,,0"), (TPanelTextCommand{false, u"", 0}));
    EXPECT_EQ(Parsed<TPanelTextCommand>(u"Info_Text2,Ready,16711680"), (TPanelTextCommand{true, u"Ready", 0xFF0000}));
    EXPECT_EQ(Parsed<TPanelPictureCommand>(u"Logo,C:\\V\\res\\logo.png"), (TPanelPictureCommand{true, u"C:\\V\\res\\logo.png"}));
    EXPECT_EQ(Parsed<TPanelTurnCommand>(u"Turn,Target"), (TPanelTurnCommand{Target}));
    EXPECT_EQ(Parsed<TPanelTurnCommand>(u"turn,LOCAL"), (TPanelTurnCommand{Local}));
}

TEST(PanelCommand, ExtraCommasGoToTheFieldThatHoldsThem)
{
    TPanelCardInfoCommand city = Parsed<TPanelCardInfoCommand>(
        u"Local,True,http://127.0.0.1/flags/KR.PNG,198.51.100.2,Korea  Republic of,Seoul, Jung-gu, Myeong-dong,100,100");
    EXPECT_EQ(city.FlagURL, u"http://127.0.0.1/flags/KR.PNG");
    EXPECT_EQ(city.IP, u"198.51.100.2");
    EXPECT_EQ(city.CountryName, u"Korea  Republic of");
    EXPECT_EQ(city.City, u"Seoul, Jung-gu, Myeong-dong");
    EXPECT_EQ(city.Alpha, 100);

    // A comma in a folder name stays in the flag path; the city keeps the rest.
    TPanelCardInfoCommand folder =
        Parsed<TPanelCardInfoCommand>(u"Local,True,C:\\Users\\Lee, Kim\\Data\\KR.png,198.51.100.2,Korea,Busan, Haeundae,50,100");
    EXPECT_EQ(folder.FlagURL, u"C:\\Users\\Lee, Kim\\Data\\KR.png");
    EXPECT_EQ(folder.IP, u"198.51.100.2");
    EXPECT_EQ(folder.City, u"Busan, Haeundae");

    EXPECT_EQ(Parsed<TPanelTextCommand>(u"Info_Text,Hiding, please wait,, then browse,4474009").Text,
        u"Hiding, please wait,, then browse");
    EXPECT_EQ(Parsed<TPanelPictureCommand>(u"Background,C:\\A, B\\bg.png").Path, u"C:\\A, B\\bg.png");
    EXPECT_EQ(Parsed<TPanelPictureCommand>(u"Background,").Path, u"");
}

TEST(PanelCommand, NumbersAreClamped)
{
    EXPECT_EQ(Parsed<TPanelCardLookCommand>(u"TargetA,-5,250"), (TPanelCardLookCommand{TPanelCardId::Target, 0, 100}));
    EXPECT_EQ(Parsed<TPanelCardLookCommand>(u"LocalA, 99999999999999999999999 ,+7").Alpha, 100);
    EXPECT_EQ(Parsed<TPanelFadeCommand>(u"Fade,Local,out,-300").FadeMax, 0);
    EXPECT_EQ(Parsed<TPanelCardInfoCommand>(u"Local,True,,,,,1000,-1").Scale, 0);
}

TEST(PanelCommand, MalformedCommandsAreIgnored)
{
    for (StringView text : {u"", u",", u"Fade", u"Fade,Target,in", u"Fade,Target,sideways,100", u"Fade,Other,in,1",
             u"Fade,Target,in,x", u"Fade,Target,in,100,1", u"Turn,Left", u"Turn,Local,", u"Turn", u"Local,True,a,b,c,d,e",
             u"Local,True,f,ip,c,city,abc,100", u"Local,True,f,ip,c,city,50,", u"LocalA,50", u"LocalA,5O,100",
             u"LocalAA,5,5", u"A,5,5", u"Info_Text,hello", u"Info_Text,x,-1", u"Info_Text,x,16777216", u"Info_Text,x,0x10",
             u"Info_Text,x,", u"Background", u"Banner,1", u"callbackvar", u"Info_Text3,x,0"})
        EXPECT_FALSE(ParsePanelCommand(text)) << U16ToUtf8(text);

    String huge = u"Info_Text," + String(kPanelMaxCommandLength, u'x') + u",0";
    EXPECT_FALSE(ParsePanelCommand(huge));
}

TEST(PanelCommand, LongTextsAreCutAndLongPathsDropped)
{
    String city(3000, u'c');
    String flag = String(kPanelMaxPathLength, u'f') + u".png";
    TPanelCardInfoCommand info = Parsed<TPanelCardInfoCommand>(u"Local,True," + flag + u",ip,country," + city + u",1,2");
    EXPECT_EQ(info.City, String(kPanelMaxTextLength, u'c'));
    EXPECT_EQ(info.FlagURL, u"");
    EXPECT_EQ(info.IP, u"ip");

    // A cut never ends in half a surrogate pair.
    String text = String(kPanelMaxTextLength - 1, u'a') + u"\U0001F600";
    EXPECT_EQ(Parsed<TPanelTextCommand>(u"Info_Text," + text + u",0").Text, String(kPanelMaxTextLength - 1, u'a'));
}
