#pragma once

// GCC 12 reports overlapping copies (-Wrestrict) inside std::string where, after inlining, a
// one-character literal is assigned to a string or a literal is put in front of a temporary
// string ("'" + text). The copies cannot overlap: the warning is a known false positive of that
// compiler version, fixed in later ones. These bracket the functions that trip it, and silence
// that one warning there, for GCC 12 only.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#define ZZ_GCC12_FALSE_RESTRICT_BEGIN                                                              \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define ZZ_GCC12_FALSE_RESTRICT_END _Pragma("GCC diagnostic pop")
#else
#define ZZ_GCC12_FALSE_RESTRICT_BEGIN
#define ZZ_GCC12_FALSE_RESTRICT_END
#endif
