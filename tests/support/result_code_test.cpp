// The table of result codes, byte for byte.
#include <gtest/gtest.h>

#include <cstring>

#include "support/result_code.h"

TEST(ResultCodeTable, RowsInOrderWithTheirTexts)
{
    const struct { int code; const char* text; } expected[] = {
        {0, "normal"}, {-1, "invalid argument"}, {-3, "failed allocate memory"}, {-4, "C library returns error"},
        {-5, "WindowsAPI returns error"}, {-7, "flow error. ex. init() does not call yet."},
        {-8, "no exist."}, {-9999, ""},
    };
    static_assert(sizeof(result_code_row_t) == 68, "row: 32-bit code and a 64-byte text");
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
        EXPECT_EQ(expected[i].code, kResultCodeTable[i].code) << "row " << i;
        char padded[64] = {};
        strcpy(padded, expected[i].text);
        EXPECT_EQ(0, memcmp(padded, kResultCodeTable[i].text, 64)) << "row " << i << " text is NUL-padded";
    }
    for (const result_code_row_t* row = kResultCodeTable; row->code != ResultCode::EndOfTable; ++row)
        EXPECT_NE(ResultCode::WrongState, row->code) << "-10 has no row";
    EXPECT_EQ(-10, ResultCode(ResultCode::WrongState));
}
