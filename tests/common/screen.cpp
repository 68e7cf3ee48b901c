#include "tests/common/screen.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "tests/common/wait.h"

Dib32::Dib32(int w, int h)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    m_dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    m_old = SelectObject(m_dc, m_dib);
}

Dib32::~Dib32()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_dib);
    DeleteDC(m_dc);
}

ScreenPixels::ScreenPixels(const RECT& area)
    : m_width(area.right - area.left), m_height(area.bottom - area.top),
      m_bits(static_cast<size_t>(m_width > 0 ? m_width : 0) * (m_height > 0 ? m_height : 0))
{
    if (m_bits.empty()) return;
    Dib32 dib(m_width, m_height);
    HDC screen = GetDC(nullptr);
    BitBlt(dib.Dc(), 0, 0, m_width, m_height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    memcpy(m_bits.data(), dib.Bits(), m_bits.size() * 4);
}

COLORREF ScreenPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    unsigned int p = m_bits[static_cast<size_t>(y) * m_width + x];  // 0x00RRGGBB in a DIB
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool ScreenPixels::Contains(COLORREF colour) const
{
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (At(x, y) == colour) return true;
    return false;
}

RECT WindowRect(HWND window)
{
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc;
}

std::string ColourText(COLORREF c)
{
    char text[32];
    snprintf(text, sizeof text, "rgb(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

bool WaitForScreen(const RECT& area)
{
    std::unique_ptr<ScreenPixels> last;
    return PumpUntil([&] {
        // Painting still owed by a window of this thread shows as QS_PAINT.
        if (HIWORD(GetQueueStatus(QS_PAINT)) != 0) return false;
        auto now = std::make_unique<ScreenPixels>(area);
        bool same = last && *last == *now;
        last = std::move(now);
        return same;
    });
}
