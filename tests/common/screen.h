#pragma once
// The screen read back pixel by pixel, for tests that look at what was painted.
#include <windows.h>

#include <string>
#include <vector>

// A top-down 32-bpp bitmap of w x h selected into a memory context compatible with the screen.
class Dib32 {
public:
    Dib32(int w, int h);
    ~Dib32();
    Dib32(const Dib32&) = delete;
    Dib32& operator=(const Dib32&) = delete;
    HDC Dc() const { return m_dc; }
    const unsigned int* Bits() const { return static_cast<const unsigned int*>(m_bits); }

private:
    HDC m_dc;
    HBITMAP m_dib;
    HGDIOBJ m_old;
    void* m_bits = nullptr;
};

// Screen pixels of a rectangle, read with GetDC(NULL) + BitBlt into a 32-bpp DIB.
class ScreenPixels {
public:
    explicit ScreenPixels(const RECT& area);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;  // relative to the area's corner; CLR_INVALID outside
    bool Contains(COLORREF colour) const;
    bool operator==(const ScreenPixels& other) const { return m_bits == other.m_bits; }
    bool operator!=(const ScreenPixels& other) const { return !(*this == other); }

private:
    int m_width;
    int m_height;
    std::vector<unsigned int> m_bits;
};

RECT WindowRect(HWND window);
std::string ColourText(COLORREF c);

// Pumps this thread's messages until what the thread painted is on the screen: no
// paint is owed and the area reads the same twice. False after the wait limit.
bool WaitForScreen(const RECT& area);
