#pragma once
// The plug-in speaks the ANSI code page (932); consoles and logs here want UTF-8.
#include <string>

std::string AnsiToUtf8(const char* i_text);
