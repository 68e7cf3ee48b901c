#include "hint/title_rules.h"

#include <algorithm>

#include "hint/hint_rules.h"  // kHintTextSize

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// One code point from `at`: a whole pair, or one unit (a lone half too).
size_t CodePointUnits(const std::u16string& text, size_t at)
{
    return IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

// VS1-VS16, and VS17-VS256 (U+E0100-U+E01EF, a pair: DB40 DD00-DDEF).
size_t VariationSelectorUnits(const std::u16string& text, size_t at)
{
    if (at >= text.size()) return 0;
    if (text[at] >= 0xFE00 && text[at] <= 0xFE0F) return 1;
    bool supplement = text[at] == 0xDB40 && at + 1 < text.size() && text[at + 1] >= 0xDD00 && text[at + 1] <= 0xDDEF;
    return supplement ? 2 : 0;
}

}  // namespace

bool TitleStandsForItem(const std::string& i_item, const std::string& i_titleInAnsi, bool titleLost)
{
    if (!titleLost || i_item.find('?') == std::string::npos) return false;
    return i_titleInAnsi.compare(0, i_item.size(), i_item) == 0;
}

size_t FirstCharacterUnits(const std::u16string& i_text)
{
    if (i_text.empty()) return 0;
    size_t n = CodePointUnits(i_text, 0);
    return n + VariationSelectorUnits(i_text, n);
}

std::u16string WideDisplayText(const std::u16string& i_title, int contents)
{
    if (contents == 0) return i_title.substr(0, FirstCharacterUnits(i_title));
    size_t n = std::min(i_title.size(), kHintTextSize - 1);
    // A pair cut at the end would draw as a box.
    if (n < i_title.size() && IsHighSurrogate(i_title[n - 1])) --n;
    return i_title.substr(0, n);
}
