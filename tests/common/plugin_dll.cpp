#include "tests/common/plugin_dll.h"

#include "tests/common/guard_heap.h"

std::string ProgramDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

PluginDll::PluginDll(const std::string& fileName) : m_path(m_dir.File(fileName))
{
    CopyFileA((ProgramDir() + "\\ZlvnHint.dll").c_str(), m_path.c_str(), FALSE);
}

PluginDll::~PluginDll() { Unload(); }

bool PluginDll::Load()
{
    SetLastError(0);
    m_module = LoadLibraryA(m_path.c_str());
    m_error = m_module ? 0 : GetLastError();
    guard_heap::CoverIfActive(m_module);
    return m_module != nullptr;
}

void PluginDll::Unload()
{
    if (m_module) FreeLibrary(m_module);
    m_module = nullptr;
}
