#include "support/file_bytes.h"

namespace {

// A settings file is small; a bigger one is no file of ours and is not read into memory.
constexpr LONGLONG kLargestFile = 16 * 1024 * 1024;

}  // namespace

bool HandleOwner::Close()
{
    if (!Valid()) return true;
    HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != FALSE;
}

FileRead ReadFileBytes(const std::wstring& i_path, std::string* o_bytes, DWORD* o_error)
{
    o_bytes->clear();
    *o_error = 0;
    HandleOwner file(CreateFileW(i_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        *o_error = GetLastError();
        return *o_error == ERROR_FILE_NOT_FOUND || *o_error == ERROR_PATH_NOT_FOUND ? FileRead::Missing : FileRead::Failed;
    }
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size)) {
        *o_error = GetLastError();
        return FileRead::Failed;
    }
    if (size.QuadPart > kLargestFile) {
        *o_error = ERROR_FILE_TOO_LARGE;
        return FileRead::Failed;
    }
    o_bytes->resize(static_cast<size_t>(size.QuadPart));
    for (size_t done = 0; done < o_bytes->size();) {
        DWORD got = 0;
        DWORD wanted = static_cast<DWORD>(o_bytes->size() - done);
        BOOL read = ReadFile(file.Get(), &(*o_bytes)[done], wanted, &got, nullptr);
        if (!read || got == 0) {
            // A file that ends before its size (cut meanwhile) is not the whole file.
            *o_error = read ? ERROR_HANDLE_EOF : GetLastError();
            o_bytes->clear();
            return FileRead::Failed;
        }
        done += got;
    }
    return FileRead::Read;
}

std::wstring LongPathForm(const std::wstring& i_path)
{
    if (i_path.size() < MAX_PATH || i_path.compare(0, 4, L"\\\\?\\") == 0) return i_path;
    if (i_path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + i_path.substr(2);
    return L"\\\\?\\" + i_path;
}
