#pragma once
// Points one entry of a loaded module's import table at another function, so a test
// can watch the module's calls to the system, and back again at the end.
#include <windows.h>

#include <string>
#include <vector>

class ImportPatch {
public:
    // dll as the import table names it ("GDI32.dll"; case does not matter).
    ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
    // Puts the original back, unless the module was unloaded meanwhile.
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool Patched() const { return m_slot != nullptr; }  // false: the module does not import it
    void* Original() const { return m_original; }

private:
    HMODULE m_module;
    void** m_slot = nullptr;
    void* m_original = nullptr;
};

// The names a module imports from dll.
std::vector<std::string> ImportedNames(HMODULE module, const char* dll);
