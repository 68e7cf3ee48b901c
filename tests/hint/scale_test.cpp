// A host that is not DPI-aware on a 144-dpi screen (--ppi 144); this program has an icon.

#include <stdexcept>
#include <utility>

#include <map>

#include "support/dpi_awareness.h"
#include "tests/common/dialog_driver.h"
#include "tests/hint/hint_fixture.h"

namespace {

int ScreenDpi() { return GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY); }
HRESULT WINAPI Throws(HMONITOR, int, UINT*, UINT*) { throw std::runtime_error("stand-in"); }

LRESULT CALLBACK AnswersSmall2Only(HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    if (message != WM_GETICON) return DefWindowProcA(w, message, wp, lp);
    return wp == ICON_SMALL2 ? reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_WARNING)) : 0;
}

UINT g_timerDpi = 0;
void CALLBACK HostTimer(HWND, UINT, UINT_PTR, DWORD) { g_timerDpi = ScreenDpi(); }

}  // namespace

TEST_F(HintOverlay, TheHostsFunctionsAndTimersRunInTheHostsDpiContext)
{
    const dpi_context_t host = DpiFunctions().setThreadContext(HANDLE(-1));  // a host that is not DPI-aware
    std::map<std::string, int> seen;  // the DPI each host function read: 96 in the host's context, 144 in ours
    zlvnhost::Host().onCall = [&seen](const char* fn) { seen[fn] = ScreenDpi(); };
    Listed(RECT{150, 150, 450, 350}, "T");
    ShowHints();
    UINT_PTR timer = SetTimer(nullptr, 0, 10, HostTimer);
    DialogScript script("a host timer in the settings dialog's loop");
    script.Shown(g_okBottomDlg).Then("timer", [] { return g_timerDpi != 0; }).Do("close", [] {
        PostClick(g_okBottomDlg->Item(OptionControl::CancelBtn));
    });
    EXPECT_TRUE(script.Run([] { HintOption(nullptr); })) << script.Report();
    KillTimer(nullptr, timer);
    DestroyHintWndMgr();
    seen["the host's timer"] = g_timerDpi;
    std::string text;
    for (const auto& [fn, dpi] : seen) text += fn + " " + std::to_string(dpi) + "; ";
    EXPECT_EQ("Zlvn_GetList 96; Zlvn_RegisterFocus 96; Zlvn_ReloadMenu 96; Zlvn_UnregisterFocus 96; the host's timer 96; ", text);
    DpiFunctions().setThreadContext(host);
}

TEST_F(HintOverlay, UnawareHostsHintsStandOnTheirTargetsInPhysicalPixelsAtTheirScale)
{
    HWND target = [this] {  // a per-monitor-aware program's window; Pos 0, icon shown: the defaults
        PerMonitorDpiScope perMonitor;
        return Listed(RECT{150, 150, 450, 350}, "T", LoadIconA(nullptr, IDI_WARNING));
    }();
    // The host's thread is not DPI-aware (Wine's programs are, unless told).
    dpi_context_t host = DpiFunctions().setThreadContext(HANDLE(-1));
    auto throwing = [] {
        auto real = std::exchange(DpiFunctions().dpiForMonitor, Throws);
        EXPECT_THROW(ShowHints(), std::runtime_error);
        DpiFunctions().dpiForMonitor = real;
    };
    const SIZE text = HintTextExtent("T", 144);  // margins 8, icon 24 and a gap of 3 at 144 dpi
    const std::function<void()> steps[] = {ShowHints, HideHints, ShowHints, throwing, DestroyHintWndMgr};
    for (int step = 0; step < 5; ++step) {
        steps[step]();
        EXPECT_EQ(96, ScreenDpi()) << "step " << step << ": the host's context (not DPI-aware) restored";
        PerMonitorDpiScope perMonitor;  // the screen as it is, at 144 dpi
        if (step != 0 && step != 2) continue;
        EXPECT_EQ(RectText(RECT{150, 150, 150 + text.cx + 16 + 27, 150 + text.cy + 16}), RectText(PopupRect(target)))
            << "step " << step << ": on the target's corner, measured at 144 dpi";
    }
    DpiFunctions().setThreadContext(host);
}

TEST_F(HintOverlay, WindowsThatAnswerNoIconGetTheirProgramsIcon)
{
    ThreadWindow hung(ThreadWindowKind::Hung);
    HWND small2 = Target(RECT{200, 450, 500, 650});
    SetWindowLongPtrA(small2, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswersSmall2Only));
    // icon: null for the program's (the hint bench times the search with a hung window).
    struct Case { const char* name; HWND target; HICON icon; } cases[] = {
        {"no icon by any step", Target(RECT{200, 200, 500, 400}), nullptr},
        {"a hung window, and its owner: the same icon, taken once", hung.Window(), nullptr},
        {"an answer to ICON_SMALL2 only", small2, LoadIconA(nullptr, IDI_WARNING)},
    };
    HICON program = nullptr;
    for (const Case& c : cases) {
        AddListItem(c.target, "T");
        ShowHints();
        if (!c.icon && !program) program = Hint(c.target)->m_icon;
        EXPECT_TRUE((c.icon ? c.icon : program) && (c.icon ? c.icon : program) == Hint(c.target)->m_icon) << c.name;
    }
    DestroyHintWndMgr();
    ICONINFO info = {};
    EXPECT_FALSE(GetIconInfo(program, &info)) << "the program's icon destroyed at teardown";
}
