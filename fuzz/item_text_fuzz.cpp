// Item and display text: ItemText on a host field with or without its terminator,
// then BuildDisplayText of that title.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "hint/hint_rules.h"
#include "support/lead_byte.h"

namespace {

// Where whole characters starting at byte 0 end, walking no further than n.
size_t WholeCharacters(const char* text, size_t n)
{
    size_t at = 0;
    while (at < n) {
        size_t step = IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
        if (at + step > n) break;
        at += step;
    }
    return at;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const int contents = data[0] & 1 ? 0 : data[0];
    // The field, exactly as big as the host's text, with no terminator after it.
    const size_t n = size - 1;
    std::unique_ptr<char[]> field(new char[n ? n : 1]);
    if (n) memcpy(field.get(), data + 1, n);

    std::string item = ItemText(field.get(), n);
    FUZZ_CHECK(item.size() <= n && item.compare(0, std::string::npos, field.get(), item.size()) == 0);
    const void* nul = n ? memchr(field.get(), '\0', n) : nullptr;
    if (nul) {
        FUZZ_CHECK(item.size() == static_cast<size_t>(static_cast<const char*>(nul) - field.get()));
    } else {
        FUZZ_CHECK(item.size() == WholeCharacters(field.get(), n));  // no half character at the end
        FUZZ_CHECK(item.size() + 1 >= n);                            // at most one byte dropped
    }

    std::unique_ptr<char[]> shown(new char[kHintTextSize]);
    BuildDisplayText(item, contents, *reinterpret_cast<char(*)[kHintTextSize]>(shown.get()));
    const size_t length = strnlen(shown.get(), kHintTextSize);
    FUZZ_CHECK(length < kHintTextSize);
    size_t expected = std::min(item.size(), kHintTextSize - 1);
    if (contents == 0 && !item.empty()) {
        expected = IsLeadByte(static_cast<unsigned char>(item[0])) && item.size() >= 2 ? 2 : 1;
    }
    FUZZ_CHECK(length == expected);  // an item text never holds a NUL
    FUZZ_CHECK(memcmp(shown.get(), item.data(), length) == 0);
    return 0;
}
