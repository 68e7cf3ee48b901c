#pragma once
// When a hint shows its window's own (UTF-16) title instead of the host's item text, and
// what of it: plain rules, with no window in sight.
#include <string>

// Whether the title stands for the item text the host made of it: the item text holds
// a '?' (what the conversion to the ANSI code page writes for a character that code
// page cannot hold), the title lost characters on that way (`titleLost`), and the title
// so converted is the item text, or begins with it (the host cuts long texts).
bool TitleStandsForItem(const std::string& i_item, const std::string& i_titleInAnsi, bool titleLost);

// The length in UTF-16 units of the first character: a surrogate pair is one
// character, and a variation selector right after it belongs to it.
size_t FirstCharacterUnits(const std::u16string& i_text);

// The title as a hint shows it: its first character when contents is 0, else all of it,
// cut to 1023 units (never between the two halves of a pair).
std::u16string WideDisplayText(const std::u16string& i_title, int contents);
