#include "tests/common/screen.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "tests/common/wait.h"

ScreenPixels::ScreenPixels(const RECT& area)
    : m_width(area.right - area.left), m_height(area.bottom - area.top),
      m_bits(static_cast<size_t>(m_width > 0 ? m_width : 0) * (m_height > 0 ? m_height : 0))
{
    if (m_bits.empty()) return;
    // Copied into a top-down 32-bpp bitmap in a memory context compatible with the screen.
    BITMAPINFO info = {{sizeof info.bmiHeader, m_width, -m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, m_width, m_height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    memcpy(m_bits.data(), bits, m_bits.size() * 4);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF ScreenPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    unsigned int p = m_bits[static_cast<size_t>(y) * m_width + x];  // 0x00RRGGBB in a DIB
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool ScreenPixels::Contains(COLORREF colour) const
{
    unsigned int want = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    return std::any_of(m_bits.begin(), m_bits.end(), [want](unsigned int p) { return (p & 0xFFFFFF) == want; });
}

RECT WindowRect(HWND window)
{
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc;
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
