#pragma once
// Texts between a Windows code page and the UTF-8 that the settings file's rules work in,
// through the system's conversions (as the profile reader converts).
#include <windows.h>

#include <string>

std::u16string Utf16FromCodePage(UINT codePage, const std::string& i_text);
std::string Utf8FromAnsi(const std::string& i_text);
std::string AnsiFromUtf8(const std::string& i_text);
// False when the ANSI code page cannot hold every character (no best-fit stand-ins).
bool ExactAnsiFromWide(const std::wstring& i_text, std::string* o_text);
