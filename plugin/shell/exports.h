#pragma once
// Where the host enters the plug-in: the exported functions and the two form variables,
// all defined in exports.cpp.
#include "plugin/records/zlvn_interface.h"

class TOKBottomDlg;
class TAboutBox;

extern "C" {
#define ZLVN_DECLARE_EXPORT(name, result, params, bytes) result __stdcall name params;
ZLVN_PLUGIN_EXPORTS(ZLVN_DECLARE_EXPORT)
#undef ZLVN_DECLARE_EXPORT
}

// The settings dialog while it is shown, and the version box from its first use until
// the module is unloaded; exported as _OKBottomDlg and _AboutBox.
extern TOKBottomDlg* g_okBottomDlg;
extern TAboutBox* g_aboutBox;
