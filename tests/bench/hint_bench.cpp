// hint_bench: how long showing, refreshing and hiding N hints take beside the platform
// floor, the cost of the no-overlap pass, and the memory a hint takes. It plays the
// host (exports the host functions) and links the overlay directly. Prints a table;
// with --pass, only the no-overlap figures.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "hint/hint_rules.h"
#include "hint/hint_set.h"
#include "hint/hint_font.h"
#include "hint/hint_wnd.h"
#include "hint/hint_wnd_mgr.h"
#include "host/zlvn_host.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/module_state.h"
#include "support/bounded_text.h"
#include "tests/common/default_settings.h"
#include "tests/common/plugin_dll.h"
#include "tests/common/target_window.h"
#include "tests/common/thread_window.h"
#include "tests/common/wait.h"

// Live bytes taken through operator new: the overlay's own records, nodes and texts.
static std::atomic<long long> g_liveBytes{0};

void* operator new(size_t size)
{
    void* p = malloc(size + 8);
    if (p == nullptr) throw std::bad_alloc();
    *static_cast<size_t*>(p) = size;
    g_liveBytes += static_cast<long long>(size);
    return static_cast<char*>(p) + 8;
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    try { return operator new(size); } catch (...) { return nullptr; }
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return operator new(size, std::nothrow); }
void operator delete(void* p) noexcept
{
    if (p == nullptr) return;
    char* block = static_cast<char*>(p) - 8;
    g_liveBytes -= static_cast<long long>(*reinterpret_cast<size_t*>(block));
    free(block);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

namespace {

constexpr int kRepeats = 7;
// Hide and show again several times per run: under Wine the first re-showing after
// the windows were made can take half as long as the later ones, for hints and bare
// popups alike, so one sample each would compare unlike states.
constexpr int kCycles = 3;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double TimeMs(const std::function<void()>& work)
{
    double start = Now();
    work();
    return Now() - start;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Between timed steps: messages handled, and the X server given time to catch up.
void Pump()
{
    for (int i = 0; i < 3; ++i) {
        PumpPending();
        Sleep(10);
    }
}

// Committed private memory of the process, summed over its address space (Wine does
// not keep the private-bytes counter up to date).
size_t PrivateBytes()
{
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (char* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;
         p = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        if (static_cast<char*>(info.BaseAddress) + info.RegionSize < p) break;
    }
    return total;
}

// ---- listed windows ----

std::vector<HWND> MakeTargets(int n)
{
    // A grid that keeps hints apart: 20 columns of 64 pixels, rows of 80.
    std::vector<HWND> targets;
    static const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    for (int i = 0; i < n; ++i) {
        int x = (i % 20) * 64;
        int y = (i / 20) * 80;
        char title[32];
        FormatText(title, sizeof title, "Window %d", i);
        targets.push_back(MakeTarget(RECT{x, y, x + 60, y + 70}, title, icon));
    }
    Pump();
    zlvnhost::Host().list.clear();
    for (int i = 0; i < n; ++i) {
        char text[32];
        FormatText(text, sizeof text, "%c%d", 'A' + i % 26, i);
        zlvnhost::AddListItem(targets[i], text);
    }
    return targets;
}

// ---- the floor: bare popups with the same window and drawing calls, made and shown
// in the same order (Wine's cost of showing a window depends on its place in the z-order) ----

struct floor_popup_t {
    HWND hwnd;
    char classname[32];
    RECT rect;
    bool shaped;  // its window region is set, as a hint sets one when its size changes
};

void FloorReshow(std::vector<floor_popup_t>& popups);

// The background bitmap file the floor paints, as a hint with IsUseBmp does; null: the box.
const char* g_floorBitmap = nullptr;

// The bitmap file read and stretched over the client area, at every paint.
void FloorBitmap(HDC dc, const RECT& c)
{
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, g_floorBitmap, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    StretchBlt(dc, 0, 0, c.right, c.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

void FloorBox(HDC dc, const RECT& c)
{
    HBRUSH fill = CreateSolidBrush(HintSettings.NmlBgColor);
    HBRUSH border = CreateSolidBrush(HintSettings.NmlBorderColor);
    HRGN shape = CreateRoundRectRgn(0, 0, c.right + 1, c.bottom + 1, 5, 5);
    FillRgn(dc, shape, fill);
    FrameRgn(dc, shape, border, 1, 1);
    DeleteObject(shape);
    DeleteObject(fill);
    DeleteObject(border);
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) return DefWindowProcA(hwnd, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT c;
    GetClientRect(hwnd, &c);
    if (g_floorBitmap) FloorBitmap(dc, c);
    else FloorBox(dc, c);
    static const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);  // a hint holds its icon too
    DrawIconEx(dc, 5, (c.bottom - 16) / 2, icon, 16, 16, 0, nullptr, DI_NORMAL);
    GdiObject<HFONT> font = MakeHintFont(dc);
    HGDIOBJ oldFont = SelectObject(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 23, 5, "A", 1);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &paint);
    return 0;
}

// Made in `rects` order (the host's list order, as hints are made), shown in `order`
// (the hints' placement order, left edge first); an empty order is the making order.
std::vector<floor_popup_t> FloorCreateAndShow(const std::vector<RECT>& rects, std::vector<size_t> order = {})
{
    std::vector<floor_popup_t> popups(rects.size());
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (size_t i = 0; i < rects.size(); ++i) {
        floor_popup_t& p = popups[i];
        p.rect = rects[i];
        FormatText(p.classname, sizeof p.classname, "floor%u", static_cast<unsigned>(i));
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = FloorProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = p.classname;
        RegisterClassExA(&wc);
        // Made where a hint is made: 10 x 10 at the work area's corner.
        p.hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, p.classname, "A", WS_POPUP, work.left, work.top,
                                 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    if (order.empty()) {
        for (size_t i = 0; i < popups.size(); ++i) order.push_back(i);
    }
    std::vector<floor_popup_t> shown;
    for (size_t i : order) shown.push_back(popups[i]);
    FloorReshow(shown);
    return shown;
}

void FloorReshow(std::vector<floor_popup_t>& popups)
{
    for (floor_popup_t& p : popups) {
        // A hint measures its text on a device context of its popup before it moves it.
        ReleaseDC(p.hwnd, GetDC(p.hwnd));
        int w = p.rect.right - p.rect.left;
        int h = p.rect.bottom - p.rect.top;
        if (!p.shaped) p.shaped = SetWindowRgn(p.hwnd, CreateRoundRectRgn(0, 0, w + 1, h + 1, 5, 5), FALSE) != 0;
        SetWindowPos(p.hwnd, HWND_TOPMOST, p.rect.left, p.rect.top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ShowWindow(p.hwnd, SW_SHOWNOACTIVATE);
        InvalidateRect(p.hwnd, nullptr, FALSE);
        UpdateWindow(p.hwnd);
    }
}

void FloorHide(std::vector<floor_popup_t>& popups)
{
    for (floor_popup_t& p : popups) ShowWindow(p.hwnd, SW_HIDE);
}

void FloorDestroy(std::vector<floor_popup_t>& popups)
{
    for (floor_popup_t& p : popups) {
        DestroyWindow(p.hwnd);
        UnregisterClassA(p.classname, GetModuleHandleA(nullptr));
    }
    popups.clear();
}

struct row_t {
    int n;
    const char* step;
    double hints;
    double floor;
    const char* target;
};

// The shown hints' rectangles in the host's list order (moved down by `below`), and the
// indexes of that list in the hints' own order.
void HintLayout(std::vector<RECT>& rects, std::vector<size_t>& order, int below = 0)
{
    rects.clear();
    order.clear();
    const std::vector<ZlvnList>& list = zlvnhost::Host().list;
    for (const ZlvnList& item : list) {
        const HintWnd* hint = g_hintWndMgr->FindByTarget(item.hwnd);
        rects.push_back(RECT{hint->m_left, hint->m_top + below, hint->m_left + hint->m_width,
                             hint->m_top + below + hint->m_height});
    }
    for (HintWnd* hint : g_hintWndMgr->List()) {
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].hwnd == hint->m_target) order.push_back(i);
    }
}

void PrintRow(const row_t& r)
{
    printf("%5d  %-14s %10.2f %10.2f %8.2fx  %s\n", r.n, r.step, r.hints, r.floor, r.hints / r.floor, r.target);
}

void RunSize(int n, bool print)
{
    std::vector<HWND> targets = MakeTargets(n);
    std::vector<double> first, refresh, hide, floorFirst, floorRefresh, floorHide;
    std::vector<RECT> rects;
    std::vector<size_t> order;
    auto overlay = [&] {
        first.push_back(TimeMs([] { ShowHints(); }));
        HintLayout(rects, order);
        Pump();
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            hide.push_back(TimeMs([] { HideHints(); }));
            Pump();
            refresh.push_back(TimeMs([] { ShowHints(); }));
            Pump();
        }
        HideHints();
        DestroyHintWndMgr();
        Pump();
    };
    // The floor, at the very rectangles the hints took.
    auto bare = [&] {
        std::vector<floor_popup_t> popups;
        floorFirst.push_back(TimeMs([&] { popups = FloorCreateAndShow(rects, order); }));
        Pump();
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            floorHide.push_back(TimeMs([&] { FloorHide(popups); }));
            Pump();
            floorRefresh.push_back(TimeMs([&] { FloorReshow(popups); }));
            Pump();
        }
        FloorHide(popups);
        FloorDestroy(popups);
        Pump();
    };
    overlay();  // the rectangles for the floor
    first.clear(), hide.clear(), refresh.clear();
    // Alternating which goes first, so neither gains from the other's leftovers.
    for (int rep = 0; rep < kRepeats; ++rep) {
        if (rep % 2) {
            overlay();
            bare();
        } else {
            bare();
            overlay();
        }
    }
    if (print) {
        PrintRow({n, "first showing", Median(first), Median(floorFirst), "target <= 1.25x"});
        PrintRow({n, "refresh", Median(refresh), Median(floorRefresh), "target <= 1.25x"});
        PrintRow({n, "hiding", Median(hide), Median(floorHide), ""});
    }
    for (HWND hwnd : targets) DestroyWindow(hwnd);
    Pump();
}

// Repainting shown hints (InvalidateRect + UpdateWindow, one window after another) beside
// bare popups at the same rectangles that paint the same background, icon and text.
void RepaintSamples(const std::vector<HWND>& windows, int rounds, std::vector<double>& samples)
{
    samples.push_back(TimeMs([&] {
        for (int round = 0; round < rounds; ++round) {
            for (HWND hwnd : windows) {
                InvalidateRect(hwnd, nullptr, FALSE);
                UpdateWindow(hwnd);
            }
        }
    }));
}

// Short samples, many of them, hints and floor taking turns: a shared machine's load
// then weighs on both alike.
constexpr int kRepaintSamples = 15;
constexpr int kRepaintPaints = 200;

void RepaintFigures(int n, bool bitmap)
{
    const int rounds = kRepaintPaints / n;
    std::string file = ProgramDir() + "\\bgnml.bmp";
    HintSettings.IsUseBmp = bitmap ? 1 : 0;
    CopyText(HintSettings.BgNormal, file.c_str());
    g_floorBitmap = bitmap ? HintSettings.BgNormal : nullptr;
    std::vector<HWND> targets = MakeTargets(n);
    ShowHints();
    std::vector<RECT> rects;
    std::vector<size_t> order;
    std::vector<HWND> hints;
    // The floor's popups have the hints' sizes but stand below them, so that neither set
    // covers the other (a covered window paints at another cost).
    HintLayout(rects, order, 400);
    for (HintWnd* hint : g_hintWndMgr->List()) hints.push_back(hint->m_hwnd);
    std::vector<floor_popup_t> popups = FloorCreateAndShow(rects, order);
    std::vector<HWND> bare;
    for (const floor_popup_t& p : popups) bare.push_back(p.hwnd);
    Pump();
    std::vector<double> hintTimes, floorTimes;
    RepaintSamples(hints, rounds, hintTimes);  // warm-up: the file in the cache, fonts made
    RepaintSamples(bare, rounds, floorTimes);
    hintTimes.clear(), floorTimes.clear();
    for (int rep = 0; rep < kRepaintSamples; ++rep) {
        if (rep % 2) {
            RepaintSamples(hints, rounds, hintTimes);
            Pump();
            RepaintSamples(bare, rounds, floorTimes);
        } else {
            RepaintSamples(bare, rounds, floorTimes);
            Pump();
            RepaintSamples(hints, rounds, hintTimes);
        }
        Pump();
    }
    PrintRow({n, bitmap ? "repaint bitmap" : "repaint box", Median(hintTimes), Median(floorTimes),
              "target <= 1.25x"});
    FloorHide(popups);
    FloorDestroy(popups);
    HideHints();
    DestroyHintWndMgr();
    for (HWND hwnd : targets) DestroyWindow(hwnd);
    HintSettings.IsUseBmp = 0;
    g_floorBitmap = nullptr;
    Pump();
}

void RepaintTable()
{
    printf("\nrepainting shown hints: medians of %d runs of %d paints (InvalidateRect + UpdateWindow, window\n"
           "after window), milliseconds; floor = bare popups of the same sizes painting the same background\n"
           "(the bitmap read from its file and stretched, or the box), icon and text\n",
           kRepaintSamples, kRepaintPaints);
    for (bool bitmap : {true, false}) {
        for (int n : {10, 50}) RepaintFigures(n, bitmap);
    }
    fflush(stdout);
}

void NoOverlapFigures()
{
    // The 200 hints of the grid as placement leaves them; the worst case for the pass:
    // all 200 on one corner (position mode 4), which stacks them into 200 rows; and two
    // bottom-heavy layouts, where the pass alone would push hints below the work area:
    // 20 columns of 10 on the bottom edge, and all 200 on one spot there (about 30 fit,
    // the others find no room).
    std::vector<HWND> targets = MakeTargets(200);
    ShowHints();
    std::vector<hint_box_t> grid;
    std::vector<pixel_rect_t> gridWorks;
    for (HintWnd* hint : g_hintWndMgr->List()) {
        grid.push_back(hint->Box());
        gridWorks.push_back(hint->m_work);
    }
    DestroyHintWndMgr();
    for (HWND hwnd : targets) DestroyWindow(hwnd);
    Pump();
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    pixel_rect_t work{area.left, area.top, area.right, area.bottom};
    std::vector<hint_box_t> corner(200, hint_box_t{work.top, work.left, 36, 23});
    std::vector<hint_box_t> bottomRows;
    for (int i = 0; i < 200; ++i) bottomRows.push_back(hint_box_t{work.bottom - 23, work.left + (i % 20) * 64, 36, 23});
    std::vector<hint_box_t> bottomSpot(200, hint_box_t{work.bottom - 23, work.left, 36, 23});

    struct layout_t {
        const char* name;
        const std::vector<hint_box_t>* boxes;
        std::vector<pixel_rect_t> works;
    } layouts[] = {
        {"grid, no overlap", &grid, gridWorks},
        {"one corner", &corner, std::vector<pixel_rect_t>(200, work)},
        {"20 columns, bottom", &bottomRows, std::vector<pixel_rect_t>(200, work)},
        {"one spot, bottom", &bottomSpot, std::vector<pixel_rect_t>(200, work)},
    };
    const int loops = 201;
    for (const layout_t& c : layouts) {
        std::vector<double> pass, held;
        int outside = 0;
        for (int i = 0; i < loops; ++i) {
            std::vector<hint_box_t> boxes = *c.boxes;
            pass.push_back(TimeMs([&] { NoOverlapPass(boxes); }));
            if (i == 0) {
                for (size_t b = 0; b < boxes.size(); ++b) outside += BoxInWorkArea(boxes[b], c.works[b]) ? 0 : 1;
            }
            boxes = *c.boxes;
            held.push_back(TimeMs([&] { NoOverlapInWorkAreas(boxes, c.works); }));
        }
        // The step rule spelled out, for comparison: each hint stepped until it stops.
        std::vector<hint_box_t> boxes = *c.boxes;
        double slow = TimeMs([&] {
            for (size_t a = 0; a < boxes.size(); ++a) {
                while (AvoidOverlapStep(boxes, a)) {}
            }
        });
        printf("  no-overlap pass, 200 hints, %-19s %7.3f ms  (target < 1 ms; step by step: %.3f ms; "
               "%d left the work area)\n", c.name, Median(pass), slow, outside);
        printf("    %-45s %7.3f ms  (target < 1 ms)\n", "the same, held in the work areas:", Median(held));
    }
}

void HungTargetFigures()
{
    // The first showing asks a new target for its icon up to three times, 100 ms each.
    std::vector<double> times;
    for (int run = 0; run < 3; ++run) {
        ThreadWindow hung(ThreadWindowKind::Hung);
        zlvnhost::ResetHost();
        zlvnhost::AddListItem(hung.Window(), "Hung");
        times.push_back(TimeMs([] { ShowHints(); }));
        DestroyHintWndMgr();
        Pump();
    }
    printf("  first showing with one hung target (median of 3)  %8.1f ms  (target <= 300 ms of icon requests)\n",
           Median(times));
}

// Marginal memory: 200 more on top of 200, nothing freed in between, each kind in a
// fresh process of its own, so neither gets memory the other gave back.
void MemoryFigures(bool hints)
{
    const int n = 200;
    std::vector<HWND> targets = MakeTargets(2 * n);
    std::vector<ZlvnList> all = zlvnhost::Host().list;
    std::vector<RECT> rects;
    for (int i = 0; i < 2 * n; ++i) {
        RECT r;
        GetWindowRect(targets[i], &r);
        rects.push_back(RECT{r.left, r.top, r.left + 36, r.top + 23});
    }
    size_t before = 0, after = 0;
    long long heapBefore = 0, heapAfter = 0;
    std::vector<floor_popup_t> first, second;
    if (hints) {
        zlvnhost::Host().list.resize(n);
        ShowHints();
        Pump();
        before = PrivateBytes();
        heapBefore = g_liveBytes;
        zlvnhost::Host().list = all;
        ShowHints();
        Pump();
        heapAfter = g_liveBytes;
        after = PrivateBytes();
    } else {
        first = FloorCreateAndShow(std::vector<RECT>(rects.begin(), rects.begin() + n));
        Pump();
        before = PrivateBytes();
        second = FloorCreateAndShow(std::vector<RECT>(rects.begin() + n, rects.end()));
        Pump();
        after = PrivateBytes();
    }
    auto perHint = [n](long long bytes) { return static_cast<double>(bytes) / n / 1024.0; };
    if (hints) {
        printf("  memory per hint, the overlay's own heap (record, map and list nodes, text): %.2f KiB  "
               "(target < 4 KiB)\n", perHint(heapAfter - heapBefore));
        printf("  memory per hint, committed private memory of the process:                  %.2f KiB\n",
               perHint(static_cast<long long>(after) - static_cast<long long>(before)));
        printf("  sizeof(HintWnd) = %u bytes\n", static_cast<unsigned>(sizeof(HintWnd)));
    } else {
        printf("  memory per bare popup (floor), committed private memory of the process:    %.2f KiB\n",
               perHint(static_cast<long long>(after) - static_cast<long long>(before)));
    }
    fflush(stdout);
}

// Runs this program again with one argument and waits for it; it prints its own lines.
void RunChild(const char* argument)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" " + argument;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        printf("  (could not start %s)\n", command.c_str());
        return;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

int main(int argc, char** argv)
{
    g_hModule = GetModuleHandleA(nullptr);
    UseDefaultSettings();
    if (argc > 1 && strcmp(argv[1], "--memory-hints") == 0) return MemoryFigures(true), 0;
    if (argc > 1 && strcmp(argv[1], "--memory-floor") == 0) return MemoryFigures(false), 0;
    if (argc > 1 && strcmp(argv[1], "--pass") == 0) return NoOverlapFigures(), 0;
    if (argc > 1 && strcmp(argv[1], "--repaint") == 0) return RepaintTable(), 0;
    RunSize(10, false);  // warm-up: fonts, first windows, code pages
    printf("hint_bench: medians of %d runs (refresh and hiding: %d cycles each), milliseconds;\n"
           "floor = the same popups with the same window and drawing calls, made and shown in the same\n"
           "order, without the overlay (no list, records, icon search, measuring or no-overlap pass)\n\n",
           kRepeats, kCycles);
    printf("%5s  %-14s %10s %10s %9s  %s\n", "N", "step", "hints", "floor", "ratio", "");
    for (int n : {10, 50, 200}) RunSize(n, true);
    RepaintTable();
    printf("\n");
    NoOverlapFigures();
    HungTargetFigures();
    fflush(stdout);
    RunChild("--memory-hints");
    RunChild("--memory-floor");
    return 0;
}
