#include "support/lead_byte.h"

// Code page 932's lead bytes, for builds without the system's own table.
bool IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
