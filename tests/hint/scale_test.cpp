// A host that is not DPI-aware on a 144-dpi screen: run whole in a 144-dpi prefix
// (run_on_own_display.sh --ppi 144). This program has an icon of its own (fixtures/).

#include <stdexcept>
#include <utility>

#include "support/dpi_awareness.h"
#include "tests/common/import_patch.h"
#include "tests/hint/hint_fixture.h"

namespace {

int ScreenDpi() { return GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY); }
HRESULT WINAPI Throws(HMONITOR, int, UINT*, UINT*) { throw std::runtime_error("stand-in"); }

decltype(&SendMessageTimeoutA) g_send;
int g_iconRequests;
LRESULT WINAPI CountedSend(HWND w, UINT message, WPARAM wp, LPARAM lp, UINT flags, UINT timeout, PDWORD_PTR result)
{
    g_iconRequests += message == WM_GETICON;
    return g_send(w, message, wp, lp, flags, timeout, result);
}

LRESULT CALLBACK AnswersSmall2Only(HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    if (message != WM_GETICON) return DefWindowProcA(w, message, wp, lp);
    return wp == ICON_SMALL2 ? reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_WARNING)) : 0;
}

}  // namespace

TEST_F(HintOverlay, UnawareHostsHintsStandOnTheirTargetsInPhysicalPixelsAtTheirScale)
{
    HintSettings.Pos = 0;
    HintSettings.IsShowIcon = 1;
    HWND target = nullptr;
    {
        PerMonitorDpiScope perMonitor;  // a per-monitor-aware program's window
        target = Listed(RECT{150, 150, 450, 350}, "T", LoadIconA(nullptr, IDI_WARNING));
    }
    // The host's thread is not DPI-aware (Wine's programs are, unless told).
    dpi_context_t host = DpiFunctions().setThreadContext(HANDLE(-1));
    auto repaint = [this, target] { InvalidateRect(Hint(target)->m_hwnd, nullptr, FALSE), PumpPending(); };
    auto throwing = [] {
        auto real = std::exchange(DpiFunctions().dpiForMonitor, Throws);
        EXPECT_THROW(ShowHints(), std::runtime_error);
        DpiFunctions().dpiForMonitor = real;
    };
    const SIZE text = HintTextExtent("T", 144);  // margins 8, icon 24 and a gap of 3 at 144 dpi
    const std::function<void()> steps[] = {ShowHints, repaint, HideHints, ShowHints, throwing, DestroyHintWndMgr};
    for (int step = 0; step < 6; ++step) {
        steps[step]();
        EXPECT_EQ(96, ScreenDpi()) << "step " << step << ": the host's context (not DPI-aware) restored";
        PerMonitorDpiScope perMonitor;
        ASSERT_EQ(144, ScreenDpi()) << "the prefix's resolution";
        if (step != 0 && step != 3) continue;
        EXPECT_EQ(RectText(RECT{150, 150, 150 + text.cx + 16 + 27, 150 + text.cy + 16}), RectText(PopupRect(target)))
            << "step " << step << ": on the target's corner, measured at 144 dpi";
    }
    DpiFunctions().setThreadContext(host);
}

TEST_F(HintOverlay, WindowsThatAnswerNoIconGetTheirProgramsIconAfterFewRequests)
{
    ImportPatch patch(GetModuleHandleA(nullptr), "user32.dll", "SendMessageTimeoutA", reinterpret_cast<void*>(CountedSend));
    g_send = reinterpret_cast<decltype(g_send)>(patch.Original());
    ThreadWindow hung(ThreadWindowKind::Hung);
    HWND small2 = Target(RECT{200, 450, 500, 650});
    SetWindowLongPtrA(small2, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswersSmall2Only));
    // WM_GETICON: ICON_SMALL, ICON_BIG, ICON_SMALL2; to a hung window (its owner first, on
    // its thread) once. icon: null for the program's.
    struct Case { const char* name; HWND target; int requests; HICON icon; } cases[] = {
        {"no icon by any step", Target(RECT{200, 200, 500, 400}), 3, nullptr},
        {"another: the same icon, taken once", Target(RECT{600, 200, 900, 400}), 3, nullptr},
        {"a hung window", hung.Window(), 1, nullptr},
        {"an answer to ICON_SMALL2 only", small2, 3, LoadIconA(nullptr, IDI_WARNING)},
    };
    HICON program = nullptr;
    for (const Case& c : cases) {
        AddListItem(c.target, "T");
        g_iconRequests = 0;
        ShowHints();
        HICON want = c.icon ? c.icon : (program = program ? program : Hint(c.target)->m_icon);
        EXPECT_TRUE(c.requests == g_iconRequests && want && want == Hint(c.target)->m_icon)
            << c.name << ": " << g_iconRequests << " icon requests";
    }
    DestroyHintWndMgr();
    ICONINFO info = {};
    EXPECT_FALSE(GetIconInfo(program, &info)) << "the program's icon destroyed at teardown";
}
