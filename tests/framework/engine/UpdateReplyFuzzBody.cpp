#include "UpdateReplyFuzzBody.h"

#include "support/FuzzCheck.h"

#include "framework/rtl/TextUtils.h"
#include "framework/engine/UpdateReply.h"
#include "framework/rtl/TextEncoding.h"

using namespace vp;

namespace vptest {

namespace {

class TListWriter : public ISettingsWriter {
public:
    void SetSettingstring(StringView strName, StringView strValue) override
    {
        Calls.push_back({String(strName), String(strValue)});
    }
    std::vector<TUpdateSettingWrite> Calls;
};

// The reply text that pushes exactly these writes and gives this answer.
String Rebuilt(StringView aMagicWord, const TUpdateReply& aReply)
{
    String text = String(u"magicword=") + String(aMagicWord) + u"\r\n";
    for (const TUpdateSettingWrite& write : aReply.Writes)
        text += String(kUpdateModifyPrefix) + write.Name + u"=" + write.Value + u"\r\n";
    text += u"Result=" + IntToStr(aReply.Result) + u"\r\ninfo=" + aReply.Info + u"\r\npage=" + aReply.Page;
    return text;
}

} // namespace

std::string RunUpdateReplyFuzzInput(const uint8_t* data, size_t size)
{
    String input = Utf8ToU16(std::string_view(reinterpret_cast<const char*>(data), size));
    size_t newline = input.find(u'\n');
    String magic = newline == String::npos ? String() : input.substr(0, newline);
    StringView text = newline == String::npos ? StringView(input) : StringView(input).substr(newline + 1);

    TUpdateReply reply = ParseUpdateReply(text, magic);
    VP_FUZZ_CHECK(reply.Accepted == SameText(UpdateReplyValue(text, u"magicword"), magic));
    if (!reply.Accepted) {
        VP_FUZZ_CHECK(reply.Writes.empty() && reply.Info.empty() && reply.Page.empty());
        TListWriter writer;
        VP_FUZZ_CHECK(ApplyUpdateReply(reply, writer) == 0 && writer.Calls.empty());
        // The same reply is accepted with the magic word it carries, in another case.
        VP_FUZZ_CHECK(ParseUpdateReply(text, UpperCase(UpdateReplyValue(text, u"MAGICWORD"))).Accepted);
        return {};
    }

    std::vector<StringView> lines = SplitLines(text);
    VP_FUZZ_CHECK(reply.Writes.size() <= lines.size());
    for (const TUpdateSettingWrite& write : reply.Writes) {
        VP_FUZZ_CHECK(!Trim(write.Name).empty());
        VP_FUZZ_CHECK(write.Name.find(u'=') == String::npos);
        VP_FUZZ_CHECK(write.Name.find_first_of(u"\r\n") == String::npos);
        VP_FUZZ_CHECK(write.Value.find_first_of(u"\r\n") == String::npos);
    }
    int32_t result = StrToIntSafe(UpdateReplyValue(text, u"Result"), 0);
    VP_FUZZ_CHECK(reply.Result == result);
    VP_FUZZ_CHECK((reply.Version == TUpdateVersion::Newer) == (result == 1));
    VP_FUZZ_CHECK((reply.Version == TUpdateVersion::Latest) == (result == 0));
    if (result == 1) {
        VP_FUZZ_CHECK(reply.Info == UpdateReplyValue(text, u"info"));
        VP_FUZZ_CHECK(reply.Page == UpdateReplyValue(text, u"page"));
    }

    TListWriter writer;
    VP_FUZZ_CHECK(ApplyUpdateReply(reply, writer) == reply.Writes.size());
    VP_FUZZ_CHECK(writer.Calls == reply.Writes);

    // The writes and the answer, written out again as a reply, read back the same.
    TUpdateReply again = ParseUpdateReply(Rebuilt(magic, reply), LowerCase(magic));
    VP_FUZZ_CHECK(again.Accepted);
    VP_FUZZ_CHECK(again.Writes == reply.Writes);
    VP_FUZZ_CHECK(again.Version == reply.Version && again.Result == reply.Result);
    VP_FUZZ_CHECK(again.Info == reply.Info && again.Page == reply.Page);
    return {};
}

} // namespace vptest
