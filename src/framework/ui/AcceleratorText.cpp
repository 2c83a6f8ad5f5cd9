#include "framework/ui/AcceleratorText.h"

namespace vp {

char16_t AcceleratorChar(StringView caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return UpCaseChar(caption[i + 1]);
        ++i; // "&&" is a plain "&"
    }
    return 0;
}

String StripAccelerators(StringView caption)
{
    String text;
    text.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 == caption.size())
                break; // a trailing "&" marks nothing
            ++i;
        }
        text += caption[i];
    }
    return text;
}

} // namespace vp
