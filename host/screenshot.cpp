#include "host/screenshot.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "host/message_pump.h"
#include "support/owners.h"

bool SaveScreenBitmap(const char* i_path)
{
    return SaveScreenBitmap(i_path, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

namespace {

// A rectangle of the screen as bottom-up 24-bit rows; empty when it cannot be read.
std::vector<unsigned char> ReadScreen(BITMAPINFOHEADER& o_info, int left, int top, int width, int height)
{
    o_info = {};
    o_info.biSize = sizeof o_info;
    o_info.biWidth = width;
    o_info.biHeight = height;  // bottom-up, as BMP files store rows
    o_info.biPlanes = 1;
    o_info.biBitCount = 24;
    o_info.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);

    WindowDc screen(nullptr);
    MemoryDc memory(screen.Get());
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    {
        Selection copy(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), left, top, SRCCOPY);
    }
    // Read once the bitmap is no longer selected, as GetDIBits requires.
    int rows = GetDIBits(memory.Get(), bitmap.Get(), 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&o_info),
                         DIB_RGB_COLORS);
    if (rows != height) pixels.clear();
    return pixels;
}

std::vector<unsigned char> ReadWholeScreen()
{
    BITMAPINFOHEADER info;
    return ReadScreen(info, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

}  // namespace

bool SaveScreenBitmap(const char* i_path, int left, int top, int width, int height)
{
    if (width <= 0 || height <= 0) return false;
    BITMAPINFOHEADER info;
    std::vector<unsigned char> pixels = ReadScreen(info, left, top, width, height);
    if (pixels.empty()) return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = fopen(i_path, "wb");
    if (out == nullptr) return false;
    bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
                   fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return fclose(out) == 0 && written;
}

bool WaitForSettledScreen(DWORD limitMs)
{
    const DWORD start = GetTickCount();
    std::vector<unsigned char> last;
    for (;;) {
        PumpPending();
        // Painting still owed by a window of this thread shows as QS_PAINT.
        if (HIWORD(GetQueueStatus(QS_PAINT)) == 0) {
            std::vector<unsigned char> now = ReadWholeScreen();
            if (!now.empty() && now == last) return true;
            last = std::move(now);
        }
        if (GetTickCount() - start >= limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
