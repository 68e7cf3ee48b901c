#pragma once
// The host's quick-option record as last read; only byte 3 is interpreted.
extern unsigned char g_savedQuickOption[8];
