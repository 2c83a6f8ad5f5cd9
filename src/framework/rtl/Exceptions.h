// The program's error types. Every error carries a text that the general error report shows.
#pragma once

#include "framework/rtl/RtlText.h"

#include <exception>

namespace vp {

class Exception : public std::exception {
public:
    explicit Exception(String message);
    const String& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    String FMessage;
    std::string FUtf8;
};

// A list was asked for an index it does not hold.
class EListError : public Exception {
public:
    EListError(String message) : Exception(std::move(message)) { }
    static EListError IndexOutOfBounds(int64_t index);
};

// A file could not be opened, created, read or written.
class EFileError : public Exception {
public:
    using Exception::Exception;
};
class EFOpenError : public EFileError {
public:
    explicit EFOpenError(StringView fileName, StringView reason = {});
};
class EFCreateError : public EFileError {
public:
    explicit EFCreateError(StringView fileName, StringView reason = {});
};
class EWriteError : public EFileError {
public:
    explicit EWriteError(StringView fileName, StringView reason = {});
};

// A value was of another kind than the caller expected.
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};

} // namespace vp
