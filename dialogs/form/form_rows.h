#pragma once
// A form's description: one row per control, in the order of the form's control-id
// enumeration, so that a row's index is its control's id. Rows are written with the
// typed ids (form::Row), so the compiler checks every control and parent named in them.
#include <cstddef>
#include <vector>

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
using Handler = void (*)(Form& form);

template <typename>
struct member_of;
template <typename T>
struct member_of<void (T::*)()> {
    using type = T;
};

// Calls a handler of the derived form that the row belongs to.
template <auto handler>
void Invoke(Form& form)
{
    (static_cast<typename member_of<decltype(handler)>::type&>(form).*handler)();
}

// Handler of a derived form, bound in a row: On<&TForm::ButtonClick>. A plain function
// pointer, so that a form's rows stay a constant the compiler can check.
template <auto handler>
constexpr Handler On = &Invoke<handler>;

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

constexpr int kNoRow = -1;  // as a parent: the form itself

struct Control {
    int id;                   // the row's own index
    Kind kind;
    int parent;               // row of the parent, or kNoRow
    const char* caption;      // Shift-JIS bytes; nullptr: none
    Design design;            // relative to the parent
    int tab;                  // tab order among its siblings; -1: not a tab stop
    Handler handler;          // click (buttons, radio buttons, check boxes, swatches, links)
    unsigned flags;
    int focusTarget;          // row that a label's accelerator focuses, or kNoRow
};

// The row index of a typed control id.
template <typename Id>
constexpr int RowOf(Id id) { return static_cast<int>(id); }

// A row in typed ids: Id is a form's control enumeration, whose None (-1) stands for
// the form itself as a parent and for "no target".
template <typename Id>
constexpr Control Row(Id id, Kind kind, Id parent, const char* caption, Design design, int tab,
                      Handler handler = nullptr, unsigned flags = 0, Id focusTarget = Id::None)
{
    return {RowOf(id), kind, RowOf(parent), caption, design, tab, handler, flags, RowOf(focusTarget)};
}

// Whether every row stands at the index of its own id (checked at compile time by each form).
template <size_t N>
constexpr bool InIdOrder(const Control (&rows)[N])
{
    for (size_t r = 0; r < N; ++r)
        if (rows[r].id != static_cast<int>(r)) return false;
    return true;
}

// A form lists its controls once, as X(name) for each in row order; these make the
// enumerators, their count and their names from that list.
#define FORM_CONTROL_ENUMERATOR(name) name,
#define FORM_CONTROL_COUNT_ONE(name) +1
#define FORM_CONTROL_NAME(name) #name,

// A control that a screen reader cannot name from the label before it, named by the caption
// of row label instead (by its own text when label is the row itself), after prefix.
struct NamedRow {
    int row;
    int label;
    const char* prefix;  // Shift-JIS bytes; nullptr: none
};

template <typename Id>
constexpr NamedRow Named(Id row, Id label, const char* prefix = nullptr)
{
    return {RowOf(row), RowOf(label), prefix};
}

struct Description {
    const char* title;
    int clientWidth, clientHeight;  // design pixels
    int designPpi;
    const char* fontFace;
    int fontHeight;  // design pixels, character height
    const Control* controls;
    size_t count;
    const NamedRow* names = nullptr;
    size_t nameCount = 0;
};

// The row tree of a description.
bool Inside(const Description& d, int row, int ancestor);
int PageOf(const Description& d, int row);  // the Page row that holds a row, or -1
// A parent's rows in the order the dialog manager walks them: plain rows, then the tab
// stops in tab order, each preceded by the labels whose accelerator focuses it.
std::vector<int> Children(const Description& d, int parent);

}  // namespace form
