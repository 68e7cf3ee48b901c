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
    HWND item = f.Item(row);
    if (!item) return false;
    switch (c.kind) {
    case form::Kind::Radio: case form::Kind::Check: case form::Kind::Group: case form::Kind::Button:
    case form::Kind::Label: case form::Kind::Link:
        break;
    default:
        return false;
    }
    std::string text = Shown(WindowText(item), !(c.flags & form::kNoPrefix));
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
            RECT panel = f.Bounds(c.parent), own = f.Bounds(row);
            room = panel.right - GetSystemMetrics(SM_CXEDGE) - own.left;
        }
        break;
    }
    *out = {formName, ControlName(f.Desc(), row), Utf8(text), width, room};
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
void MeasureShown(form::Form& f, const char* formName, int closeButton, const std::function<void()>& show,
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
    MeasureShown(settings, "settings", form::RowOf(OptionControl::CancelBtn), [&settings] { settings.ShowModal(); }, &fits);
    PluginDll dll;
    ASSERT_TRUE(dll.Load()) << dll.Error();
    TAboutBox about(nullptr, "Hint", dll.Module());
    MeasureShown(about, "version", form::RowOf(AboutControl::OKButton), [&about] { about.ShowModal(); }, &fits);

    ASSERT_GT(fits.size(), 30u) << "captions of both forms measured";
    const fit_t* worst = nullptr;
    auto worse = [](const fit_t& a, const fit_t* b) { return !b || a.needed - a.room > b->needed - b->room; };
    for (const fit_t& fit : fits) {
        if (worse(fit, worst)) worst = &fit;
        EXPECT_LE(fit.needed, fit.room) << fit.form << " " << fit.row << " \"" << fit.caption << "\" at " << ppi
                                        << " ppi";
    }
    printf("%d ppi, %u captions, worst fit: %s %s \"%s\" needs %d px, room %d px, margin %d px\n", ppi,
           static_cast<unsigned>(fits.size()), worst->form.c_str(), worst->row.c_str(), worst->caption.c_str(),
           worst->needed, worst->room, worst->room - worst->needed);
}

}  // namespace
