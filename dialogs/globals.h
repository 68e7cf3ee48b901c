#pragma once
// The dialogs' module-wide variables, each with why it stays module-wide. Each is used by
// one file only and has internal linkage there; none is declared here for another file.
// The form variables that point to the open dialogs are the shell's (plugin/shell/globals.h).
//
// dialogs/form/page_keys.cpp
//   g_forms: the forms whose page keys are on. A message-filter hook is called with no
//     object of its own, and each form's hook looks through them all.
//   g_chord: a hot-key field takes every key down as the start of a new chord: the Ctrl
//     (or Shift) of a page key clears its shortcut before the page key itself arrives.
//     The value it had before the chord's first modifier is kept here, where the hook
//     finds it, and put back when a page key ends the chord.
// dialogs/form/host_messages.cpp
//   g_shownForms: the forms in a modal loop, innermost last, for the message-filter hook
//     that hands the host's own messages back to it (it has no object either).
// dialogs/form/form_controls.cpp
//   g_swatchUsers: how many colour swatches are alive. Their window class is the module's,
//     not a dialog's, so it is registered with the first and unregistered with the last.
// dialogs/form/form_layout.cpp
//   SetDialogDpiChangeBehavior, looked up once (a function-local constant): Windows 10
//     1703 and later have it, Wine 8 not.
