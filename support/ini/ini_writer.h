#pragma once
// Writes values into a settings file whole. Under a named lock per file (two hosts never
// interleave; file_lock.h), the file's current bytes are read, the values changed in
// them (ini_edit.h), and the new bytes written to a temporary file beside it, flushed,
// and put in the file's place in one step (file_replace.h), so that a kill at any moment
// leaves the whole old file or the whole new one. Where the folder refuses to let the
// temporary file be made (a virtualised folder), the file is written in place in one
// write and flushed.
#include <functional>
#include <string>
#include <vector>

#include "support/ini/file_bytes.h"
#include "support/ini/ini_edit.h"
#include "support/step_result.h"

// i_edits makes the edits once the lock is held: the lock's wait answers sent messages,
// and a save that runs in it (the host's teardown) changes what is left to write. Their
// values are in the ANSI code page; a UTF-8 or UTF-16 file gets them in its own
// encoding. Nothing is written when there are none or the bytes would stay the same. A
// failure leaves the file as it was and returns the step and its error, which the caller
// reports (nothing else records it). The temporary file has a fixed name beside the file (its name and ".tmp"), and
// so has the old file during the replace (".bak"); for a link, beside the link's target.
StepResult WriteIniFile(const std::wstring& i_path, const std::function<std::vector<ini_edit_t>()>& i_edits);

// Set-up's read, under the lock that saves take, so that no save falls between taking
// back what a save left half done and reading. o_taken: the name taken back, or empty.
// A file whose leftovers cannot be moved yet (a scanner holds them) is not readable yet:
// Failed with a sharing violation, never Missing, so that no save starts from nothing.
FileRead ReadIniFile(const std::wstring& i_path, std::string* o_bytes, DWORD* o_error, std::wstring* o_taken);
