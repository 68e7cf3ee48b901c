#pragma once
// The settings dialog and the version box as the shell opens them.

class TOKBottomDlg;
class TAboutBox;

// The settings dialog while it is shown, and the version box from its first use until
// teardown; exported as _OKBottomDlg and _AboutBox, and so defined beside the exports
// (exports.cpp).
extern TOKBottomDlg* g_okBottomDlg;
extern TAboutBox* g_aboutBox;

// HintOption's work once its turn has come: shows a fresh dialog modally; what its OK
// confirms is saved to the file at once.
void ShowOptionDialog();

// HintVersion's work: makes the box on first use, shows it modally.
void ShowVersionBox();

// At teardown: the box goes, or, while it is shown, as soon as its modal loop ends.
void FreeVersionBox();

// Teardown: an open dialog closes as its Cancel would, so the record keeps what it held.
void CancelOpenForms();
