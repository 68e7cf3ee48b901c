#include "dialogs/HintUnitOpt.h"

#include "plugin/exports.h"

TOKBottomDlg* _OKBottomDlg;

extern "C" void __stdcall HintOption(void*) {}
