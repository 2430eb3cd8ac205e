#pragma once

// Known false positives of the compilers the program is built with, each
// silenced only around the lines that trigger it.
//
// g++ 12 at -O3 warns of overlapping copies (-Wrestrict) inside std::string
// when a short text is put before a number ("D" + std::to_string(i), or an
// insert at position 0). The copies cannot overlap; it is the compiler's
// bug 105329, fixed in later versions.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#define STRING_CONCAT_RESTRICT_BEGIN                                                              \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define STRING_CONCAT_RESTRICT_END _Pragma("GCC diagnostic pop")
#else
#define STRING_CONCAT_RESTRICT_BEGIN
#define STRING_CONCAT_RESTRICT_END
#endif
