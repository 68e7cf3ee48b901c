#pragma once
// Colour text of the settings file: "0x" and six hexadecimal digits in red-green-blue
// order. In memory a colour is 0x00BBGGRR (red in the low byte), so the conversion
// reverses the digit pairs.
#include <cstddef>
#include <cstdint>

// Bytes the work buffer of ColourTextToValue needs for i_hex, its NUL included.
size_t ColourWorkSize(const char* i_hex);

// The value of a colour text. A leading "0x" (lower-case x only) is kept in front;
// the digits after it are copied into o_work (ColourWorkSize bytes) pair by pair
// from the last pair to the first, each pair in its own order, and the result is
// read as base 16 up to the first character that is no hexadecimal digit, saturating
// at the 32-bit range as the plug-in platform's strtol does.
// An odd number of digits leaves the first digit without a partner: it is read as
// if a '0' stood before it ("0xfff" reads as "0x0fff"), so nothing before the text
// or after its end is ever read.
int32_t ColourTextToValue(const char* i_hex, char* o_work);

// "0x" and six lower-case digits, red first; printf-style truncation to size bytes.
void ColourValueToText(uint32_t value, char* o_hex, size_t size);
