#include "support/ini/ini_writer.h"

#include <windows.h>

#include "support/code_page_text.h"
#include "support/ini/file_bytes.h"
#include "support/ini/file_lock.h"
#include "support/ini/file_replace.h"
#include "support/ini/ini_encoding.h"
#include "support/owners.h"

namespace {

// For a folder that refuses new names: the file itself, made the new size first (a full
// disk then fails before a byte changed), then written whole at once and flushed.
StepResult WriteInPlace(const std::wstring& i_path, const std::string& i_bytes, size_t i_oldSize)
{
    HandleOwner file(CreateFileW(i_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return StepResult{"CreateFileW in place", GetLastError()};
    LARGE_INTEGER size = {}, start = {};
    size.QuadPart = static_cast<LONGLONG>(i_bytes.size());
    if (i_bytes.size() > i_oldSize) {
        if (!SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN)) return StepResult{"SetFilePointerEx", GetLastError()};
        if (!SetEndOfFile(file.Get())) return StepResult{"SetEndOfFile", GetLastError()};
    }
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return StepResult{"SetFilePointerEx", GetLastError()};
    if (!WriteAllBytes(file.Get(), i_bytes)) return StepResult{"WriteFile", GetLastError()};
    if (!SetEndOfFile(file.Get())) return StepResult{"SetEndOfFile", GetLastError()};
    if (!FlushFileBuffers(file.Get())) return StepResult{"FlushFileBuffers", GetLastError()};
    if (!file.Close()) return StepResult{"CloseHandle", GetLastError()};
    return StepResult{};
}

// The edits with their values in the file's own text encoding.
std::vector<ini_edit_t> InFileEncoding(const std::string& i_bytes, std::vector<ini_edit_t> edits)
{
    size_t mark = 0;
    if (DetectIniEncoding(i_bytes, &mark) == IniEncoding::Ansi) return edits;
    for (ini_edit_t& edit : edits) edit.value = Utf8FromAnsi(edit.value);
    return edits;
}

}  // namespace

StepResult WriteIniFile(const std::wstring& i_path, const std::function<std::vector<ini_edit_t>()>& i_edits)
{
    FileLock lock(i_path);
    const std::vector<ini_edit_t> edits = i_edits();
    if (edits.empty()) return StepResult{};
    const std::wstring path = LongPathForm(i_path);
    // A save that an earlier one left half done starts from the settings it left.
    TakeBackHalfDoneSave(path);
    if (HalfDoneSaveLeft(path)) return StepResult{"taking back the settings of a half-done save", ERROR_FILE_NOT_FOUND};

    // Only what could be read is written over; a missing file starts empty. A link's
    // target is saved beside itself, so that the link stays.
    std::string old;
    std::wstring target;
    DWORD error = 0;
    FileRead read = ReadFileBytes(path, &old, &error, &target);
    if (read == FileRead::Failed) return StepResult{"reading the settings file", error};
    const std::string bytes = EditIniFile(old, InFileEncoding(old, edits));
    if (read == FileRead::Read && bytes == old) return StepResult{};
    // The read-only attribute is the user's word; Wine run as root would let the file be
    // replaced and written all the same.
    DWORD attributes = read == FileRead::Read ? GetFileAttributesW(target.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return StepResult{"writing a read-only file", ERROR_ACCESS_DENIED};

    const char* step = nullptr;
    if (!WriteTemporaryFile(target, bytes, &step, &error)) {
        // Only a folder that will not let the file be made at all (a virtualised folder)
        // gets the file written in place, through the link if there is one.
        if (error == ERROR_ACCESS_DENIED && std::string(step) == "CreateFileW") return WriteInPlace(path, bytes, old.size());
        return StepResult{step, error};
    }
    // ReplaceFileW keeps the file's ACLs and attributes. Wine's moves the old file aside
    // before it moves the new one in, so there is a moment without a file there.
    return ReplaceWithTemporaryFile(target, read == FileRead::Read);
}

FileRead ReadIniFile(const std::wstring& i_path, std::string* o_bytes, DWORD* o_error, std::wstring* o_taken)
{
    FileLock lock(i_path);
    const std::wstring path = LongPathForm(i_path);
    *o_taken = TakeBackHalfDoneSave(path);
    FileRead read = ReadFileBytes(path, o_bytes, o_error);
    if (read != FileRead::Missing || !HalfDoneSaveLeft(path)) return read;
    *o_error = ERROR_SHARING_VIOLATION;
    return FileRead::Failed;
}
