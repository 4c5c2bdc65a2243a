// platform/Exception.h -- the one exception family of the program
#pragma once

#include <exception>
#include <string>

namespace stellik {

// Every failure the user may see: a UTF-8 message, nothing else.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    const std::string& GetMessage() const noexcept { return Message; }

private:
    std::string Message;
};

// The runtime errors that keep their usual texts.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EListError : public Exception {
public:
    using Exception::Exception;
};

class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

[[noreturn]] void ThrowListIndexError(long long index); // "List index out of bounds (%d)"
[[noreturn]] void
ThrowInvalidInteger(const std::string& text); // "'%s' is not a valid integer value"
[[noreturn]] void ThrowResourceNotFound(const std::string& name); // "Resource %s not found"

} // namespace stellik
