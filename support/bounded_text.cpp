#include "support/bounded_text.h"

#include <cstdio>
#include <cstring>

void CopyText(char* o_dst, size_t size, const char* i_src)
{
    if (o_dst == nullptr || size == 0) return;
    size_t n = i_src ? strnlen(i_src, size - 1) : 0;
    if (n) memcpy(o_dst, i_src, n);
    o_dst[n] = '\0';
}

void FormatTextV(char* o_dst, size_t size, const char* format, va_list args)
{
    if (o_dst == nullptr || size == 0) return;
    vsnprintf(o_dst, size, format, args);
    o_dst[size - 1] = '\0';
}

void FormatText(char* o_dst, size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatTextV(o_dst, size, format, args);
    va_end(args);
}
