// Names for screen readers of the rows that the form's description lists.
#include "dialogs/form/form.h"

#include "dialogs/dialog_rules.h"

namespace form {

namespace {

std::wstring WindowTextW(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(got > 0 ? got : 0);
    return text;
}

}  // namespace

void Form::NameControls()
{
    for (size_t i = 0; i < m_desc.nameCount; ++i) RenameFrom(m_desc.names[i].label);
}

void Form::RenameFrom(int row)
{
    for (size_t i = 0; i < m_desc.nameCount; ++i) {
        const NamedRow& named = m_desc.names[i];
        HWND item = Item(named.row);
        if (named.label != row || !item) continue;
        // A label's caption is fixed; a row named by its own text shows what it holds now.
        std::wstring caption = named.label == named.row ? WindowTextW(item) : Wide(m_desc.controls[named.label].caption);
        m_names.Set(item, AccessibleName(Wide(named.prefix), caption));
    }
}

}  // namespace form
