#include "framework/rtl/Exceptions.h"

namespace vp {

namespace {

String WithReason(String text, StringView reason)
{
    if (!reason.empty()) {
        text += u": ";
        text += reason;
    }
    return text;
}

} // namespace

Exception::Exception(String message) : FMessage(std::move(message)), FUtf8(U16ToUtf8(FMessage))
{
}

EListError EListError::IndexOutOfBounds(int64_t index)
{
    return EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

EFOpenError::EFOpenError(StringView fileName, StringView reason)
    : EFileError(WithReason(u"Cannot open file \"" + String(fileName) + u"\"", reason))
{
}

EFCreateError::EFCreateError(StringView fileName, StringView reason)
    : EFileError(WithReason(u"Cannot create file \"" + String(fileName) + u"\"", reason))
{
}

EWriteError::EWriteError(StringView fileName, StringView reason)
    : EFileError(WithReason(u"Cannot write file \"" + String(fileName) + u"\"", reason))
{
}

} // namespace vp
