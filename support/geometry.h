#pragma once
// Screen geometry in plain integers, so the rules that compute it build without
// windows.h (natively too, for the sanitizers and the fuzzers).
#include <climits>

struct pixel_size_t {
    int cx;
    int cy;
};

struct pixel_point_t {
    int x;
    int y;
};

struct pixel_rect_t {
    int left;
    int top;
    int right;
    int bottom;
};

// Results are worked out in 64 bits and brought back into int range, so extreme
// rectangles and sizes saturate instead of overflowing.
inline int ClampToInt(long long value)
{
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}
