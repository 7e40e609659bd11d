// The library's error types. Every error carries a message text; the type name
// is what the uncaught-error report prints.
#pragma once

#include <stdexcept>
#include <string>

namespace sv {

// The general error of the library ("Invalid language offset", "Unknown code page" ...).
class ESvError : public std::runtime_error {
public:
  explicit ESvError(const std::string& message);
  virtual const char* TypeName() const noexcept { return "ESvError"; }
  // Code address of the function that raised the error, for the error report.
  const void* Address() const noexcept { return FAddress; }

private:
  const void* FAddress;
};

#define SV_DECLARE_ERROR(Name, Base)                                                               \
  class Name : public Base {                                                                       \
  public:                                                                                          \
    using Base::Base;                                                                              \
    const char* TypeName() const noexcept override { return #Name; }                               \
  }

// An index outside a list ("Out of string list range").
SV_DECLARE_ERROR(ESvRangeError, ESvError);
// An object of the wrong class handed to Assign, CopyFrom and the like.
SV_DECLARE_ERROR(ESvInvalidCast, ESvError);
// Text that does not convert to a number.
SV_DECLARE_ERROR(ESvConvertError, ESvError);
// A stream that cannot be opened, read or positioned.
SV_DECLARE_ERROR(ESvStreamError, ESvError);
// Malformed XML text, with line and column in the message.
SV_DECLARE_ERROR(ESvXmlError, ESvError);
// A failed assertion of the library's own invariants.
SV_DECLARE_ERROR(ESvAssertionError, ESvError);
// A call of an operation that the object's class leaves to its descendants.
SV_DECLARE_ERROR(ESvAbstractError, ESvError);

// The message of ESvInvalidCast.
inline constexpr const char* kInvalidCastMessage = "Invalid class typecast";
// The message of ESvAbstractError.
inline constexpr const char* kAbstractErrorMessage = "Abstract Error";

} // namespace sv
