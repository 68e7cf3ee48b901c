#pragma once
// The whole screen, or a rectangle of it in screen coordinates, as a 24-bit BMP file,
// read with GetDC(NULL) + BitBlt.
bool SaveScreenBitmap(const char* i_path);
bool SaveScreenBitmap(const char* i_path, int left, int top, int width, int height);
