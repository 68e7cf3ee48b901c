#include "tests/common/import_patch.h"

#include <cstring>

namespace {

void WriteSlot(void** slot, void* value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

bool StillLoaded(HMODULE module, const void* address)
{
    HMODULE owner = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<const char*>(address), &owner) &&
           owner == module;
}

// Calls visit(name, slot) for each function a module imports by name from dll, until it returns true.
template <typename Visit>
void ForEachImport(HMODULE module, const char* dll, Visit visit)
{
    if (module == nullptr) return;
    BYTE* base = reinterpret_cast<BYTE*>(module);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return;
    for (auto imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name != 0; ++imp) {
        if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) continue;
        // The names sit in the lookup table; the addresses the loader wrote, in the parallel one.
        DWORD lookup = imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk;
        auto names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + lookup);
        auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (visit(reinterpret_cast<const char*>(name->Name), reinterpret_cast<void**>(&slots->u1.Function))) return;
        }
    }
}

}  // namespace

std::vector<std::string> ImportedNames(HMODULE module, const char* dll)
{
    std::vector<std::string> names;
    ForEachImport(module, dll, [&names](const char* name, void**) {
        names.push_back(name);
        return false;
    });
    return names;
}

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement) : m_module(module)
{
    ForEachImport(module, dll, [&](const char* name, void** slot) {
        if (strcmp(name, function) == 0) m_slot = slot;
        return m_slot != nullptr;
    });
    if (m_slot == nullptr) return;
    m_original = *m_slot;
    WriteSlot(m_slot, replacement);
}

ImportPatch::~ImportPatch() { if (m_slot && StillLoaded(m_module, m_slot)) WriteSlot(m_slot, m_original); }
