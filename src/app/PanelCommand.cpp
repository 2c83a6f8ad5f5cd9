#include "app/PanelCommand.h"

#include <algorithm>
#include <vector>

namespace vp {

namespace {

// The fields of one command as views into its text.
class TFields {
public:
    explicit TFields(StringView text) : FText(text)
    {
        size_t start = 0;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == u',') {
                FBounds.push_back({start, i});
                start = i + 1;
            }
        }
    }

    size_t Count() const { return FBounds.size(); }
    StringView operator[](size_t index) const { return Span(index, index); }
    // Fields first..last with the commas between them, as sent.
    StringView Span(size_t first, size_t last) const
    {
        return FText.substr(FBounds[first].first, FBounds[last].second - FBounds[first].first);
    }

private:
    StringView FText;
    std::vector<std::pair<size_t, size_t>> FBounds;
};

// Decimal digits with an optional sign and blanks around them. Far larger values saturate,
// so that clamping still gives the nearest end of the range.
std::optional<int64_t> ReadDecimal(StringView text)
{
    String trimmed = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed[i] == u'+' || trimmed[i] == u'-')) {
        negative = trimmed[i] == u'-';
        ++i;
    }
    if (i == trimmed.size())
        return std::nullopt;
    constexpr int64_t kSaturated = int64_t(1) << 40;
    int64_t value = 0;
    for (; i < trimmed.size(); ++i) {
        if (trimmed[i] < u'0' || trimmed[i] > u'9')
            return std::nullopt;
        value = std::min(kSaturated, value * 10 + (trimmed[i] - u'0'));
    }
    return negative ? -value : value;
}

std::optional<int32_t> ReadPercent(StringView text)
{
    std::optional<int64_t> value = ReadDecimal(text);
    if (!value)
        return std::nullopt;
    return static_cast<int32_t>(std::clamp<int64_t>(*value, 0, 100));
}

std::optional<uint32_t> ReadColor(StringView text)
{
    std::optional<int64_t> value = ReadDecimal(text);
    if (!value || *value < 0 || *value > 0xFFFFFF)
        return std::nullopt;
    return static_cast<uint32_t>(*value);
}

std::optional<TPanelCardId> ReadCard(StringView text)
{
    String name = Trim(text);
    if (SameText(name, u"Local"))
        return TPanelCardId::Local;
    if (SameText(name, u"Target"))
        return TPanelCardId::Target;
    return std::nullopt;
}

String ClampText(StringView text)
{
    size_t length = std::min(text.size(), kPanelMaxTextLength);
    // Never keep half of a surrogate pair.
    if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    return String(text.substr(0, length));
}

String PathOrEmpty(StringView text)
{
    return text.size() <= kPanelMaxPathLength ? String(text) : String();
}

bool EndsWithPictureExtension(StringView text)
{
    for (StringView extension : {u".png", u".gif", u".jpg", u".jpeg", u".bmp"}) {
        if (text.size() >= extension.size() && SameText(text.substr(text.size() - extension.size()), extension))
            return true;
    }
    return false;
}

// position, display, flag, IP, country, city, alpha, scale. The country comes with its
// commas made blanks and the IP has none; the city takes any further commas. A flag path
// may hold commas too (a folder name): when the flag field alone is no picture name but
// the flag joined with some of the extra fields is, those belong to the flag.
std::optional<TPanelCommand> ParseCardInfo(TPanelCardId card, const TFields& fields)
{
    size_t count = fields.Count();
    if (count < 8)
        return std::nullopt;
    std::optional<int32_t> alpha = ReadPercent(fields[count - 2]);
    std::optional<int32_t> scale = ReadPercent(fields[count - 1]);
    if (!alpha || !scale)
        return std::nullopt;
    size_t extra = count - 8;
    size_t flagLast = 2;
    if (!EndsWithPictureExtension(fields[2])) {
        for (size_t k = 1; k <= extra; ++k) {
            if (EndsWithPictureExtension(fields.Span(2, 2 + k))) {
                flagLast = 2 + k;
                break;
            }
        }
    }
    TPanelCardInfoCommand command;
    command.Card = card;
    command.Display = SameText(Trim(fields[1]), u"True");
    command.FlagURL = PathOrEmpty(fields.Span(2, flagLast));
    command.IP = ClampText(fields[flagLast + 1]);
    command.CountryName = ClampText(fields[flagLast + 2]);
    command.City = ClampText(fields.Span(flagLast + 3, count - 3));
    command.Alpha = *alpha;
    command.Scale = *scale;
    return command;
}

std::optional<TPanelCommand> ParseCardLook(TPanelCardId card, const TFields& fields)
{
    if (fields.Count() != 3)
        return std::nullopt;
    std::optional<int32_t> alpha = ReadPercent(fields[1]);
    std::optional<int32_t> scale = ReadPercent(fields[2]);
    if (!alpha || !scale)
        return std::nullopt;
    return TPanelCardLookCommand{card, *alpha, *scale};
}

std::optional<TPanelCommand> ParseFade(const TFields& fields)
{
    if (fields.Count() != 4)
        return std::nullopt;
    std::optional<TPanelCardId> card = ReadCard(fields[1]);
    String direction = Trim(fields[2]);
    std::optional<int32_t> limit = ReadPercent(fields[3]);
    if (!card || !limit || !(SameText(direction, u"in") || SameText(direction, u"out")))
        return std::nullopt;
    return TPanelFadeCommand{*card, SameText(direction, u"in"), *limit};
}

// The colour is the last field; the text is everything between the name and the colour.
std::optional<TPanelCommand> ParseText(bool secondLine, const TFields& fields)
{
    size_t count = fields.Count();
    if (count < 3)
        return std::nullopt;
    std::optional<uint32_t> color = ReadColor(fields[count - 1]);
    if (!color)
        return std::nullopt;
    return TPanelTextCommand{secondLine, ClampText(fields.Span(1, count - 2)), *color};
}

// The path is everything after the first comma.
std::optional<TPanelCommand> ParsePicture(bool logo, const TFields& fields)
{
    if (fields.Count() < 2)
        return std::nullopt;
    return TPanelPictureCommand{logo, PathOrEmpty(fields.Span(1, fields.Count() - 1))};
}

std::optional<TPanelCommand> ParseTurn(const TFields& fields)
{
    if (fields.Count() != 2)
        return std::nullopt;
    std::optional<TPanelCardId> card = ReadCard(fields[1]);
    if (!card)
        return std::nullopt;
    return TPanelTurnCommand{*card};
}

} // namespace

std::optional<TPanelCommand> ParsePanelCommand(StringView text)
{
    if (text.size() > kPanelMaxCommandLength)
        return std::nullopt;
    TFields fields(text);
    String name = Trim(fields[0]);
    if (SameText(name, u"Fade"))
        return ParseFade(fields);
    if (SameText(name, u"Turn"))
        return ParseTurn(fields);
    if (SameText(name, u"Info_Text"))
        return ParseText(false, fields);
    if (SameText(name, u"Info_Text2"))
        return ParseText(true, fields);
    if (SameText(name, u"Background"))
        return ParsePicture(false, fields);
    if (SameText(name, u"Logo"))
        return ParsePicture(true, fields);
    if (std::optional<TPanelCardId> card = ReadCard(name))
        return ParseCardInfo(*card, fields);
    if (name.size() > 1 && UpCaseChar(name.back()) == u'A') {
        if (std::optional<TPanelCardId> card = ReadCard(StringView(name).substr(0, name.size() - 1)))
            return ParseCardLook(*card, fields);
    }
    return std::nullopt;
}

StringView PanelCardName(TPanelCardId card)
{
    return card == TPanelCardId::Target ? u"Target" : u"Local";
}

} // namespace vp
