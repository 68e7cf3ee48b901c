#pragma once
// The hint font's keys as a font and back, said once for the hints' painting and the
// settings dialog: FontName is the face, FontStyle the weight (bold is 700, else 400) and
// the italic, underline and strike-out bytes, FontSize a character height at a DPI.
// FontColor is no part of a font: each user carries it beside.
#include <windows.h>

#include "plugin/records/hint_settings.h"

// The record's face, style and size at i_dpi (a negative height: the character's own);
// every other member 0, for the user to choose (character set, quality, pitch).
LOGFONTA FontFromSettings(const hint_settings_t& i_settings, int i_dpi);
// A font's face (cut to the field), style and size at i_dpi into FontName, FontStyle and
// FontSize; a weight of 700 or more is bold, a positive (cell) height counts as the
// character's. FontColor and the other fields stay.
void FontIntoSettings(const LOGFONTA& i_font, int i_dpi, hint_settings_t& io_settings);
