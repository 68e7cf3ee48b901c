#pragma once
// Drives modal dialogs from the test thread: a thread timer runs a script of steps,
// one per tick, while whichever modal loop is running (the form's, a chooser's, a
// message box's) pumps messages. Clicks are posted, so a step never blocks.
#include "tests/common/wine_test.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <ostream>

#include "dialogs/FormAboutBoxUnit.h"
#include "dialogs/HintUnitOpt.h"
#include "host/screenshot.h"
#include "plugin/shell/forms.h"
#include "tests/common/font_faces.h"
#include "tests/common/plugin_windows.h"
#include "tests/common/settings_record.h"
#include "tests/common/target_window.h"
#include "tests/common/screen.h"
#include "tests/common/window_search.h"

// Visible top-level dialogs (#32770) of this thread, newest first.
std::vector<HWND> ThreadDialogs();
// The first one holding a control with this id (the choosers' known controls).
HWND DialogWithControl(int id);
HWND DialogWithTitle(const char* title);
inline HWND DialogWith(int id) { return DialogWithControl(id); }
inline HWND DialogWith(const char* title) { return DialogWithTitle(title); }

class DialogScript {
public:
    // A step returns false to be tried again on the next tick (a window not yet there).
    using Step = std::function<bool()>;

    explicit DialogScript(std::string name) : m_name(std::move(name)) {}
    DialogScript& Then(const std::string& what, Step step);
    DialogScript& Do(const std::string& what, std::function<void()> act)
    {
        return Then(what, [act] {
            act();
            return true;
        });
    }
    // Once a dialog holding a control with this id (or with this title) is open, acts on it.
    template <typename Key>
    DialogScript& AtDialog(const std::string& what, Key key, std::function<void(HWND)> act)
    {
        return Then(what, [key, act] {
            HWND dialog = DialogWith(key);
            if (dialog) act(dialog);
            return dialog != nullptr;
        });
    }
    // The same when the action closes the dialog, then waits until it is gone (a closing that
    // ends the modal loop running the script would never see that step: use AtDialog there).
    template <typename Key>
    DialogScript& InDialog(const std::string& what, Key key, std::function<void(HWND)> act)
    {
        return AtDialog(what, key, act).Then(what + ": closed", [key] { return DialogWith(key) == nullptr; });
    }
    // Once the form that form points to (a pointer the command sets, read at each try) is shown.
    template <typename F>
    DialogScript& Shown(F* const& form) { return Then("shown", [&form] { return form && IsWindowVisible(form->Handle()); }); }
    // Redraws the thread's dialogs and lets them paint until what they painted is on the screen.
    DialogScript& Painted();

    // Calls show (which opens a modal dialog) with the script running, then tells whether it
    // completed; when it stalls, every dialog of the thread is cancelled (Report names the step).
    bool Run(const std::function<void()>& show);

    bool Completed() const { return m_next == m_steps.size(); }
    // Whether dialogs were still open after the last step, so that the script closed them.
    bool ClosedLeftovers() const { return m_closedLeftovers; }
    std::string Report() const;  // "<script>: stalled at '<step>'" or "<script>: completed"

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    struct entry_t { std::string what; Step step; };
    std::string m_name;
    std::vector<entry_t> m_steps;
    size_t m_next = 0;
    int m_tries = 0;
    bool m_inStep = false;
    bool m_closedLeftovers = false;
};

void PostClick(HWND button);             // BM_CLICK, posted
void PostMouseClick(HWND control);       // button down and up in the middle of the control
void PostKey(HWND target, UINT vk);      // WM_KEYDOWN/UP as the dialog manager sees them
void PostAltKey(HWND target, char key);  // an Alt+key accelerator
// Keys typed through the system's input queue; mods are the hot-key control's bits.
void TypeKey(UINT vk, unsigned mods = 0);

// In a font chooser: checks Underline and presses Apply.
void UnderlineAndApply(HWND chooser);
LOGFONTA FontOf(HFONT font);
inline HFONT ControlFont(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }
// "face height weight" and the italic, underline and strike-out flags as digits: "Arial -16 700 010".
std::string FontText(const LOGFONTA& font);

inline RECT ClientRect(HWND window)
{
    RECT r = {};
    GetClientRect(window, &r);
    return r;
}
// A window's rectangle in the client coordinates of another window.
RECT RectIn(HWND window, HWND container);
struct design_rect_t { int left, top, width, height; };  // in design pixels
// Expects got within slack pixels, edge by edge, of the design rectangle scaled from basePpi
// to ppi; a zero width or height leaves that edge alone (labels fit their text).
template <typename What>
void ExpectScaled(const RECT& got, const design_rect_t& d, int basePpi, int ppi, int slack, const What& what)
{
    auto scaled = [basePpi, ppi](int v) { return MulDiv(v, ppi, basePpi); };
    const RECT want = {scaled(d.left), scaled(d.top), d.width ? scaled(d.left + d.width) : got.right,
                       d.height ? scaled(d.top + d.height) : got.bottom};
    for (int edge = 0; edge < 4; ++edge) EXPECT_NEAR((&want.left)[edge], (&got.left)[edge], slack) << what << " edge " << edge;
}

// Saves the window's pixels, read from the screen, as a 24-bit BMP of this name in the
// build tree's bin\shots (made on first use); false on failure.
inline bool SaveWindowShot(HWND window, const std::string& name)
{
    std::string dir = ProgramDir() + "\\shots";
    CreateDirectoryA(dir.c_str(), nullptr);
    RECT r = WindowRect(window);
    return SaveScreenBitmap((dir + "\\" + name).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top);
}
// Expects the dialog's OK button run by the common controls 6 (by user32 without the dialogs' context).
void ExpectCommonControls6(const std::string& what, HWND dialog);
// Whether any screen pixel of a window has this colour (text drawn in it, say).
bool WindowShowsColour(HWND window, COLORREF colour);

// Control names for reports, made from each form's own list of controls.
const char* ControlName(const form::Description& form, int row);
inline std::ostream& operator<<(std::ostream& o, OptionControl c) { return o << ControlName(OKBottomDlgForm(), form::RowOf(c)); }
inline std::ostream& operator<<(std::ostream& o, AboutControl c) { return o << ControlName(AboutBoxForm(), form::RowOf(c)); }
