// The reply of the update service: name=value lines that push settings ("__MODIFY__." and
// "Banner." lines) and answer the version question ("Result", "info", "page"). A reply counts
// only when its "magicword" line matches the product's magic word.
#pragma once

#include "framework/config/SettingsWriter.h"
#include "framework/rtl/RtlText.h"

#include <cstdint>
#include <vector>

namespace vp {

enum class TUpdateVersion {
    Latest, // "Result" 0, missing or not a number
    Newer, // "Result" 1: "info" tells the user, "page" is where to get it
    NoAnswer, // any other number
};

struct TUpdateSettingWrite {
    String Name;
    String Value;

    bool operator==(const TUpdateSettingWrite&) const = default;
};

struct TUpdateReply {
    // The first "magicword" line matched (an empty magic word also accepts a missing line).
    bool Accepted = false;
    // Accepted replies only: the settings to write, in reply order (the last write of a name
    // wins when they are applied).
    std::vector<TUpdateSettingWrite> Writes;
    // Accepted replies only: the version answer. Info and Page are set for Newer only.
    int32_t Result = 0;
    TUpdateVersion Version = TUpdateVersion::Latest;
    String Info;
    String Page;
};

inline constexpr StringView kUpdateModifyPrefix = u"__MODIFY__.";
inline constexpr StringView kUpdateBannerPrefix = u"Banner.";

// Lines end at CR, LF or CR LF; a line is split at its first "="; a line without "=" is
// ignored. Names compare without regard to case, names and values are taken exactly as
// written. The magic word compares without regard to case.
TUpdateReply ParseUpdateReply(StringView aReply, StringView aMagicWord);

// The value of the first line whose name is aName, ignoring case; "" when none.
String UpdateReplyValue(StringView aReply, StringView aName);

// Hands the writes of an accepted reply to aWriter in reply order; returns how many.
size_t ApplyUpdateReply(const TUpdateReply& aReply, ISettingsWriter& aWriter);

} // namespace vp
