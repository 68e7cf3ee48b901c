#pragma once
// A fresh folder for one test, removed with everything in it at the end.
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

std::string ReadWholeFile(const std::string& path);
std::string ReadWholeFile(const std::wstring& path);  // any name, through the wide functions
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// A path of the ANSI code page as the wide functions take it.
std::wstring Wide(const std::string& path);
// The bytes of a UTF-16 file of this text (little- or big-endian), byte order mark first.
std::string Utf16FileBytes(const std::u16string& text, bool bigEndian);
