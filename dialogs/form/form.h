#pragma once
// A small form layer: a form is a table of rows (one per control, form_rows.h) that
// becomes a dialog of real Win32 controls through an in-memory template
// (form_template.h). Positions are design pixels, scaled to the DPI of the monitor the
// form is shown on, and scaled again when it moves to a monitor of another DPI.
//
// Pages of a tab control become child dialogs over the tab's display area; group
// frames and panels are flattened into the window that holds them.
//
// Forms address their controls by typed id (FormOf<Id>); the untyped row calls of
// Form serve code that walks every row of a form.
#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/form/accessible_names.h"
#include "dialogs/form/form_rows.h"
#include "dialogs/form/form_controls.h"
#include "dialogs/form/form_template.h"
#include "dialogs/form/page_keys.h"
#include "support/owners.h"

namespace form {

// The screen DC's pixels per inch (vertical): what the system's choosers convert
// point sizes with. A shown form scales to its monitor's DPI instead (Form::Ppi).
int ScreenPpi();

class Form {
public:
    explicit Form(const Description& description);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Shows the form modally to every window of this thread; IDOK or IDCANCEL. The form
    // and whatever it opens are per-monitor DPI aware, whatever the thread was.
    int ShowModal(HWND owner);
    // Closes a shown form with a result (handlers set it with SetModalResult).
    void EndModal(int result);
    // Closes a shown form as its Cancel would, with any chooser or message box open over it.
    void Cancel();

    HWND Handle() const { return m_hwnd; }
    const Description& Desc() const { return m_desc; }
    // The DPI the form is laid out at: its monitor's.
    int Ppi() const { return m_ppi; }
    HFONT FormFont() const { return m_font.Get(); }

    // By row index (FormOf has the same calls by typed id).
    HWND Item(int row) const;
    // Where the row lies, in the client coordinates of the window that holds it
    // (the form or a page): the design rectangle scaled, parents' offsets added.
    RECT Bounds(int row) const;
    // The window a row's control lives in (the form or a page).
    HWND Container(int row) const;
    std::string Text(int row) const;
    void SetText(int row, const char* text);
    bool Checked(int row) const;
    void SetChecked(int row, bool checked);
    // Shows or hides a row and every row inside it.
    void SetVisible(int row, bool visible);
    bool Visible(int row) const;
    COLORREF SwatchColour(int row) const;
    void SetSwatchColour(int row, COLORREF colour);
    void Focus(int row);

    int ActivePage() const;
    void SelectPage(int index) { ShowPage(index); }
    int PageCount() const { return static_cast<int>(m_pageWindows.size()); }
    HWND PageWindow(int index) const { return index >= 0 && index < PageCount() ? m_pageWindows[index] : nullptr; }
    HWND Tabs() const { return m_tabs; }

    // A click handler may keep the form open by setting 0.
    void SetModalResult(int result) { m_modalResult = result; }
    int ModalResult() const { return m_modalResult; }

protected:
    // The controls exist, with their fonts and captions; the form is not yet visible.
    virtual void FormCreate() {}
    // The form is closing; its controls still exist.
    virtual void FormDestroy() {}
    // The form has been laid out again at a new DPI (Ppi), with new fonts.
    virtual void FormDpiChanged() {}
    // Centres the form on the full rectangle of the monitor under the cursor.
    void CentreOnCursorMonitor();
    // WM_CTLCOLORSTATIC of a row; return a brush to take over the colours.
    virtual HBRUSH CtlColor(int row, HDC dc) { return nullptr; }
    virtual void DrawItem(int row, const DRAWITEMSTRUCT& item) {}

private:
    // Message handling (form_dispatch.cpp).
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog(HWND hwnd);
    INT_PTR OnCtlColorStatic(HWND control, HDC dc);
    BOOL OnDrawItem(const DRAWITEMSTRUCT& item);
    BOOL OnSetCursor(HWND form, HWND under);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnCommand(int id);
    int RowOfWindow(HWND control) const;  // -1 when it is none of ours

    // Placing the controls once they exist (form_layout.cpp).
    void Build();
    void Layout();
    void MakeFonts();
    void SizeFrame();
    void PlaceCentredOn(const RECT& area);
    void PlacePage(int row);
    void PlaceControl(int row);
    void AddTabs(int tabsRow);
    void ShowPage(int index);
    void AutoSize(int row);
    void KeepRadioGroupsReachable();

    void EnableThreadWindows();

    // Names for screen readers (form_names.cpp): all of them once the controls exist,
    // and again those that a row's text names when it changes.
    void NameControls();
    void RenameFrom(int row);

    const Description& m_desc;
    int m_ppi;
    int m_fontPpi = 0;       // the DPI m_font was made for
    bool m_laidOut = false;  // the controls are placed: a DPI change lays them out again
    std::vector<RECT> m_bounds;
    std::vector<HWND> m_items;
    PageWindows m_pageWindows;
    std::vector<TemplateWriter> m_templates;  // [0] the form, then one per page
    HWND m_hwnd = nullptr;
    HWND m_tabs = nullptr;
    GdiObject<HFONT> m_font;
    GdiObject<HFONT> m_linkFont;
    int m_modalResult = 0;
    std::vector<HWND> m_disabled;
    AccessibleNames m_names;
    PageKeys m_pageKeys;
};

// A form whose controls are named by the enumeration Id (one enumerator per row, in
// row order): a misspelt or foreign control does not compile.
template <typename Id>
class FormOf : public Form {
public:
    using Form::Form;

    HWND Item(Id id) const { return Form::Item(RowOf(id)); }
    RECT Bounds(Id id) const { return Form::Bounds(RowOf(id)); }
    HWND Container(Id id) const { return Form::Container(RowOf(id)); }
    std::string Text(Id id) const { return Form::Text(RowOf(id)); }
    void SetText(Id id, const char* text) { Form::SetText(RowOf(id), text); }
    bool Checked(Id id) const { return Form::Checked(RowOf(id)); }
    void SetChecked(Id id, bool checked) { Form::SetChecked(RowOf(id), checked); }
    void SetVisible(Id id, bool visible) { Form::SetVisible(RowOf(id), visible); }
    bool Visible(Id id) const { return Form::Visible(RowOf(id)); }
    COLORREF SwatchColour(Id id) const { return Form::SwatchColour(RowOf(id)); }
    void SetSwatchColour(Id id, COLORREF colour) { Form::SetSwatchColour(RowOf(id), colour); }
    void Focus(Id id) { Form::Focus(RowOf(id)); }

protected:
    virtual HBRUSH ControlColour(Id id, HDC dc) { return nullptr; }
    virtual void DrawControl(Id id, const DRAWITEMSTRUCT& item) {}

private:
    HBRUSH CtlColor(int row, HDC dc) final { return ControlColour(static_cast<Id>(row), dc); }
    void DrawItem(int row, const DRAWITEMSTRUCT& item) final { DrawControl(static_cast<Id>(row), item); }
};

}  // namespace form
