#pragma once
// The dialogs' module-wide variables, each with why it stays module-wide. The form
// variables that point to the open dialogs are the shell's (plugin/shell/globals.h).
#include <windows.h>

#include <vector>

namespace form {

class Form;

// The forms whose page keys are on (page_keys.cpp): a message-filter hook is called with
// no object of its own, and each form's hook looks through them all.
extern std::vector<Form*> g_forms;

// A hot-key field takes every key down as the start of a new chord: the Ctrl (or Shift)
// of a page key clears its shortcut before the page key itself arrives. The value it had
// before the chord's first modifier is kept here, where the hook finds it, and put back
// when a page key ends the chord.
struct chord_t {
    HWND field = nullptr;
    WORD before = 0;
};
extern chord_t g_chord;

// How many colour swatches are alive (form_controls.cpp): their window class is the
// module's, not a dialog's, so it is registered with the first and unregistered with the last.
extern int g_swatchUsers;

}  // namespace form
