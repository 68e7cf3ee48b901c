#include "support/colour_text.h"

#include <cstdlib>
#include <cstring>

#include "support/bounded_text.h"

static bool HasColourPrefix(const char* i_hex) { return i_hex[0] == '0' && i_hex[1] == 'x'; }

size_t ColourWorkSize(const char* i_hex)
{
    size_t length = strlen(i_hex);
    size_t digits = HasColourPrefix(i_hex) ? length - 2 : length;
    return length + 1 + (digits % 2);  // room for the '0' an odd text gains
}

int32_t ColourTextToValue(const char* i_hex, char* o_work)
{
    const bool prefixed = HasColourPrefix(i_hex);
    const char* digits = prefixed ? i_hex + 2 : i_hex;
    size_t rest = strlen(digits);
    char* out = o_work;
    if (prefixed) {
        *out++ = '0';
        *out++ = 'x';
    }
    for (; rest >= 2; rest -= 2) {
        *out++ = digits[rest - 2];
        *out++ = digits[rest - 1];
    }
    if (rest == 1) {
        *out++ = '0';
        *out++ = digits[0];
    }
    *out = '\0';
    // long long holds every 32-bit result whatever the width of long.
    long long value = strtoll(prefixed ? o_work + 2 : o_work, nullptr, 16);
    return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

void ColourValueToText(uint32_t value, char* o_hex, size_t size)
{
    uint32_t rgb = ((value & 0xffu) << 16) | (value & 0xff00u) | ((value >> 16) & 0xffu);
    FormatText(o_hex, size, "0x%06x", static_cast<unsigned>(rgb));
}
