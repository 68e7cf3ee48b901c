#include "plugin/records/guard.h"

#include "plugin/records/globals.h"
#include "plugin/records/host_api.h"
#include "plugin/records/module_state.h"

// Level 2: an error, above the warnings of the version check. The line is formatted on
// the stack, so reporting a failed allocation needs none.
void ReportEntryFailure(const char* i_where, const char* i_what) noexcept
{
    try {
        g_zlvnAPI.Print(kLogFailure, kPluginName, "%s failed: %s", i_where, i_what);
    } catch (...) {
    }
}

void PrepareUnwinding() noexcept
{
    try {
        throw 0;
    } catch (...) {
    }
}
