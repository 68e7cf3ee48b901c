#pragma once
// In-memory dialog templates: a form and each of its pages become a DLGTEMPLATE, so
// that the dialog manager gives us Tab order, Enter/Esc, the close box and the &
// accelerators.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "dialogs/form/form_rows.h"

namespace form {

// Captions are Shift-JIS whatever the thread's code page is.
std::wstring Wide(const char* text);

// The system's predefined control classes, as a template names them.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

// Builds an in-memory dialog template (DLGTEMPLATE, DWORD-aligned items).
class TemplateWriter {
public:
    TemplateWriter(DWORD style, DWORD exStyle, short cx, short cy, const char* title);
    // classAtom: one of the atoms above, or 0 to use className.
    void Add(WORD id, WORD classAtom, const wchar_t* className, const char* caption, DWORD style,
             DWORD exStyle, short x = 0, short y = 0, short cx = 0, short cy = 0);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
    size_t Size() const { return m_words.size() * sizeof(WORD); }

private:
    void Align();
    void Text(const char* text);
    std::vector<WORD> m_words;
};

// The dialog item id of a row: IDOK and IDCANCEL for the form's two buttons.
WORD ControlId(const Control& c);

// [0] the form itself, then one child-dialog template per Page row, in row order.
// Positions stay zero: the form places its controls in design pixels once they exist.
std::vector<TemplateWriter> BuildTemplates(const Description& d);

}  // namespace form
