// The settings dialog from an unaware host thread, at the DPI of the cursor's monitor and then of
// the one it moves to. Run whole in a 144-dpi prefix on two monitors; a stand-in puts the second at 120.

#include "support/dpi_awareness.h"
#include "support/monitor_rect.h"
#include "tests/common/stand_in.h"
#include "tests//common/dialog_driver.h"

namespace {

// The DPI the window is shown at, as the system tells it.
UINT DpiOfWindow(HWND window)
{
    auto read = DpiFunctions().Get().dpiForWindow;
    return read ? read(window) : 0;
}


HRESULT WINAPI SecondMonitorAt120(HMONITOR monitor, int, UINT* x, UINT* y)
{
    *x = *y = monitor == MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY) ? 144 : 120;
    return S_OK;
}

// Made per-monitor aware a window has the prefix's 144 dpi (unaware, 96); the dialog's DPI, fonts, OK, place.
std::string Seen(const TOKBottomDlg& d)
{
    RECT m = {}, w = WindowRect(d.Handle()), ok = RectIn(d.Item(OptionControl::OKBtn), d.Handle());
    MonitorRect().GetCursorMonitorRect(&m);
    const bool centred = abs(m.left + m.right - w.left - w.right) < 3 && abs(m.top + m.bottom - w.top - w.bottom) < 3;
    char text[160];
    int n = snprintf(text, sizeof text, "window %u dpi, at %d, font %ld %ld, OK %ld,%ld %ld,%ld, ", DpiOfWindow(d.Handle()),
                     d.Ppi(), FontOf(d.FormFont()).lfHeight, FontOf(ControlFont(d.Item(OptionControl::LabelFontName))).lfHeight,
                     ok.left, ok.top, ok.right, ok.bottom);
    if (centred) return text + std::string("centred");
    snprintf(text + n, sizeof text - n, "%ld,%ld - %ld,%ld", w.left, w.top, w.right, w.bottom);
    return text;
}

}  // namespace

TEST(DialogDpi, OpensAtTheCursorsMonitorsDpiAndTakesTheNewOneWhenMoved)
{
    ASSERT_EQ(2, GetSystemMetrics(SM_CMONITORS)) << "two monitors";
    const dpi_functions_t real = StandIn(DpiFunctions(), &dpi_functions_t::dpiForMonitor, SecondMonitorAt120);
    const dpi_context_t host = real.setThreadContext(reinterpret_cast<dpi_context_t>(-1));  // unaware
    SetCursorPos(1600, 300);
    std::string seen;
    DialogScript script("settings dialog on the second monitor");
    script.Shown(g_okBottomDlg).Do("seen, moved", [&seen] {
        seen = Seen(*g_okBottomDlg) + "; ";
        RECT suggested = {40, 0, 840, 880};  // Wine sends no WM_DPICHANGED: the one a move brings
        SendMessageA(g_okBottomDlg->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        seen += Seen(*g_okBottomDlg);
    });
    script.Do("close", [] { PostClick(g_okBottomDlg->Item(OptionControl::CancelBtn)); });
    EXPECT_TRUE(script.Run(ShowOptionDialog)) << script.Report();
    EXPECT_EQ("window 144 dpi, at 120, font -15 -15, OK 279,477 373,508, centred; "
              "window 144 dpi, at 192, font -24 -24, OK 446,763 597,813, 40,0 - 840,880", seen);
    EXPECT_EQ(96, form::ScreenPpi()) << "the host's unaware context back: it reads 96 dpi in this 144-dpi prefix";
    real.setThreadContext(host);
    DpiFunctions().Use(real);
}
