#include "tests/common/temp_dir.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/owners.h"

// Read-only files and folders too: a test may leave one behind.
static void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
        std::string name = found.cFileName, path = dir + "\\" + name;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

// The plug-in DLL pins itself: a copy stays loaded until its process ends, and its folder
// with it. The folders of processes that have ended go when the next one makes its first.
static bool RemoveFoldersOfEndedProcesses(const std::string& base)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((base + "zlvn_*").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
        HandleOwner process(OpenProcess(SYNCHRONIZE, FALSE, strtoul(found.cFileName + 5, nullptr, 10)));
        bool ended = !process.Valid() || WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
        if (ended) RemoveTree(base + found.cFileName);
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return true;
}

TempDir::TempDir()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    [[maybe_unused]] static const bool swept = RemoveFoldersOfEndedProcesses(base);
    static int counter = 0;
    do m_path = std::string(base) + "zlvn_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    while (!CreateDirectoryA(m_path.c_str(), nullptr));
}

TempDir::~TempDir() { RemoveTree(m_path); }

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string ReadWholeFile(const std::wstring& path)
{
    std::string bytes;
    if (FILE* in = _wfopen(path.c_str(), L"rb")) {
        char block[4096];
        for (size_t got; (got = fread(block, 1, sizeof block, in)) > 0;) bytes.append(block, got);
        fclose(in);
    }
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring Wide(const std::string& path)
{
    std::wstring wide(path.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], static_cast<int>(wide.size())));
    return wide;
}

std::string Utf16FileBytes(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";
    for (char16_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xff);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}
