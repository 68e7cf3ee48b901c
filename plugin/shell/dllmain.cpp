// The module entry routine of ZlvnHint.dll. The host table is already bound:
// static initialisation runs before this routine.
#include <windows.h>

#include "plugin/records/guard.h"
#include "plugin/shell/lifecycle.h"

namespace {

// Mapped until the process ends: a FreeLibrary from inside one of our modal loops, or
// from another thread while our windows live, must not unmap the code they run.
void PinModule()
{
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&PinModule), &pinned);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    // Pinned, the module is detached only as the process ends, which takes our windows
    // with it: detach does nothing, and nothing of USER or GDI runs under the loader lock.
    // Teardown gives back what a session made.
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    PrepareUnwinding();
    return Guarded("DllMain", FALSE, [instance] {
        if (!AttachModule(instance)) return FALSE;  // refused: unloaded as usual
        PinModule();
        return TRUE;
    });
}
