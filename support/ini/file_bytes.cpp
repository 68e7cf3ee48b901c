#include "support/ini/file_bytes.h"

#include "support/owners.h"

namespace {

// A settings file is small; a bigger one is no file of ours and is not read into memory.
constexpr LONGLONG kLargestFile = 16 * 1024 * 1024;

// The name the system resolved the open file to: a symbolic link's target (also a link
// made on the Unix side under Wine). "\\?\C:\..." serves the file functions as it is.
std::wstring FinalPath(HANDLE i_file, const std::wstring& i_fallback)
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(i_file, &path[0], static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    if (length >= path.size()) {
        path.resize(length);
        length = GetFinalPathNameByHandleW(i_file, &path[0], static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    }
    if (length == 0 || length >= path.size()) return i_fallback;
    path.resize(length);
    return path;
}

}  // namespace

FileRead ReadFileBytes(const std::wstring& i_path, std::string* o_bytes, DWORD* o_error, std::wstring* o_finalPath)
{
    o_bytes->clear();
    *o_error = 0;
    if (o_finalPath) *o_finalPath = i_path;
    HandleOwner file(CreateFileW(i_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        *o_error = GetLastError();
        // A name that is there but opens as not found is a symbolic link whose target is
        // missing: not readable, and no save may put a file in the link's place.
        bool missing = *o_error == ERROR_FILE_NOT_FOUND || *o_error == ERROR_PATH_NOT_FOUND;
        return missing && GetFileAttributesW(i_path.c_str()) == INVALID_FILE_ATTRIBUTES ? FileRead::Missing : FileRead::Failed;
    }
    if (o_finalPath) *o_finalPath = FinalPath(file.Get(), i_path);
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

bool WriteAllBytes(HANDLE i_file, const std::string& i_bytes)
{
    for (size_t done = 0; done < i_bytes.size();) {
        DWORD wrote = 0;
        if (!WriteFile(i_file, i_bytes.data() + done, static_cast<DWORD>(i_bytes.size() - done), &wrote, nullptr))
            return false;
        if (wrote == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += wrote;
    }
    return true;
}

std::wstring LongPathForm(const std::wstring& i_path)
{
    if (i_path.size() < MAX_PATH || i_path.compare(0, 4, L"\\\\?\\") == 0) return i_path;
    if (i_path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + i_path.substr(2);
    return L"\\\\?\\" + i_path;
}
