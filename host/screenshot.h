#pragma once
// The whole screen as a 24-bit BMP file, read with GetDC(NULL) + BitBlt.
bool SaveScreenBitmap(const char* i_path);
