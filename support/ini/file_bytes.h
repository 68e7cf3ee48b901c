#pragma once
// A whole file read through its wide name, telling a missing file from one that exists
// but cannot be read.
#include <windows.h>

#include <string>

enum class FileRead { Read, Missing, Failed };

// Missing only for "file not found" and "path not found" of a name that is not there (a
// link whose target is missing is Failed); any other failure (sharing,
// access, a short read) is Failed, with o_error set. The file is shared for delete too,
// so that another host's replace goes through while it is read. o_finalPath, when given,
// receives the name of the file read: the target's for a link, else i_path.
FileRead ReadFileBytes(const std::wstring& i_path, std::string* o_bytes, DWORD* o_error,
                       std::wstring* o_finalPath = nullptr);

// Writes all bytes at the file's current position; false with GetLastError set.
bool WriteAllBytes(HANDLE i_file, const std::string& i_bytes);

// The name as the file functions take it at any length: "\\?\" before a long one.
std::wstring LongPathForm(const std::wstring& i_path);
