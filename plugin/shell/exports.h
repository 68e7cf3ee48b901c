#pragma once
// Where the host enters the plug-in: the exported functions, all defined in exports.cpp
// together with the two form variables (declared in forms.h).
#include "plugin/records/zlvn_interface.h"

extern "C" {
#define ZLVN_DECLARE_EXPORT(name, result, params, ...) result __stdcall name params;
ZLVN_PLUGIN_EXPORTS(ZLVN_DECLARE_EXPORT)
#undef ZLVN_DECLARE_EXPORT
}
