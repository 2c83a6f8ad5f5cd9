#include "framework/engine/UpdateReply.h"

#include "framework/rtl/TextUtils.h"
#include "framework/rtl/TextEncoding.h"

namespace vp {

namespace {

struct TReplyLine {
    StringView Name;
    StringView Value;
};

// The lines that carry a name, in reply order.
std::vector<TReplyLine> NamedLines(StringView aReply)
{
    std::vector<TReplyLine> lines;
    for (StringView line : SplitLines(aReply)) {
        size_t equals = line.find(u'=');
        if (equals != StringView::npos)
            lines.push_back({line.substr(0, equals), line.substr(equals + 1)});
    }
    return lines;
}

const TReplyLine* FindFirst(const std::vector<TReplyLine>& aLines, StringView aName)
{
    for (const TReplyLine& line : aLines)
        if (SameText(line.Name, aName))
            return &line;
    return nullptr;
}

String FirstValue(const std::vector<TReplyLine>& aLines, StringView aName)
{
    const TReplyLine* line = FindFirst(aLines, aName);
    return line ? String(line->Value) : String();
}

// The settings file reads a key back after trimming blanks, and takes a line that begins
// with ";" for a comment and one in brackets for a new section. A pushed name that would
// read back as nothing or as a section heading (moving every later setting out of the
// settings section) is not written.
bool IsStorableSettingName(StringView aName)
{
    String trimmed = Trim(aName);
    return !trimmed.empty() && trimmed.front() != u';' && trimmed.front() != u'[';
}

} // namespace

String UpdateReplyValue(StringView aReply, StringView aName)
{
    return FirstValue(NamedLines(aReply), aName);
}

TUpdateReply ParseUpdateReply(StringView aReply, StringView aMagicWord)
{
    TUpdateReply reply;
    std::vector<TReplyLine> lines = NamedLines(aReply);
    reply.Accepted = SameText(FirstValue(lines, u"magicword"), aMagicWord);
    if (!reply.Accepted)
        return reply;

    for (const TReplyLine& line : lines) {
        String name;
        if (StartsWithText(line.Name, kUpdateModifyPrefix))
            name = line.Name.substr(kUpdateModifyPrefix.size());
        else if (StartsWithText(line.Name, kUpdateBannerPrefix))
            name = line.Name;
        else
            continue;
        if (IsStorableSettingName(name))
            reply.Writes.push_back({std::move(name), String(line.Value)});
    }

    reply.Result = StrToIntSafe(FirstValue(lines, u"Result"), 0);
    if (reply.Result == 0) {
        reply.Version = TUpdateVersion::Latest;
    } else if (reply.Result == 1) {
        reply.Version = TUpdateVersion::Newer;
        reply.Info = FirstValue(lines, u"info");
        reply.Page = FirstValue(lines, u"page");
    } else {
        reply.Version = TUpdateVersion::NoAnswer;
    }
    return reply;
}

size_t ApplyUpdateReply(const TUpdateReply& aReply, ISettingsWriter& aWriter)
{
    if (!aReply.Accepted)
        return 0;
    for (const TUpdateSettingWrite& write : aReply.Writes)
        aWriter.SetSettingstring(write.Name, write.Value);
    return aReply.Writes.size();
}

} // namespace vp
