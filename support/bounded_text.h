#pragma once
// Fixed-size text fields are filled only through these helpers: the result is
// always NUL-terminated and an over-long value is cut to one byte less than the field.
#include <cstdarg>
#include <cstddef>

// MinGW checks formats against its GNU printf; clang natively knows plain printf only.
#ifdef __MINGW32__
#define ZLVN_PRINTF_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define ZLVN_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#endif

void CopyText(char* o_dst, size_t size, const char* i_src);
void FormatText(char* o_dst, size_t size, const char* format, ...) ZLVN_PRINTF_FORMAT(3, 4);
void FormatTextV(char* o_dst, size_t size, const char* format, va_list args);

template <size_t N>
void CopyText(char (&o_dst)[N], const char* i_src) { CopyText(o_dst, N, i_src); }
