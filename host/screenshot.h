#pragma once
// The whole screen, or a rectangle of it in screen coordinates, as a 24-bit BMP file,
// read with GetDC(NULL) + BitBlt.
bool SaveScreenBitmap(const char* i_path);
bool SaveScreenBitmap(const char* i_path, int left, int top, int width, int height);

// Pumps this thread's messages until no window of it owes a paint and the screen reads
// the same twice in a row; false when limitMs passed first.
bool WaitForSettledScreen(unsigned long limitMs);
