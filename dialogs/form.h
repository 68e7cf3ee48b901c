#pragma once
// A small form layer: a form is a table of rows (one per control) and a builder
// turns it into a dialog of real Win32 controls through an in-memory template, so
// that the dialog manager gives us Tab order, Enter/Esc, the close box and the
// & accelerators. Positions are design pixels, scaled to the screen's resolution.
//
// Pages of a tab control become child dialogs over the tab's display area; group
// frames and panels are flattened into the window that holds them.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "support/gdi_owner.h"

namespace form {

enum class Kind : unsigned char {
    Tabs,     // SysTabControl32; its Page rows are its pages, in row order
    Page,     // caption is the tab's text; no design rectangle
    Group,    // BUTTON group frame; holds the rows that name it as parent
    Panel,    // etched frame; holds the rows that name it as parent
    Radio,    // exclusive only with the radio buttons of the same parent
    Check,
    Button,
    Edit,
    Label,
    Link,     // label drawn as a link: blue, underlined, hand cursor, clickable
    Bevel,    // lowered box drawn around other rows
    HotKey,   // msctls_hotkey32
    Swatch,   // clickable colour box of our own
    Picture,  // drawn by the form (DrawItem)
};

class Form;
using Handler = void (Form::*)();

// Handler of a derived form, bound in a row.
template <typename T>
constexpr Handler On(void (T::*handler)()) { return static_cast<Handler>(handler); }

struct Design {
    int left, top, width, height;
};

enum Flags : unsigned {
    kOkButton = 1 << 0,      // IDOK: the default button, closes with IDOK
    kCancelButton = 1 << 1,  // IDCANCEL: Esc and the close box, closes with IDCANCEL
    kNoPrefix = 1 << 2,      // '&' is shown, not an accelerator
    kCentreV = 1 << 3,       // one line, centred vertically
    kAutoSize = 1 << 4,      // label fits itself to its text
    kWordWrap = 1 << 5,      // label wraps at its width
};

struct Control {
    const char* name;
    Kind kind;
    const char* parent;       // nullptr: the form itself
    const char* caption;      // Shift-JIS bytes; nullptr: none
    Design design;            // relative to the parent
    int tab;                  // tab order among its siblings; -1: not a tab stop
    Handler handler;          // click (buttons, radio buttons, check boxes, swatches, links)
    unsigned flags;
    const char* focusTarget;  // a label whose accelerator focuses this row
};

struct Description {
    const char* title;
    int clientWidth, clientHeight;  // design pixels
    int designPpi;
    const char* fontFace;
    int fontHeight;  // design pixels, character height
    const Control* controls;
    size_t count;
};

// The swatch control's messages: the colour (COLORREF) in wParam / as the result.
constexpr UINT kSwatchSetColor = WM_USER + 1;
constexpr UINT kSwatchGetColor = WM_USER + 2;

// Screen pixels per inch (vertical), as the forms scale to it.
int ScreenPpi();

// The module that holds this code (the plug-in, or a test program that links it).
HINSTANCE CodeModule();

// Builds an in-memory dialog template (DLGTEMPLATE, DWORD-aligned items).
class TemplateWriter {
public:
    TemplateWriter(DWORD style, DWORD exStyle, short cx, short cy, const char* title);
    // classAtom: 0x0080 BUTTON ... 0x0082 STATIC, or 0 to use className.
    void Add(WORD id, WORD classAtom, const wchar_t* className, const char* caption, DWORD style,
             DWORD exStyle, short x = 0, short y = 0, short cx = 0, short cy = 0);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
    size_t Size() const { return m_words.size() * sizeof(WORD); }

private:
    void Align();
    void Text(const char* text);
    std::vector<WORD> m_words;
};

class Form {
public:
    explicit Form(const Description& description);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Shows the form modally to every window of this thread; IDOK or IDCANCEL.
    int ShowModal(HWND owner);
    // Closes a shown form with a result (handlers set it with SetModalResult).
    void EndModal(int result);
    // Closes a shown form as its Cancel would, with any chooser or message box open over it.
    void Cancel();

    HWND Handle() const { return m_hwnd; }
    const Description& Desc() const { return m_desc; }
    int Ppi() const { return m_ppi; }
    HFONT FormFont() const { return m_font.Get(); }

    // Row by name; -1 when there is none.
    int Row(const char* name) const;
    HWND Item(const char* name) const;
    // Where the row lies, in the client coordinates of the window that holds it
    // (the form or a page): the design rectangle scaled, parents' offsets added.
    RECT Bounds(const char* name) const;
    // The window a row's control lives in (the form or a page).
    HWND Container(const char* name) const;

    std::string Text(const char* name) const;
    void SetText(const char* name, const char* text);
    bool Checked(const char* name) const;
    void SetChecked(const char* name, bool checked);
    // Shows or hides a row and every row inside it.
    void SetVisible(const char* name, bool visible);
    bool Visible(const char* name) const;
    COLORREF SwatchColor(const char* name) const;
    void SetSwatchColor(const char* name, COLORREF colour);
    void Focus(const char* name);
    int ActivePage() const;
    void SelectPage(int index) { ShowPage(index); }

    // A click handler may keep the form open by setting 0.
    void SetModalResult(int result) { m_modalResult = result; }
    int ModalResult() const { return m_modalResult; }

protected:
    // The controls exist, with their fonts and captions; the form is not yet visible.
    virtual void FormCreate() {}
    // The form is closing; its controls still exist.
    virtual void FormDestroy() {}
    // WM_CTLCOLORSTATIC of a row; return a brush to take over the colours.
    virtual HBRUSH CtlColor(int row, HDC dc) { return nullptr; }
    virtual void DrawItem(int row, const DRAWITEMSTRUCT& item) {}

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TabsProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id);
    void Build();
    void ShowPage(int index);
    void AutoSize(int row);
    void KeepRadioGroupsReachable();
    void EnableThreadWindows();

    int PageOf(int row) const;    // the Page row that holds a row, or -1
    bool Inside(int row, int ancestor) const;
    std::vector<int> Children(int parent) const;  // in tab order
    void Emit(TemplateWriter& tmpl, int parent, int& previousEmitted);

    const Description& m_desc;
    int m_ppi;
    std::vector<RECT> m_bounds;
    std::vector<HWND> m_items;
    std::vector<int> m_pages;  // Page rows, in row order
    std::vector<HWND> m_pageWindows;
    std::vector<TemplateWriter> m_templates;  // [0] the form, then one per page
    HWND m_hwnd = nullptr;
    HWND m_tabs = nullptr;
    WNDPROC m_tabsProc = nullptr;
    GdiObject<HFONT> m_font;
    GdiObject<HFONT> m_linkFont;
    int m_modalResult = 0;
    std::vector<HWND> m_disabled;
};

}  // namespace form
