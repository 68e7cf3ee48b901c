#pragma once
// What the test programs under Wine share: GoogleTest, the Windows API, the standard
// containers, the host's records, the plug-in's shared state and the test helpers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "hint/globals.h"
#include "host/zlvn_host.h"
#include "plugin/records/globals.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/menu.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/exports.h"
#include "plugin/shell/host_events.h"
#include "plugin/shell/lifecycle.h"
#include "support/bounded_text.h"
#include "support/last_error.h"
#include "tests/common/fresh_state.h"
#include "tests/common/plugin_dll.h"
#include "tests/common/temp_dir.h"
#include "tests/common/wait.h"

using zlvnhost::AddListItem;
using zlvnhost::Host;

// A host function of the interface's table by its name ("Zlvn_GetList"), for messages.
inline const char* HostFunctionName(ZlvnFn fn)
{
    static const char* const names[] = {
#define ZLVN_NAME_ROW(name, result, params, bytes) "Zlvn_" #name,
        ZLVN_HOST_FUNCTIONS(ZLVN_NAME_ROW)
#undef ZLVN_NAME_ROW
    };
    return names[static_cast<int>(fn)];
}
