// hint_bench: showing, refreshing and hiding N hints beside the platform floor, the
// no-overlap pass, and a hint's memory. It plays the host and links the overlay.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <process.h>
#include <string>
#include <vector>

#include "hint/globals.h"
#include "hint/hint_font.h"
#include "hint/hint_popup.h"
#include "hint/hint_rules.h"
#include "hint/hint_set.h"
#include "hint/hint_wnd.h"
#include "hint/hint_wnd_mgr.h"
#include "host/zlvn_host.h"
#include "plugin/records/globals.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/module_state.h"
#include "support/bounded_text.h"
#include "tests/common/default_settings.h"
#include "tests/common/plugin_dll.h"
#include "tests/common/target_window.h"
#include "tests/common/thread_window.h"
#include "tests/common/wait.h"

// Live bytes through operator new: each block carries its size in 8 bytes before it.
static std::atomic<long long> g_liveBytes{0};
void* operator new(size_t size)
{
    size_t* p = static_cast<size_t*>(malloc(size + 8));
    if (p == nullptr) throw std::bad_alloc();
    g_liveBytes += static_cast<long long>(*p = size);
    return reinterpret_cast<char*>(p) + 8;
}
void operator delete(void* p) noexcept
{
    if (p == nullptr) return;
    size_t* block = reinterpret_cast<size_t*>(static_cast<char*>(p) - 8);
    g_liveBytes -= static_cast<long long>(*block);
    free(block);
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept try { return operator new(size); } catch (...) { return nullptr; }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return operator new(size, std::nothrow); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

namespace {

// kCycles hidings and showings per run: under Wine the first re-showing can take half as
// long as later ones, for hints and bare popups alike. Repaints: many short samples.
constexpr int kRepeats = 7, kCycles = 3, kRepaintSamples = 15, kRepaintPaints = 200;

// The set shown as the shell shows it, with the plug-in's record.
void Show() { ShowHints(); }

double TimeMs(const std::function<void()>& work)
{
    LARGE_INTEGER f, start, end;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) { return std::sort(v.begin(), v.end()), v[v.size() / 2]; }

// Between timed steps: messages handled, the X server given time to catch up.
// Until nothing is queued for this thread: what the last step caused has been handled.
void Pump()
{
    PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
}

// a and b `rounds` times each, taking turns at going first.
void Alternate(int rounds, const std::function<void()>& a, const std::function<void()>& b)
{
    for (int round = 0; round < rounds; ++round)
        for (const std::function<void()>* f : {round % 2 ? &a : &b, round % 2 ? &b : &a}) (*f)(), Pump();
}

// Committed private memory, summed over the address space (Wine's counter lags).
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

// n listed windows on a grid that keeps hints apart: 20 columns of 64 pixels, rows of 80.
std::vector<HWND> MakeTargets(int n)
{
    std::vector<HWND> targets;
    char text[32];
    for (int i = 0; i < n; ++i) {
        int x = (i % 20) * 64, y = (i / 20) * 80;
        FormatText(text, sizeof text, "Window %d", i);
        targets.push_back(MakeTarget(RECT{x, y, x + 60, y + 70}, text, LoadIconA(nullptr, IDI_APPLICATION)));
    }
    Pump();
    zlvnhost::Host().list.clear();
    for (int i = 0; i < n; ++i) FormatText(text, sizeof text, "%c%d", 'A' + i % 26, i), zlvnhost::AddListItem(targets[i], text);
    return targets;
}

// The hints, the targets and what they left in the queue, gone.
void EndHints(std::vector<HWND>& targets)
{
    HideHints();
    DestroyHintWndMgr();
    for (HWND hwnd : targets) DestroyWindow(hwnd);
    targets.clear();
    Pump();
}

// The floor: bare popups with the same window and drawing calls, made and shown in the
// same order (Wine's cost of showing a window depends on its place in the z-order).
struct floor_popup_t {
    HWND hwnd;
    char classname[32];
    RECT rect;
    bool shaped;  // its window region is set, as a hint sets one when its size changes
};

// The background picture, as with IsUseBmp, read from its file once for the showing; null: the box.
HBITMAP g_floorPicture = nullptr;
BITMAP g_floorPictureInfo = {};

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) return DefWindowProcA(hwnd, message, wParam, lParam);
    PaintDc dc(hwnd);
    RECT c;
    GetClientRect(hwnd, &c);
    if (g_floorPicture) {  // stretched over the client area at every paint
        MemoryDc memory(dc.Get());
        Selection picture(memory.Get(), g_floorPicture);
        StretchBlt(dc.Get(), 0, 0, c.right, c.bottom, memory.Get(), 0, 0, g_floorPictureInfo.bmWidth,
                   g_floorPictureInfo.bmHeight, SRCCOPY);
    } else {
        GdiObject<HBRUSH> fill(CreateSolidBrush(HintSettings.NmlBgColor));
        GdiObject<HBRUSH> border(CreateSolidBrush(HintSettings.NmlBorderColor));
        GdiObject<HRGN> shape(MakeHintShape(c.right, c.bottom, kHintDesignDpi));
        FillRgn(dc.Get(), shape.Get(), fill.Get());
        FrameRgn(dc.Get(), shape.Get(), border.Get(), 1, 1);
    }
    static const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);  // a hint holds its icon too
    DrawIconEx(dc.Get(), 5, (c.bottom - 16) / 2, icon, 16, 16, 0, nullptr, DI_NORMAL);
    GdiObject<HFONT> font = MakeHintFont(HintSettings, kHintDesignDpi);
    Selection text(dc.Get(), font.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    TextOutA(dc.Get(), 23, 5, "A", 1);
    return 0;
}

// The floor's popups, made in `rects` order (the host's list order, as hints are made),
// shown in `order` (the hints' placement order); an empty order is the making order.
struct floor_t {
    std::vector<floor_popup_t> popups;
    void Show(const std::vector<RECT>& rects, std::vector<size_t> order = {})
    {
        std::vector<floor_popup_t> made(rects.size());
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        for (size_t i = 0; i < rects.size(); ++i) {
            floor_popup_t& p = made[i] = floor_popup_t{nullptr, "", rects[i], false};
            FormatText(p.classname, sizeof p.classname, "floor%u", static_cast<unsigned>(i));
            WNDCLASSEXA wc = {sizeof wc, CS_HREDRAW | CS_VREDRAW, FloorProc, 0, 0, GetModuleHandleA(nullptr), nullptr,
                              LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr, p.classname, nullptr};
            RegisterClassExA(&wc);
            // Made where a hint is made: 10 x 10 at the work area's corner.
            p.hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, p.classname, "A", WS_POPUP, work.left, work.top,
                                     10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        }
        for (size_t i = 0; order.size() < made.size(); ++i) order.push_back(i);
        for (size_t i : order) popups.push_back(made[i]);
        Reshow();
    }
    void Reshow()
    {
        for (floor_popup_t& p : popups) {
            ReleaseDC(p.hwnd, GetDC(p.hwnd));  // a hint measures its text on its popup's DC before moving it
            int w = p.rect.right - p.rect.left, h = p.rect.bottom - p.rect.top;
            if (!p.shaped) p.shaped = SetWindowRgn(p.hwnd, MakeHintShape(w, h, kHintDesignDpi), FALSE) != 0;
            SetWindowPos(p.hwnd, HWND_TOPMOST, p.rect.left, p.rect.top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
            ShowWindow(p.hwnd, SW_SHOWNOACTIVATE);
            InvalidateRect(p.hwnd, nullptr, FALSE);
            UpdateWindow(p.hwnd);
        }
    }
    void Hide() { for (floor_popup_t& p : popups) ShowWindow(p.hwnd, SW_HIDE); }
    void End()
    {
        Hide();
        for (floor_popup_t& p : popups) DestroyWindow(p.hwnd), UnregisterClassA(p.classname, GetModuleHandleA(nullptr));
        popups.clear();
        Pump();
    }
};

// The shown hints' rectangles in the host's list order (moved down by `below`), and the
// indexes of that list in the hints' own order.
void HintLayout(std::vector<RECT>& rects, std::vector<size_t>& order, int below = 0)
{
    rects.clear(), order.clear();
    const std::vector<ZlvnList>& list = zlvnhost::Host().list;
    rects.resize(list.size());
    for (HintWnd* hint : g_hintWndMgr->List())
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i].hwnd != hint->m_target) continue;
            rects[i] = RECT{hint->m_left, hint->m_top + below, hint->m_left + hint->m_width, hint->m_top + below + hint->m_height};
            order.push_back(i);
        }
}

void PrintRow(int n, const char* step, const std::vector<double>& hintTimes, const std::vector<double>& floorTimes,
              const char* target = "target <= 1.25x")
{
    double hints = Median(hintTimes), floor = Median(floorTimes);
    printf("%5d  %-14s %10.2f %10.2f %8.2fx  %s\n", n, step, hints, floor, hints / floor, target);
}

// The first showing's time, then kCycles of hiding and showing again.
struct timings_t {
    std::vector<double> first, refresh, hide;
    void Run(const std::function<void()>& show, const std::function<void()>& hideAll, const std::function<void()>& reshow)
    {
        first.push_back(TimeMs(show));
        Pump();
        for (int cycle = 0; cycle < kCycles; ++cycle)
            hide.push_back(TimeMs(hideAll)), Pump(), refresh.push_back(TimeMs(reshow)), Pump();
    }
};

void RunSize(int n, bool print)
{
    std::vector<HWND> targets = MakeTargets(n);
    timings_t hints, floor;
    std::vector<RECT> rects;
    std::vector<size_t> order;
    auto overlay = [&] {
        hints.Run(Show, HideHints, Show);
        HintLayout(rects, order);
        HideHints(), DestroyHintWndMgr(), Pump();
    };
    auto bare = [&] {  // the floor, at the very rectangles the hints took
        floor_t f;
        floor.Run([&] { f.Show(rects, order); }, [&] { f.Hide(); }, [&] { f.Reshow(); });
        f.End();
    };
    overlay();  // the rectangles for the floor
    hints = timings_t();
    Alternate(kRepeats, overlay, bare);
    if (print) {
        PrintRow(n, "first showing", hints.first, floor.first), PrintRow(n, "refresh", hints.refresh, floor.refresh);
        PrintRow(n, "hiding", hints.hide, floor.hide, "");
    }
    EndHints(targets);
}

// Repainting shown windows (InvalidateRect + UpdateWindow, one window after another).
double RepaintMs(const std::vector<HWND>& windows, int rounds)
{
    return TimeMs([&] {
        for (int round = 0; round < rounds; ++round)
            for (HWND hwnd : windows) InvalidateRect(hwnd, nullptr, FALSE), UpdateWindow(hwnd);
    });
}

void RepaintFigures(int n, bool bitmap)
{
    const int rounds = kRepaintPaints / n;
    std::string file = ProgramDir() + "\\bgnml.bmp";
    HintSettings.IsUseBmp = bitmap ? 1 : 0;
    CopyText(HintSettings.BgNormal, file.c_str());
    GdiObject<HBITMAP> picture(
        bitmap ? static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)) : nullptr);
    g_floorPicture = picture.Get();
    GetObjectA(picture.Get(), sizeof g_floorPictureInfo, &g_floorPictureInfo);
    std::vector<HWND> targets = MakeTargets(n);
    Show();
    std::vector<RECT> rects;
    std::vector<size_t> order;
    std::vector<HWND> hints, bare;  // hints and floor take turns: a shared machine's load weighs on both
    // The floor's popups have the hints' sizes but stand below them, so that neither set
    // covers the other (a covered window paints at another cost).
    HintLayout(rects, order, 400);
    for (HintWnd* hint : g_hintWndMgr->List()) hints.push_back(hint->m_hwnd);
    floor_t f;
    f.Show(rects, order);
    for (const floor_popup_t& p : f.popups) bare.push_back(p.hwnd);
    Pump();
    RepaintMs(hints, rounds), RepaintMs(bare, rounds);  // warm-up: fonts made
    std::vector<double> hintTimes, floorTimes;
    Alternate(kRepaintSamples, [&] { hintTimes.push_back(RepaintMs(hints, rounds)); },
              [&] { floorTimes.push_back(RepaintMs(bare, rounds)); });
    PrintRow(n, bitmap ? "repaint bitmap" : "repaint box", hintTimes, floorTimes);
    f.End();
    EndHints(targets);
    HintSettings.IsUseBmp = 0, g_floorPicture = nullptr;
}

void RepaintTable()
{
    printf("\nrepainting shown hints: medians of %d runs of %d paints (InvalidateRect + UpdateWindow, window\n"
           "after window), milliseconds; floor = bare popups of the same sizes painting the same background\n"
           "(the bitmap read once per showing and stretched, or the box), icon and text\n",
           kRepaintSamples, kRepaintPaints);
    for (bool bitmap : {true, false})
        for (int n : {10, 50}) RepaintFigures(n, bitmap);
    fflush(stdout);
}

void NoOverlapFigures()
{
    // The grid as placed; all on one corner (mode 4: 200 rows, the worst case); and two
    // layouts the pass alone would push below the work area (of one spot, about 30 fit).
    std::vector<HWND> targets = MakeTargets(200);
    Show();
    std::vector<hint_box_t> grid;
    std::vector<pixel_rect_t> gridWorks;
    for (HintWnd* hint : g_hintWndMgr->List()) grid.push_back(hint->Box()), gridWorks.push_back(hint->m_work);
    EndHints(targets);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    pixel_rect_t work{area.left, area.top, area.right, area.bottom};
    std::vector<hint_box_t> bottomRows;
    for (int i = 0; i < 200; ++i) bottomRows.push_back(hint_box_t{work.bottom - 23, work.left + (i % 20) * 64, 36, 23});
    const std::vector<pixel_rect_t> works(200, work);
    struct layout_t {
        const char* name;
        std::vector<hint_box_t> boxes;
        std::vector<pixel_rect_t> works;
    } layouts[] = {
        {"grid, no overlap", grid, gridWorks},
        {"one corner", std::vector<hint_box_t>(200, hint_box_t{work.top, work.left, 36, 23}), works},
        {"20 columns, bottom", bottomRows, works},
        {"one spot, bottom", std::vector<hint_box_t>(200, hint_box_t{work.bottom - 23, work.left, 36, 23}), works},
    };
    for (const layout_t& c : layouts) {
        std::vector<double> pass, held;
        int outside = 0;
        for (int i = 0; i < 201; ++i) {
            std::vector<hint_box_t> boxes = c.boxes;
            pass.push_back(TimeMs([&] { NoOverlapPass(boxes); }));
            for (size_t b = 0; i == 0 && b < boxes.size(); ++b) outside += BoxInWorkArea(boxes[b], c.works[b]) ? 0 : 1;
            boxes = c.boxes;
            held.push_back(TimeMs([&] { NoOverlapInWorkAreas(boxes, c.works); }));
        }
        std::vector<hint_box_t> boxes = c.boxes;  // the step rule spelled out, for comparison
        double slow = TimeMs([&] { for (size_t a = 0; a < boxes.size(); ++a) while (AvoidOverlapStep(boxes, a)) {} });
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
        times.push_back(TimeMs(Show));
        DestroyHintWndMgr(), Pump();
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
    for (HWND target : targets) {
        RECT r;
        GetWindowRect(target, &r);
        rects.push_back(RECT{r.left, r.top, r.left + 36, r.top + 23});
    }
    auto perHint = [n](long long bytes) { return static_cast<double>(bytes) / n / 1024.0; };
    floor_t floors[2];  // the first n, then all 2n: hints of the listed windows, or bare popups
    auto show = [&](int half) {
        if (hints) zlvnhost::Host().list.resize(n);
        if (hints && half) zlvnhost::Host().list = all;
        if (hints) Show();
        else floors[half].Show(std::vector<RECT>(rects.begin() + half * n, rects.begin() + (half + 1) * n));
        Pump();
    };
    show(0);
    long long before = static_cast<long long>(PrivateBytes()), heapBefore = g_liveBytes;
    show(1);
    long long heapAfter = g_liveBytes, after = static_cast<long long>(PrivateBytes());
    if (hints) {
        printf("  memory per hint, the overlay's own heap (record, map and list nodes, text): %.2f KiB  "
               "(target < 4 KiB)\n", perHint(heapAfter - heapBefore));
        printf("  memory per hint, committed private memory of the process:                  %.2f KiB\n",
               perHint(after - before));
        printf("  sizeof(HintWnd) = %u bytes\n", static_cast<unsigned>(sizeof(HintWnd)));
    } else {
        printf("  memory per bare popup (floor), committed private memory of the process:    %.2f KiB\n",
               perHint(after - before));
    }
    fflush(stdout);
}

// Runs this program again with one argument and waits for it; it prints its own lines.
void RunChild(const char* argument)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (_spawnl(_P_WAIT, self, ("\"" + std::string(self) + "\"").c_str(), argument, nullptr) == -1)
        printf("  (could not start %s %s)\n", self, argument);
}

}  // namespace

int main(int argc, char** argv)
{
    g_hModule = GetModuleHandleA(nullptr);
    UseDefaultSettings();
    std::string only = argc > 1 ? argv[1] : "";
    if (only == "--memory-hints" || only == "--memory-floor") return MemoryFigures(only == "--memory-hints"), 0;
    if (only == "--pass") return NoOverlapFigures(), 0;
    if (only == "--repaint") return RepaintTable(), 0;
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
