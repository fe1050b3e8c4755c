#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The root of every error the calculator raises; what() is the text shown to the user.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string &message) : std::runtime_error(message) {}
};

// A field's text that does not convert to the number it should hold.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EInvalidOp : public Exception {
public:
    EInvalidOp() : Exception("Invalid floating point operation") {}
};

class EZeroDivide : public Exception {
public:
    EZeroDivide() : Exception("Floating point division by zero") {}
};

class EOverflow : public Exception {
public:
    EOverflow() : Exception("Floating point overflow") {}
};

} // namespace platform
