#pragma once
// The real ZlvnHint.dll, copied into a folder of the test's own and loaded into
// the test program, which plays the host.
#include <windows.h>

#include <string>

#include "tests/common/temp_dir.h"

// Folder of the running test program, where the build puts ZlvnHint.dll.
std::string ProgramDir();

class PluginDll {
public:
    // Copies ZlvnHint.dll as dir\fileName (and nothing is loaded until Load).
    explicit PluginDll(const std::string& fileName = "ZlvnHint.dll");
    ~PluginDll();

    bool Load();  // false when the plug-in refused to load; error() tells why
    void Unload();

    HMODULE Module() const { return m_module; }
    DWORD Error() const { return m_error; }
    const std::string& Path() const { return m_path; }
    const TempDir& Dir() const { return m_dir; }

    template <typename Fn>
    Fn Get(const char* name) const
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

    void OnGetPluginInfo(char* info) const { Get<void(__stdcall*)(char*)>("Zlvn_OnGetPluginInfo")(info); }
    int OnSetup() const { return Get<int(__stdcall*)(void*)>("Zlvn_OnSetup")(nullptr); }
    void OnSetupSubMenu(int* count, void* items) const
    {
        Get<void(__stdcall*)(int*, void*)>("Zlvn_OnSetupSubMenu")(count, items);
    }
    int OnTeardown() const { return Get<int(__stdcall*)()>("Zlvn_OnTeardown")(); }
    void Call(const char* name) const { Get<void(__stdcall*)()>(name)(); }
    void Command(const char* name) const { Get<void(__stdcall*)(void*)>(name)(nullptr); }

private:
    TempDir m_dir;
    std::string m_path;
    HMODULE m_module = nullptr;
    DWORD m_error = 0;
};
