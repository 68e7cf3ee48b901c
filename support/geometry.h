#pragma once
// Screen geometry in plain integers, so the rules that compute it build without
// windows.h (natively too, for the sanitizers and the fuzzers).

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
