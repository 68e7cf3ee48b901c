#include "support/ini/file_replace.h"

#include "support/ini/file_bytes.h"
#include "support/owners.h"
#include "support/pumped_wait.h"

namespace {

// About ten tries over about half a second: Defender, the indexer and sync clients open
// a new file for a moment.
constexpr int kAttempts = 10;
constexpr DWORD kRetryMs = 50;

// Errors that another program holding one of the files gives for a moment.
bool Passing(DWORD i_error)
{
    return i_error == ERROR_SHARING_VIOLATION || i_error == ERROR_ACCESS_DENIED ||
           i_error == ERROR_UNABLE_TO_REMOVE_REPLACED || i_error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

bool Exists(const std::wstring& i_path) { return GetFileAttributesW(i_path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Only a file of this one name is ours to fill: a hard link made to it would carry the
// settings into someone else's file.
bool HasOneName(HANDLE i_file)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileInformationByHandle(i_file, &info) && info.nNumberOfLinks > 1) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

}  // namespace

// In the long form when the suffix takes a name of 256 to 259 characters past MAX_PATH.
std::wstring TemporaryName(const std::wstring& i_file) { return LongPathForm(i_file + L".tmp"); }
std::wstring BackupName(const std::wstring& i_file) { return LongPathForm(i_file + L".bak"); }

bool WriteTemporaryFile(const std::wstring& i_file, const std::string& i_bytes, const char** o_step, DWORD* o_error)
{
    const std::wstring name = TemporaryName(i_file);
    DeleteFileW(name.c_str());
    HandleOwner file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    *o_step = "CreateFileW";
    const bool made = file.Valid();
    bool done = made;
    if (done && !(done = HasOneName(file.Get()))) *o_step = "a temporary file with another name";
    if (done && !(done = WriteAllBytes(file.Get(), i_bytes))) *o_step = "WriteFile";
    if (done && !(done = FlushFileBuffers(file.Get()) != FALSE)) *o_step = "FlushFileBuffers";
    if (done && !(done = file.Close())) *o_step = "CloseHandle";
    *o_error = done ? 0 : GetLastError();
    if (made && !done) {
        // Made by us and not filled: deleting it takes only this one name away.
        file.Close();
        DeleteFileW(name.c_str());
    }
    return done;
}

StepResult ReplaceWithTemporaryFile(const std::wstring& i_file, bool i_fileExists)
{
    const std::wstring temporary = TemporaryName(i_file), backup = BackupName(i_file);
    // With a backup name of ours every outcome the reference documents leaves the files
    // under names we know: 1176 keeps both names, 1177 leaves the old file as the backup.
    const DWORD keepGoing = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
    bool replace = i_fileExists;
    const char* step = "MoveFileExW";
    DWORD error = 0;
    for (int waits = 0;;) {
        bool done = false;
        if (replace && Exists(i_file)) {
            step = "ReplaceFileW";
            done = ReplaceFileW(i_file.c_str(), temporary.c_str(), backup.c_str(), keepGoing, nullptr, nullptr) != FALSE;
        } else {
            step = "MoveFileExW";
            done = MoveFileExW(temporary.c_str(), i_file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        }
        if (done) {
            DeleteFileW(backup.c_str());
            return StepResult{};
        }
        error = GetLastError();
        if (!Passing(error)) {
            // 1177: the old file went to the backup name, and the move puts the new one
            // in place. A file system without the replace (some shares) has the move too.
            if (!replace) break;
            replace = false;
            continue;
        }
        if (++waits >= kAttempts) break;
        WaitAnsweringSentMessages(nullptr, kRetryMs);
    }
    // The new bytes stay under the temporary name while the file is missing: the next
    // open takes them back.
    if (Exists(i_file)) {
        DeleteFileW(temporary.c_str());
        DeleteFileW(backup.c_str());
    }
    return StepResult{step, error};
}

bool HalfDoneSaveLeft(const std::wstring& i_file)
{
    return !Exists(i_file) && (Exists(TemporaryName(i_file)) || Exists(BackupName(i_file)));
}

std::wstring TakeBackHalfDoneSave(const std::wstring& i_file)
{
    if (Exists(i_file)) return {};
    for (const std::wstring& name : {TemporaryName(i_file), BackupName(i_file)}) {
        if (MoveFileExW(name.c_str(), i_file.c_str(), MOVEFILE_WRITE_THROUGH)) {
            DeleteFileW(BackupName(i_file).c_str());
            return name;
        }
        // The older backup only when there is no newer temporary file, never in place of
        // one that a scanner holds for a moment.
        if (Exists(name)) return {};
    }
    return {};
}
