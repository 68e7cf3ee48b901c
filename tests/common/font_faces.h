#pragma once
// The font faces the system lists for the screen.
#include <windows.h>

#include <string>
#include <vector>

struct font_face_t {
    std::string name;
    DWORD type;  // TRUETYPE_FONTTYPE and the other bits EnumFontFamiliesExA reports
};

// Every face listed, or with a name only the faces of that name.
std::vector<font_face_t> FontFaces(const std::string& name = "");
