// Every caption of both forms fits the room its control gives it, at the resolution
// this program runs at (tests/common/run_on_own_display.sh --ppi gives each one a prefix).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/FormAboutBoxUnit.h"
#include "dialogs/HintUnitOpt.h"
#include "tests/common/default_settings.h"
#include "tests/common/plugin_dll.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

struct fit_t {
    std::string form, row, caption;  // caption in UTF-8, for the report
    int needed, room;                // pixels
};

// Captions that cannot fit with the nearest installed faces: the layout stays the
// design's, so the overflow is only kept from growing. {form, row, ppi, most px over}
struct shortfall_t {
    const char* form;
    const char* row;
    int ppi;
    int over;
};
const shortfall_t kKnownShortfalls[] = {
    // "幅(W)" in IPAPGothic (and in IPAGothic) is wider than the label's 35 design px:
    // 31 px against 28 at 96 ppi, 39 against 35 at 120, 47 against 42 at 144.
    {"settings", "Label1", 96, 3},
    {"settings", "Label1", 120, 4},
    {"settings", "Label1", 144, 5},
    // IPAPGothic's digits are two thirds of the height wide (the Windows face's half),
    // so the default size "10" overflows its 15 design px: 16 px against 12 at 96 ppi,
    // 18 against 15 at 120, 22 against 18 at 144.
    {"settings", "LabelFontSize", 96, 4},
    {"settings", "LabelFontSize", 120, 3},
    {"settings", "LabelFontSize", 144, 4},
};

std::string Utf8(const std::string& cp932)
{
    int n = MultiByteToWideChar(932, 0, cp932.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(932, 0, cp932.c_str(), -1, &wide[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(m > 0 ? m : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], m, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

// What the control draws: '&' marks the accelerator and "&&" is one '&'.
std::string Shown(const std::string& text, bool prefix)
{
    if (!prefix) return text;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

// The text's width in the control's own font, and the width of the digit 0.
void Measure(HWND item, const std::string& text, int* width, int* zero)
{
    HDC dc = GetDC(item);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(item, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    INT digit = 0;
    GetCharWidthA(dc, '0', '0', &digit);
    SelectObject(dc, old);
    ReleaseDC(item, dc);
    *width = size.cx;
    *zero = digit;
}

int Width(const RECT& rc) { return rc.right - rc.left; }

// The room a control gives its text, by the theme-less rules of the system's
// buttons and statics: a check or radio box of 12/96 inch plus half a digit and the
// label's one-pixel shift; a group frame's caption 7 px in from each side; a push
// button's text inside its edges; a label its width, or up to its panel's frame
// when it sizes itself to its text.
bool Fit(const form::Form& f, const char* formName, int row, fit_t* out)
{
    const form::Control& c = f.Desc().controls[row];
    HWND item = f.Item(c.name);
    if (!item) return false;
    switch (c.kind) {
    case form::Kind::Radio: case form::Kind::Check: case form::Kind::Group: case form::Kind::Button:
    case form::Kind::Label: case form::Kind::Link:
        break;
    default:
        return false;
    }
    char buffer[512] = {};
    GetWindowTextA(item, buffer, sizeof buffer);
    std::string text = Shown(buffer, !(c.flags & form::kNoPrefix));
    if (text.empty()) return false;
    RECT client;
    GetClientRect(item, &client);
    int width = 0, zero = 0;
    Measure(item, text, &width, &zero);
    int room = Width(client);
    switch (c.kind) {
    case form::Kind::Radio:
    case form::Kind::Check: {
        HDC dc = GetDC(item);
        int box = 12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1;
        ReleaseDC(item, dc);
        room -= box + zero / 2 + 1;
        break;
    }
    case form::Kind::Group: room -= 2 * 7 + 1; break;
    case form::Kind::Button: room -= 2 * GetSystemMetrics(SM_CXEDGE); break;
    default:
        if (c.flags & form::kAutoSize) {
            RECT panel = f.Bounds(c.parent), own = f.Bounds(c.name);
            room = panel.right - GetSystemMetrics(SM_CXEDGE) - own.left;
        }
        break;
    }
    *out = {formName, c.name, Utf8(text), width, room};
    return true;
}

void FitAll(const form::Form& f, const char* formName, std::vector<fit_t>* fits)
{
    for (size_t r = 0; r < f.Desc().count; ++r) {
        fit_t fit;
        if (Fit(f, formName, static_cast<int>(r), &fit)) fits->push_back(fit);
    }
}

// Opens a form, measures its captions once it is shown, closes it with a button.
void MeasureShown(form::Form& f, const char* formName, const char* closeButton, const std::function<void()>& show,
                  std::vector<fit_t>* fits)
{
    DialogScript script(formName);
    script.Then("shown", [&f] { return f.Handle() && IsWindowVisible(f.Handle()); })
        .Do("measure", [&f, formName, closeButton, fits] {
            FitAll(f, formName, fits);
            PostClick(f.Item(closeButton));
        });
    script.Run(show);
    EXPECT_TRUE(script.Completed()) << script.Report();
}

TEST(CaptionFit, EveryCaptionOfBothFormsFitsItsControl)
{
    std::vector<fit_t> fits;
    int ppi = form::ScreenPpi();
    UseDefaultSettings();  // the texts a first opening shows

    TOKBottomDlg settings(nullptr);
    MeasureShown(settings, "settings", "CancelBtn", [&settings] { settings.ShowModal(); }, &fits);
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << dll.Error();
    TAboutBox about(nullptr, "Hint", dll.Module());
    MeasureShown(about, "version", "OKButton", [&about] { about.ShowModal(); }, &fits);

    ASSERT_GT(fits.size(), 30u) << "captions of both forms measured";
    const fit_t* worst = nullptr;
    const fit_t* worstOther = nullptr;  // outside the known shortfalls
    auto worse = [](const fit_t& a, const fit_t* b) { return !b || a.needed - a.room > b->needed - b->room; };
    for (const fit_t& fit : fits) {
        const shortfall_t* known = nullptr;
        for (const shortfall_t& s : kKnownShortfalls)
            if (s.ppi == ppi && fit.form == s.form && fit.row == s.row) known = &s;
        if (worse(fit, worst)) worst = &fit;
        if (!known && worse(fit, worstOther)) worstOther = &fit;
        if (known) {
            EXPECT_LE(fit.needed - fit.room, known->over) << fit.form << " " << fit.row << " \"" << fit.caption
                                                          << "\": a known shortfall grew";
        } else {
            EXPECT_LE(fit.needed, fit.room) << fit.form << " " << fit.row << " \"" << fit.caption << "\" at " << ppi
                                            << " ppi";
        }
    }
    for (const fit_t* f : {worst, worstOther == worst ? nullptr : worstOther})
        if (f) printf("%d ppi, %u captions, worst fit%s: %s %s \"%s\" needs %d px, room %d px\n", ppi,
               static_cast<unsigned>(fits.size()), f == worst ? "" : " besides known shortfalls", f->form.c_str(),
               f->row.c_str(), f->caption.c_str(), f->needed, f->room);
}

}  // namespace
