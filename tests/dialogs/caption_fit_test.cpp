// Every caption of both forms fits the room its control gives it, at the resolution
// this program runs at (tests/common/run_on_own_display.sh --ppi gives each one a prefix).

#include <optional>

#include "host/text_utf8.h"
#include "support/dpi_awareness.h"
#include "tests/common/default_settings.h"
#include "tests/common/dialog_driver.h"

namespace {

struct fit_t {
    std::string form, row, caption;  // caption in UTF-8, for the report
    int needed, room;                // pixels
};

// The room a control gives its text by the theme-less rules of the system's buttons and
// statics (a 12/96-inch box plus half a digit, a frame's 7 px sides, a button's edges, an
// auto-sized label up to its panel), against the text's drawn width in the control's font.
std::optional<fit_t> Fit(const form::Form& f, const char* formName, int row)
{
    using K = form::Kind;
    const form::Control& c = f.Desc().controls[row];
    HWND item = f.Item(row);
    const bool captioned = c.kind == K::Radio || c.kind == K::Check || c.kind == K::Group || c.kind == K::Button ||
                           c.kind == K::Label || c.kind == K::Link;
    const std::string text = item && captioned ? WindowText(item) : "";
    if (text.empty()) return std::nullopt;
    WindowDc dc(item);
    Selection font(dc.Get(), ControlFont(item));
    RECT extent = {};
    DrawTextA(dc.Get(), text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | (c.flags & form::kNoPrefix ? DT_NOPREFIX : 0));
    INT zero = 0;
    GetCharWidthA(dc.Get(), '0', '0', &zero);
    const int box = 12 * GetDeviceCaps(dc.Get(), LOGPIXELSX) / 96 + 1;
    int room = ClientRect(item).right;
    if (c.kind == K::Radio || c.kind == K::Check) room -= box + zero / 2 + 1;
    if (c.kind == K::Group) room -= 2 * 7 + 1;
    if (c.kind == K::Button) room -= 2 * GetSystemMetrics(SM_CXEDGE);
    if ((c.kind == K::Label || c.kind == K::Link) && (c.flags & form::kAutoSize))
        room = f.Bounds(c.parent).right - GetSystemMetrics(SM_CXEDGE) - f.Bounds(row).left;
    return fit_t{formName, ControlName(f.Desc(), row), AnsiToUtf8(text.c_str()), extent.right, room};
}

// Shows a form (made without an owner), measures its captions, closes it with a button.
void MeasureShown(form::Form& f, const char* formName, int closeButton, std::vector<fit_t>* fits)
{
    const form::Form* shown = &f;
    DialogScript script(formName);
    script.Shown(shown).Do("measure", [&f, formName, closeButton, fits] {
        for (size_t row = 0; row < f.Desc().count; ++row)
            if (auto fit = Fit(f, formName, static_cast<int>(row))) fits->push_back(*fit);
        PostClick(f.Item(closeButton));
    });
    EXPECT_TRUE(script.Run([&f] { f.ShowModal(nullptr); })) << script.Report();
}

TEST(CaptionFit, EveryCaptionOfBothFormsFitsItsControl)
{
    std::vector<fit_t> fits;
    int ppi = form::ScreenPpi();
    UseDefaultSettings();  // the texts a first opening shows
    // Shown from an unaware host thread: the forms are made per-monitor aware, at the prefix's DPI.
    const dpi_context_t host = DpiFunctions().Get().setThreadContext(reinterpret_cast<dpi_context_t>(-1));

    TOKBottomDlg settings(nullptr);
    MeasureShown(settings, "settings", form::RowOf(OptionControl::CancelBtn), &fits);
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << dll.Error();
    TAboutBox about(nullptr, "Hint", dll.Module());
    MeasureShown(about, "version", form::RowOf(AboutControl::OKButton), &fits);

    DpiFunctions().Get().setThreadContext(host);
    EXPECT_EQ(std::make_pair(ppi, ppi), std::make_pair(settings.Ppi(), about.Ppi())) << "the forms' DPI";
    ASSERT_GT(fits.size(), 30u) << "captions of both forms measured";
    for (const fit_t& fit : fits)
        EXPECT_LE(fit.needed, fit.room) << fit.form << " " << fit.row << " \"" << fit.caption << "\" at " << ppi << " ppi";
    const fit_t& worst = *std::min_element(fits.begin(), fits.end(), [](const fit_t& a, const fit_t& b) {
        return a.room - a.needed < b.room - b.needed;
    });
    printf("%d ppi, %u captions, worst fit: %s %s \"%s\" needs %d px, room %d px, margin %d px\n", ppi,
           static_cast<unsigned>(fits.size()), worst.form.c_str(), worst.row.c_str(), worst.caption.c_str(), worst.needed,
           worst.room, worst.room - worst.needed);
}

}  // namespace
