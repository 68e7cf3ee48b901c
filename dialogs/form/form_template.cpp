#include "dialogs/form/form_template.h"

#include <commctrl.h>

#include "dialogs/form/form_controls.h"

namespace form {

namespace {

constexpr WORD kFirstRowId = 1000;

bool Focusable(Kind kind)
{
    switch (kind) {
    case Kind::Tabs: case Kind::Radio: case Kind::Check: case Kind::Button:
    case Kind::Edit: case Kind::HotKey: case Kind::Swatch:
        return true;
    default:
        return false;
    }
}

struct item_class_t {
    WORD atom;             // 0: by name
    const wchar_t* name;
    DWORD style, exStyle;  // added to the common ones
};

item_class_t ClassOf(const Control& c)
{
    switch (c.kind) {
    case Kind::Tabs: return {0, WC_TABCONTROLW, WS_CLIPSIBLINGS, 0};
    case Kind::Group: return {kButtonAtom, nullptr, BS_GROUPBOX, 0};
    case Kind::Panel: return {kStaticAtom, nullptr, SS_ETCHEDFRAME, 0};
    case Kind::Radio: return {kButtonAtom, nullptr, BS_AUTORADIOBUTTON, 0};
    case Kind::Check: return {kButtonAtom, nullptr, BS_AUTOCHECKBOX, 0};
    case Kind::Button:
        return {kButtonAtom, nullptr, static_cast<DWORD>((c.flags & kOkButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
    case Kind::Edit: return {kEditAtom, nullptr, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Label:
    case Kind::Link: {
        DWORD style = (c.flags & kWordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP;
        if (c.flags & kNoPrefix) style |= SS_NOPREFIX;
        if (c.flags & kCentreV) style |= SS_CENTERIMAGE;
        if (c.kind == Kind::Link) style |= SS_NOTIFY;
        return {kStaticAtom, nullptr, style, 0};
    }
    case Kind::Bevel:
    case Kind::Picture: return {kStaticAtom, nullptr, SS_OWNERDRAW, 0};
    case Kind::HotKey: return {0, HOTKEY_CLASSW, 0, WS_EX_CLIENTEDGE};
    case Kind::Swatch: return {0, kSwatchClassW, 0, 0};
    case Kind::Page: break;
    }
    return {0, nullptr, 0, 0};
}

// Adds the rows of one parent, frames with their contents right after them.
void Emit(const Description& d, TemplateWriter& tmpl, int parent, int& previous)
{
    for (int r : Children(d, parent)) {
        const Control& c = d.controls[r];
        if (c.kind == Kind::Page) continue;  // a template of its own
        bool radioRun = c.kind == Kind::Radio && previous >= 0 && d.controls[previous].kind == Kind::Radio &&
                        d.controls[previous].parent == parent;
        DWORD style = WS_CHILD | WS_VISIBLE;
        if (!radioRun) style |= WS_GROUP;
        // Only the first radio button of a group is a tab stop; checking moves it.
        if (c.tab >= 0 && Focusable(c.kind) && !radioRun) style |= WS_TABSTOP;
        item_class_t cls = ClassOf(c);
        tmpl.Add(ControlId(c), cls.atom, cls.name, c.caption, style | cls.style, cls.exStyle);
        previous = r;
        if (c.kind == Kind::Group || c.kind == Kind::Panel) Emit(d, tmpl, r, previous);
    }
}

}  // namespace

std::wstring Wide(const char* text)
{
    if (text == nullptr || *text == '\0') return std::wstring();
    int n = MultiByteToWideChar(932, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(932, 0, text, -1, &wide[0], n);
    if (!wide.empty()) wide.pop_back();
    return wide;
}

TemplateWriter::TemplateWriter(DWORD style, DWORD exStyle, short cx, short cy, const char* title)
{
    m_words = {LOWORD(style), HIWORD(style), LOWORD(exStyle), HIWORD(exStyle), 0, 0, 0,
               static_cast<WORD>(cx), static_cast<WORD>(cy), 0 /* menu */, 0 /* class */};
    Text(title);
}

void TemplateWriter::Align()
{
    if (m_words.size() % 2) m_words.push_back(0);
}

void TemplateWriter::Text(const char* text)
{
    std::wstring wide = Wide(text);
    for (wchar_t c : wide) m_words.push_back(static_cast<WORD>(c));
    m_words.push_back(0);
}

void TemplateWriter::Add(WORD id, WORD classAtom, const wchar_t* className, const char* caption, DWORD style,
                         DWORD exStyle, short x, short y, short cx, short cy)
{
    Align();
    m_words.insert(m_words.end(), {LOWORD(style), HIWORD(style), LOWORD(exStyle), HIWORD(exStyle),
                                   static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx),
                                   static_cast<WORD>(cy), id});
    if (classAtom) {
        m_words.push_back(0xFFFF);
        m_words.push_back(classAtom);
    } else {
        for (const wchar_t* p = className; *p; ++p) m_words.push_back(static_cast<WORD>(*p));
        m_words.push_back(0);
    }
    Text(caption);
    m_words.push_back(0);  // no creation data
    ++m_words[4];
}

WORD ControlId(const Control& c)
{
    if (c.flags & kOkButton) return IDOK;
    if (c.flags & kCancelButton) return IDCANCEL;
    return static_cast<WORD>(kFirstRowId + c.id);
}

std::vector<TemplateWriter> BuildTemplates(const Description& d)
{
    std::vector<TemplateWriter> templates;
    templates.emplace_back(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK, 0, 0, 0, d.title);
    int previous = -1;
    Emit(d, templates[0], kNoRow, previous);
    for (size_t r = 0; r < d.count; ++r) {
        if (d.controls[r].kind != Kind::Page) continue;
        templates.emplace_back(WS_CHILD | DS_CONTROL | DS_3DLOOK, WS_EX_CONTROLPARENT, 0, 0, "");
        previous = -1;
        Emit(d, templates.back(), static_cast<int>(r), previous);
    }
    return templates;
}

}  // namespace form
