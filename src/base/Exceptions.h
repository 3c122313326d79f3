// The runtime's exception classes: every failure a user or a file can cause carries a message.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace base {

// Base of every exception the program raises; Message() is what the user sees.
class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that does not convert to the wanted number ("'x' is not a valid integer value").
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// Integer division by zero ("Division by zero").
class EDivByZero : public Exception {
  public:
    using Exception::Exception;
};

// Floating-point division of a non-zero value by zero ("Floating point division by zero").
class EZeroDivide : public Exception {
  public:
    using Exception::Exception;
};

// An invalid floating-point operation, such as 0/0 ("Invalid floating point operation").
class EInvalidOp : public Exception {
  public:
    using Exception::Exception;
};

// An index outside a list ("List index out of bounds (%d)").
class EListError : public Exception {
  public:
    using Exception::Exception;
};

// The message texts of the runtime, used wherever these errors are raised.
inline constexpr const char* kSDivByZero = "Division by zero";
inline constexpr const char* kSZeroDivide = "Floating point division by zero";
inline constexpr const char* kSInvalidOp = "Invalid floating point operation";
inline constexpr const char* kSInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* kSInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* kSListIndexError = "List index out of bounds (%d)";

// Raises EListError for an index outside a list.
[[noreturn]] void ThrowListIndexError(int64_t index);

}  // namespace base
