#include "host/sample_windows.h"

#include <cstring>

#include "support/owners.h"

namespace {

const char kSampleClass[] = "ZlvnHostSample";
constexpr int kTitleBarHeight = 24;
constexpr int kTitleLeft = 60;  // room for a hint at the corner (position mode 0)

struct sample_t {
    const char* title;
    const char* icon;  // a system icon
    COLORREF colour;
    RECT rect;
};

// Titles in the host's code page; the first starts with a double-byte character.
const sample_t kSamples[] = {
    {"表計算 - 予算.xls", IDI_APPLICATION, RGB(70, 110, 160), {60, 80, 520, 380}},
    {"Memo - notes.txt", IDI_INFORMATION, RGB(90, 140, 90), {600, 60, 1040, 330}},
    {"Terminal", IDI_WARNING, RGB(60, 60, 60), {320, 420, 760, 720}},
    {"Browser - start page", IDI_QUESTION, RGB(150, 90, 60), {820, 400, 1220, 700}},
};

// Caption-less windows draw their own title bar: under a bare X server no window
// manager draws one, and Wine then waits for none when they close.
void PaintSample(HWND hwnd)
{
    PaintDc paint(hwnd);
    HDC dc = paint.Get();
    RECT client;
    GetClientRect(hwnd, &client);
    auto colour = static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    GdiObject<HBRUSH> body(CreateSolidBrush(RGB(236, 236, 236)));
    FillRect(dc, &client, body.Get());
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    const int length = static_cast<int>(strlen(title));
    // The bar grows with the system font, whose height follows the screen's DPI.
    SIZE text = {};
    GetTextExtentPoint32A(dc, title, length, &text);
    RECT bar = {0, 0, client.right, text.cy + 10 > kTitleBarHeight ? text.cy + 10 : kTitleBarHeight};
    GdiObject<HBRUSH> barBrush(CreateSolidBrush(colour));
    FillRect(dc, &bar, barBrush.Get());
    auto icon = reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0));
    if (icon) DrawIconEx(dc, kTitleLeft, (bar.bottom - 16) / 2, icon, 16, 16, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, kTitleLeft + 22, (bar.bottom - text.cy) / 2, title, length);
}

LRESULT CALLBACK SampleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PaintSample(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

std::vector<HWND> MakeSampleWindows()
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SampleProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kSampleClass;
    RegisterClassExA(&wc);

    std::vector<HWND> windows;
    for (const sample_t& s : kSamples) {
        // An application window: under a window manager Wine lets the manager stack it
        // with the host's windows instead of keeping it above them all.
        HWND hwnd = CreateWindowExA(WS_EX_APPWINDOW, kSampleClass, s.title, WS_POPUP | WS_BORDER, s.rect.left, s.rect.top,
                                    s.rect.right - s.rect.left, s.rect.bottom - s.rect.top, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        if (hwnd == nullptr) continue;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(s.colour));
        SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconA(nullptr, s.icon)));
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
        windows.push_back(hwnd);
    }
    return windows;
}

void DestroySampleWindows(std::vector<HWND>& windows)
{
    for (HWND hwnd : windows) DestroyWindow(hwnd);
    windows.clear();
}
