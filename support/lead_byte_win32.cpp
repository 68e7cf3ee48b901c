#include "support/lead_byte.h"

#include <windows.h>

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
