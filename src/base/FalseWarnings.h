// Switching off, around one function, a compiler warning known to be false there.
#pragma once

// GCC 12 at -O3 raises -Wrestrict inside std::string's inlined copies where a short literal is
// assigned or prepended ("0", "w" + std::to_string(...)): an impossible overlap on an optimised
// path, a known fault of that compiler. With -Werror it stops the Release build. Put
// KEYVET_FALSE_RESTRICT_BEGIN before the function the warning names and KEYVET_FALSE_RESTRICT_END
// after it; other compilers are not affected.
#if defined(__GNUC__) && !defined(__clang__)
#define KEYVET_FALSE_RESTRICT_BEGIN \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define KEYVET_FALSE_RESTRICT_END _Pragma("GCC diagnostic pop")
#else
#define KEYVET_FALSE_RESTRICT_BEGIN
#define KEYVET_FALSE_RESTRICT_END
#endif
