#pragma once
// Conversions between the plain geometry of the rules and Win32's.
#include <windows.h>

#include "support/geometry.h"

inline pixel_rect_t ToPixelRect(const RECT& r) { return pixel_rect_t{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const pixel_rect_t& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline pixel_size_t ToPixelSize(const SIZE& s) { return pixel_size_t{s.cx, s.cy}; }
inline POINT ToPoint(const pixel_point_t& p) { return POINT{p.x, p.y}; }
