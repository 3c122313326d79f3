// Helpers that raise the runtime's exceptions with their exact messages.
#include "base/Exceptions.h"

#include "base/Format.h"

namespace base {

void ThrowListIndexError(int64_t index) {
    throw EListError(Format(kSListIndexError, {index}));
}

}  // namespace base
