#include "tests/common/screen.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "support/owners.h"
#include "tests/common/temp_dir.h"
#include "tests/common/wait.h"

ScreenPixels::ScreenPixels(const RECT& area)
    : m_width(area.right - area.left), m_height(area.bottom - area.top),
      m_bits(static_cast<size_t>(m_width > 0 ? m_width : 0) * (m_height > 0 ? m_height : 0))
{
    if (m_bits.empty()) return;
    // Copied into a top-down 32-bpp bitmap in a memory context compatible with the screen.
    BITMAPINFO info = {{sizeof info.bmiHeader, m_width, -m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    WindowDc screen(nullptr);
    MemoryDc memory(screen.Get());
    void* bits = nullptr;
    GdiObject<HBITMAP> dib(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Selection selected(memory.Get(), dib.Get());
    BitBlt(memory.Get(), 0, 0, m_width, m_height, screen.Get(), area.left, area.top, SRCCOPY);
    GdiFlush();
    memcpy(m_bits.data(), bits, m_bits.size() * 4);
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

void WriteBitmapFile(const std::string& path, const std::vector<COLORREF>& row, int rows)
{
    const LONG width = static_cast<LONG>(row.size()), stride = (width * 3 + 3) & ~3;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file = {0x4D42, offset + stride * rows, 0, 0, offset};
    BITMAPINFOHEADER info = {sizeof info, width, rows, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<char*>(&info), sizeof info);
    std::string line;
    for (COLORREF c : row) line += {char(GetBValue(c)), char(GetGValue(c)), char(GetRValue(c))};
    line.resize(stride, '\0');
    for (int i = 0; i < rows; ++i) bytes += line;
    WriteWholeFile(path, bytes);
}
