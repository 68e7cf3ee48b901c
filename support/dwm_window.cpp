#include "support/dwm_window.h"

#include "support/proc_address.h"
#include "support/system_module.h"

namespace {

// Not in MinGW's headers for every Windows version we build for.
constexpr DWORD kDwmExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
constexpr DWORD kDwmCloaked = 14;             // DWMWA_CLOAKED

dwm_get_window_attribute_t LoadAttributeReader()
{
    // Kept loaded for the life of the process: freeing a module from inside another
    // module's unload is not allowed, and every composited desktop has it loaded anyway.
    HMODULE module = LoadSystemModule(L"dwmapi.dll");
    if (module == nullptr) return nullptr;
    return As<dwm_get_window_attribute_t>(GetProcAddress(module, "DwmGetWindowAttribute"));
}

}  // namespace

Seam<dwm_get_window_attribute_t>& DwmGetWindowAttributeFn()
{
    static Seam<dwm_get_window_attribute_t> reader(LoadAttributeReader);
    return reader;
}

namespace {

// One attribute into o_value, which is left alone when the manager gives no answer.
template <typename T>
bool ReadAttribute(HWND window, DWORD attribute, T* o_value)
{
    dwm_get_window_attribute_t read = DwmGetWindowAttributeFn().Get();
    T value = {};
    if (read == nullptr || FAILED(read(window, attribute, &value, sizeof value))) return false;
    *o_value = value;
    return true;
}

}  // namespace

// Wine's dwmapi answers E_NOTIMPL to every attribute, so under Wine no window is
// cloaked and every hint is placed from the window rectangle, as without composition.
bool IsCloaked(HWND window)
{
    DWORD cloaked = 0;
    return ReadAttribute(window, kDwmCloaked, &cloaked) && cloaked != 0;
}

bool ExtendedFrameBounds(HWND window, RECT* o_frame) { return ReadAttribute(window, kDwmExtendedFrameBounds, o_frame); }
