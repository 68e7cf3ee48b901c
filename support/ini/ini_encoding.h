#pragma once
// How the platform's profile reader decodes a settings file's bytes: a UTF-8 or UTF-16
// byte order mark picks that encoding, any other file is in the ANSI code page. The
// parser then reads the text as UTF-8, in which no byte below 0x80 is part of a
// longer character.
#include <cstddef>
#include <string>

enum class IniEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The encoding that the reader takes i_bytes for; o_markSize receives its mark's size.
IniEncoding DetectIniEncoding(const std::string& i_bytes, size_t* o_markSize);

// UTF-16 text from bytes in the given order; an odd last byte reads as a character of
// that byte's value, as the reader reads it.
std::u16string Utf16FromBytes(const std::string& i_bytes, bool i_bigEndian);

// UTF-16 to UTF-8 and back. An unpaired surrogate travels in its own three-byte form,
// so the way back gives exactly the UTF-16 text again.
std::string Utf8FromUtf16(const std::u16string& i_text);
std::u16string Utf16FromUtf8(const std::string& i_text);
