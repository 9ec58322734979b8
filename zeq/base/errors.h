/// @file
/// The exception family and the one place that words component messages.
///
/// Every exception carries only its message. Units derive their own class from EZEQError
/// (declared with the unit) and raise it with the texts their routines document.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "zeq/base/export.h"

namespace zeq {

class TComponent;

/// Root of the library's exceptions; what() and Message() return the message.
class ZEQ_API Exception : public std::runtime_error {
 public:
  /// An exception with the message Msg.
  explicit Exception(const std::string& Msg) : std::runtime_error(Msg) {}
  /// The message, as what() gives it.
  std::string Message() const { return what(); }
};

/// Raised by the mathematical routines for arguments outside their domain.
class ZEQ_API EMathError : public Exception {
 public:
  using Exception::Exception;
};

/// Raised by Assign between incompatible classes and by failed conversions.
class ZEQ_API EConvertError : public Exception {
 public:
  using Exception::Exception;
};

/// Raised by streams and files that cannot be opened, read or written.
class ZEQ_API EInOutError : public Exception {
 public:
  using Exception::Exception;
};

/// Root of the classes of the library's units.
class ZEQ_API EZEQError : public Exception {
 public:
  using Exception::Exception;
};

/// Component "Name": Text
ZEQ_API std::string ComponentMessage(const TComponent* Component, std::string_view Text);
/// Component "Name.Method": Text
ZEQ_API std::string ComponentMessage(const TComponent* Component, std::string_view Method,
                                     std::string_view Text);

///@{
/// Raises E with the component's message; the usual way a method reports a failure.
template <class E>
[[noreturn]] void RaiseComponentError(const TComponent* Component, std::string_view Text) {
  throw E(ComponentMessage(Component, Text));
}
template <class E>
[[noreturn]] void RaiseComponentError(const TComponent* Component, std::string_view Method,
                                      std::string_view Text) {
  throw E(ComponentMessage(Component, Method, Text));
}
///@}

}  // namespace zeq
