// Integer texts: the dialogs' TextToInt against a reference built on strtoull, and
// the preload read IniTextToInt against one built digit by digit.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>

#include "dialogs/dialog_rules.h"
#include "fuzz/fuzz_check.h"
#include "support/ini/ini_text.h"

namespace {

bool IsDigitOf(char c, int base)
{
    if (c >= '0' && c <= '9') return true;
    return base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// Blanks, one sign, "$" or "0x"/"0X" for base 16, then nothing but digits.
bool ReferenceTextToInt(const char* text, int* value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    int base = 10;
    if (*p == '$') { base = 16; ++p; }
    else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) { base = 16; p += 2; }
    if (*p == '\0') return false;
    for (const char* q = p; *q; ++q) {
        if (!IsDigitOf(*q, base)) return false;
    }
    errno = 0;
    unsigned long long magnitude = strtoull(p, nullptr, base);
    if (errno == ERANGE) return false;
    if (magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
    *value = negative ? static_cast<int>(-static_cast<long long>(magnitude)) : static_cast<int>(magnitude);
    return true;
}

// strtol's white space, one sign, decimal digits; saturates at the int range.
int ReferenceIniTextToInt(const char* text)
{
    const char* p = text;
    while (isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > 0x80000000ll) magnitude = 0x80000000ll;  // past both ends of the range
    }
    long long value = negative ? -magnitude : magnitude;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> text = ExactCString(data, size);

    int expected = 0x5EED, got = 0x5EED;
    bool expectedOk = ReferenceTextToInt(text.get(), &expected);
    FUZZ_CHECK(TextToInt(text.get(), &got) == expectedOk);
    FUZZ_CHECK(got == expected);  // untouched on a refusal

    FUZZ_CHECK(IniTextToInt(text.get()) == ReferenceIniTextToInt(text.get()));
    return 0;
}
