#pragma once
// The screen read back pixel by pixel, for tests that look at what was painted.
#include <windows.h>

#include <string>
#include <vector>

// Screen pixels of a rectangle, read with GetDC(NULL) + BitBlt into a 32-bpp DIB.
class ScreenPixels {
public:
    explicit ScreenPixels(const RECT& area);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;  // relative to the area's corner; CLR_INVALID outside
    bool Contains(COLORREF colour) const;
    bool operator==(const ScreenPixels& other) const { return m_bits == other.m_bits; }

private:
    int m_width;
    int m_height;
    std::vector<unsigned int> m_bits;
};

RECT WindowRect(HWND window);
inline std::string ColourText(COLORREF c)  // "rgb(r,g,b)"
{
    return "rgb(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}

// A 24-bit bitmap file of rows alike, one pixel per colour.
void WriteBitmapFile(const std::string& path, const std::vector<COLORREF>& row, int rows = 1);

// Pumps this thread's messages until what the thread painted is on the screen: no
// paint is owed and the area reads the same twice. False after the wait limit.
bool WaitForScreen(const RECT& area);
