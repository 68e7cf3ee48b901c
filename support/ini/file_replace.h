#pragma once
// Puts new bytes in a file's place in one step, through two names of our own beside it:
// the file's name and ".tmp" for the new bytes, and ".bak" where the replace moves the
// old file. Whatever a replace, a scanner, a kill or a power loss leaves, the settings
// stand whole under one of these three names, and the next open takes them back.
#include <windows.h>

#include <string>

#include "support/step_result.h"

std::wstring TemporaryName(const std::wstring& i_file);
std::wstring BackupName(const std::wstring& i_file);

// The new bytes in a temporary file that is ours alone: a leftover of that name is
// deleted first (a link goes, never its target), the file is made new, never opened
// through a link or written when it has another name. Written, flushed and closed.
// false with the failed call in o_step and its error in o_error.
bool WriteTemporaryFile(const std::wstring& i_file, const std::string& i_bytes, const char** o_step, DWORD* o_error);

// Moves the temporary file into i_file's place (i_fileExists: replaced, keeping its
// ACLs and attributes). A scanner or sync client that holds either file for a moment is
// waited out. After a failure the temporary file is deleted only while i_file stands.
StepResult ReplaceWithTemporaryFile(const std::wstring& i_file, bool i_fileExists);

// When i_file is missing but a save left it under the temporary or the backup name,
// puts that one back (the temporary first: it holds the newer bytes; the backup only
// when there is no temporary file) and deletes the other. Returns the name taken back,
// or an empty text.
std::wstring TakeBackHalfDoneSave(const std::wstring& i_file);
// i_file is missing and a save's temporary or backup file still holds the settings
// (one that could not be taken back yet): no save may start from an empty file.
bool HalfDoneSaveLeft(const std::wstring& i_file);
