/// @file
/// ZEQ_API marks the library's public names. The library is compiled with hidden visibility,
/// so that the shared library exports these names and nothing else (its internal helpers,
/// private namespaces and the standard library instantiations it uses stay inside).
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define ZEQ_API __attribute__((visibility("default")))
#else
#define ZEQ_API
#endif
