// The module entry routine of ZlvnHint.dll. The host table is already bound:
// static initialisation runs before this routine.
#include <windows.h>

#include "plugin/records/guard.h"
#include "plugin/records/module_state.h"
#include "plugin/shell/lifecycle.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        PrepareUnwinding();
        return Guarded("DllMain", FALSE, [instance] { return AttachModule(instance) ? TRUE : FALSE; });
    }
    // FreeLibrary: our window procedures go with the module, so must every window and
    // class of ours. At process exit (reserved set) the system takes everything anyway.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) Guarded("DllMain", [] { ReleaseModule(); });
    return TRUE;
}
