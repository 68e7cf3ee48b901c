// Colour text both ways: every value survives value -> text -> value; any text
// converts without a byte touched outside it or its work buffer, and gives what
// the pairwise reversal read as base 16 gives.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "support/colour_text.h"

namespace {

int32_t Convert(const char* text)
{
    std::unique_ptr<char[]> work(new char[ColourWorkSize(text)]);
    return ColourTextToValue(text, work.get());
}

// The rule once more, on whole strings: an odd digit count gains a '0' in front,
// pairs are reversed, strtoll reads base 16 and the 32-bit range bounds it.
int32_t Reference(const std::string& text)
{
    bool prefixed = text.size() >= 2 && text[0] == '0' && text[1] == 'x';
    std::string digits = prefixed ? text.substr(2) : text;
    if (digits.size() % 2) digits.insert(0, "0");
    std::string reversed;
    for (size_t i = digits.size(); i >= 2; i -= 2) reversed += digits.substr(i - 2, 2);
    long long value = strtoll(reversed.c_str(), nullptr, 16);
    if (value < INT32_MIN) return INT32_MIN;
    if (value > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= 4) {
        uint32_t value;
        memcpy(&value, data, 4);
        char text[9];
        ColourValueToText(value, text, sizeof text);
        FUZZ_CHECK(strlen(text) == 8 && text[0] == '0' && text[1] == 'x');
        for (int i = 2; i < 8; ++i) FUZZ_CHECK((text[i] >= '0' && text[i] <= '9') || (text[i] >= 'a' && text[i] <= 'f'));
        FUZZ_CHECK(static_cast<uint32_t>(Convert(text)) == (value & 0xffffffu));

        // Any smaller field holds the same text cut, always terminated.
        size_t field = data[0] % 10;
        std::unique_ptr<char[]> cut(new char[field ? field : 1]);
        ColourValueToText(value, cut.get(), field);
        if (field) FUZZ_CHECK(strlen(cut.get()) == field - 1 && memcmp(cut.get(), text, field - 1) == 0);
    }

    std::unique_ptr<char[]> text = ExactCString(data, size);
    FUZZ_CHECK(Convert(text.get()) == Reference(text.get()));
    return 0;
}
