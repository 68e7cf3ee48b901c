#pragma once
// Whether a byte starts a double-byte character in the system's ANSI code page.
// The plug-in asks Windows; the native build of the rules uses code page 932.
bool IsLeadByte(unsigned char byte);
