#pragma once
// The settings file's new bytes after a save: only the values written change, on exactly
// the lines the reader (ini_text.h) reads them from; every other byte stays. A key that
// stands twice has its first occurrence changed; a missing key goes after the last line
// of its section that is not blank, a missing section at the end of the file. New lines
// take the file's own line end (its first one; CRLF in a file without any) and its
// encoding: an ANSI or UTF-8 file is edited byte for byte, a UTF-16 one as UTF-8 text.
#include <string>
#include <vector>

struct ini_edit_t {
    std::string section, key;
    std::string value;  // in the file's text: ANSI bytes for a file without a mark, else UTF-8
};

// The file's bytes with every edit applied in order. A value is cut at a line end, which
// it cannot hold. When nothing changes, the bytes come back as they were.
std::string EditIniFile(const std::string& i_bytes, const std::vector<ini_edit_t>& i_edits);
