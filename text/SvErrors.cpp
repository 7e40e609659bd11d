#include "text/SvErrors.h"

namespace sv {

// Not inlined, so that the return address is the code that raised the error.
__attribute__((noinline)) ESvError::ESvError(const std::string& message)
    : std::runtime_error(message), FAddress(__builtin_return_address(0)) {}

} // namespace sv
