#pragma once
// The settings dialog.
class TOKBottomDlg;

// Points to the settings dialog while it is shown.
extern "C" TOKBottomDlg* _OKBottomDlg;
