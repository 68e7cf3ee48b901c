#pragma once
// The plug-in speaks the ANSI code page (932); consoles and logs here want UTF-8.
#include <string>

std::string AnsiToUtf8(const char* i_text);

// A settings file's bytes as a person reads them: decoded by its byte order mark (UTF-8,
// UTF-16 LE or BE), else from the ANSI code page, as the plug-in reads it.
// o_encoding receives the name of what was found.
std::string SettingsFileAsUtf8(const std::string& i_bytes, std::string* o_encoding);
