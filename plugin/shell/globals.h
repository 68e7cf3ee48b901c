#pragma once
// The shell's module-wide variables. Everything the shell keeps between the host's calls
// is in the session; only what the host reads by name stands beside it.
#include "plugin/shell/session.h"

class TOKBottomDlg;
class TAboutBox;

// The host's calls carry no context: what one call leaves for the next lives here.
extern plugin_session_t g_session;

// Exported as data (_OKBottomDlg, _AboutBox), so the host reads them by name: the settings
// dialog while it is shown, and the version box from its first use until teardown.
// Defined beside the exports (exports.cpp).
extern TOKBottomDlg* g_okBottomDlg;
extern TAboutBox* g_aboutBox;
