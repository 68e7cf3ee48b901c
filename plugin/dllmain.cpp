// The module entry routine of ZlvnHint.dll. The host table is already bound:
// static initialisation runs before this routine.
#include <windows.h>

#include "plugin/module_state.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    return AttachModule(instance) ? TRUE : FALSE;
}
