// The integer read of preload mode, the same on every platform.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/ini/ini_text.h"

TEST(IniTextToInt, DecimalPrefixOfTheValueSaturatingAtTheIntRange)
{
    const struct { const char* text; int value; } cases[] = {
        {"0", 0}, {"120", 120}, {"-12xy", -12}, {"  -12xy", -12}, {"\t+7", 7}, {"1 2", 1},
        {"", 0}, {"abc", 0}, {"-", 0}, {"0x10", 0} /* decimal only */, {"$10", 0},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX}, {"-2147483649", INT_MIN}, {"99999999999999999999999", INT_MAX},
        {"4294967297", INT_MAX} /* never wraps round to 1 */,
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, IniTextToInt(c.text)) << "'" << c.text << "'";
}
