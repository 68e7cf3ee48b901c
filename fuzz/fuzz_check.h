#pragma once
// Shared by the fuzz targets: properties abort the run when they fail, and inputs
// sit in heap blocks of their exact size, so AddressSanitizer sees any byte read
// past them.
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            fprintf(stderr, "property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);   \
            abort();                                                                       \
        }                                                                                  \
    } while (0)

// The bytes and a terminating NUL, nothing more.
inline std::unique_ptr<char[]> ExactCString(const void* data, size_t size)
{
    std::unique_ptr<char[]> text(new char[size + 1]);
    if (size) memcpy(text.get(), data, size);
    text[size] = '\0';
    return text;
}
