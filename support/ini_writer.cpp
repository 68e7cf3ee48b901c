#include "support/ini_writer.h"

#include <windows.h>

#include <cstdint>

#include "support/code_page_text.h"
#include "support/file_bytes.h"
#include "support/ini_encoding.h"
#include "support/last_error.h"

namespace {

// Another host's save takes milliseconds; one that hangs longer does not hold ours for ever.
constexpr DWORD kLockWaitMs = 5000;

StepResult Failed(const char* i_step, DWORD i_error)
{
    ZLVN_RECORD_FAILURE("%s failed: error %lu", i_step, static_cast<unsigned long>(i_error));
    return StepResult{i_step, i_error};
}

// One mutex per file for the whole read-change-replace: "Local\ZlvnHint-" and a hash of
// the upper-cased path (a mutex name may not hold '\').
class FileLock {
public:
    explicit FileLock(const std::wstring& i_path)
    {
        std::wstring upper = i_path;
        if (!upper.empty()) CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
        uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (wchar_t c : upper) hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
        wchar_t name[64];
        wsprintfW(name, L"Local\\ZlvnHint-%08lx%08lx", static_cast<unsigned long>(hash >> 32),
                  static_cast<unsigned long>(hash & 0xFFFFFFFFu));
        m_mutex = CreateMutexW(nullptr, FALSE, name);
        if (m_mutex == nullptr) {
            m_error = GetLastError();
            return;
        }
        // Abandoned: a host was stopped while it held the lock; the file is whole all the same.
        DWORD wait = WaitForSingleObject(m_mutex, kLockWaitMs);
        m_owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        if (!m_owned) m_error = wait == WAIT_TIMEOUT ? ERROR_TIMEOUT : GetLastError();
    }
    ~FileLock()
    {
        if (m_owned) ReleaseMutex(m_mutex);
        if (m_mutex) CloseHandle(m_mutex);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Owned() const { return m_owned; }
    DWORD Error() const { return m_error; }

private:
    HANDLE m_mutex = nullptr;
    bool m_owned = false;
    DWORD m_error = 0;
};

// A folder that will not take a new name or a replace there (a virtualised folder).
bool Refused(DWORD i_error) { return i_error == ERROR_ACCESS_DENIED; }

// Writes all bytes at the file's current position; o_step names the call that failed.
bool WriteAll(HANDLE i_file, const std::string& i_bytes, const char** o_step)
{
    *o_step = "WriteFile";
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

// The temporary file beside the settings file, deleted however the save ends (after a
// successful replace it is gone already). A killed run's leftover is overwritten.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& i_path) : m_path(LongPathForm(i_path + L".tmp")) {}
    ~TemporaryFile() { DeleteFileW(m_path.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const { return m_path; }
    // Creates, writes, flushes and closes; false with the failed call and its error.
    // o_refused: the folder would not let the file be made.
    bool Write(const std::string& i_bytes, const char** o_step, DWORD* o_error, bool* o_refused)
    {
        HandleOwner file(CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        *o_error = file.Valid() ? 0 : GetLastError();
        *o_refused = Refused(*o_error);
        *o_step = "CreateFileW";
        if (!file.Valid()) return false;
        bool done = WriteAll(file.Get(), i_bytes, o_step);
        if (done) {
            *o_step = "FlushFileBuffers";
            done = FlushFileBuffers(file.Get()) != FALSE;
        }
        if (done) {
            *o_step = "CloseHandle";
            done = file.Close();
        }
        if (!done) *o_error = GetLastError();
        return done;
    }

private:
    std::wstring m_path;
};

// For a folder that refuses new names: the file itself, made the new size first (a full
// disk then fails before a byte changed), then written whole at once and flushed.
StepResult WriteInPlace(const std::wstring& i_path, const std::string& i_bytes, size_t i_oldSize)
{
    HandleOwner file(CreateFileW(i_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return Failed("CreateFileW in place", GetLastError());
    LARGE_INTEGER size = {}, start = {};
    size.QuadPart = static_cast<LONGLONG>(i_bytes.size());
    if (i_bytes.size() > i_oldSize) {
        if (!SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN)) return Failed("SetFilePointerEx", GetLastError());
        if (!SetEndOfFile(file.Get())) return Failed("SetEndOfFile", GetLastError());
    }
    const char* step = nullptr;
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return Failed("SetFilePointerEx", GetLastError());
    if (!WriteAll(file.Get(), i_bytes, &step)) return Failed(step, GetLastError());
    if (!SetEndOfFile(file.Get())) return Failed("SetEndOfFile", GetLastError());
    if (!FlushFileBuffers(file.Get())) return Failed("FlushFileBuffers", GetLastError());
    if (!file.Close()) return Failed("CloseHandle", GetLastError());
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

StepResult WriteIniFile(const std::wstring& i_path, const std::vector<ini_edit_t>& i_edits)
{
    FileLock lock(i_path);
    if (!lock.Owned()) return Failed("taking the settings file's lock", lock.Error());

    // Only what could be read is written over; a missing file starts empty.
    const std::wstring path = LongPathForm(i_path);
    std::string old;
    DWORD error = 0;
    FileRead read = ReadFileBytes(path, &old, &error);
    if (read == FileRead::Failed) return Failed("reading the settings file", error);
    const std::string bytes = EditIniFile(old, InFileEncoding(old, i_edits));
    if (read == FileRead::Read && bytes == old) return StepResult{};
    // The read-only attribute is the user's word; Wine run as root would let the file be
    // replaced and written all the same.
    DWORD attributes = read == FileRead::Read ? GetFileAttributesW(path.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return Failed("writing a read-only file", ERROR_ACCESS_DENIED);

    TemporaryFile temporary(i_path);
    const char* step = nullptr;
    bool refused = false;
    if (!temporary.Write(bytes, &step, &error, &refused)) {
        if (!refused) return Failed(step, error);
        return WriteInPlace(path, bytes, old.size());
    }
    // ReplaceFileW keeps the file's ACLs and attributes. Wine's moves the old file aside
    // before it moves the new one in, so there is a moment without a file there.
    const DWORD keepGoing = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
    if (read == FileRead::Read &&
        ReplaceFileW(path.c_str(), temporary.Path().c_str(), nullptr, keepGoing, nullptr, nullptr))
        return StepResult{};
    if (MoveFileExW(temporary.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return StepResult{};
    error = GetLastError();
    if (!Refused(error)) return Failed("MoveFileExW", error);
    return WriteInPlace(path, bytes, old.size());
}
