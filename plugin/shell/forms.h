#pragma once
// The settings dialog and the version box as the shell opens them.

#include "plugin/shell/globals.h"  // g_okBottomDlg and g_aboutBox, the form variables

// HintOption's work once its turn has come: shows a fresh dialog modally; what its OK
// confirms is saved to the file at once.
void ShowOptionDialog();

// HintVersion's work: makes the box on first use, shows it modally.
void ShowVersionBox();

// At teardown: the box goes, or, while it is shown, as soon as its modal loop ends.
void FreeVersionBox();

// Teardown: an open dialog closes as its Cancel would, so the record keeps what it held.
void CancelOpenForms();
