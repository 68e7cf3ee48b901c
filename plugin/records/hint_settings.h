#pragma once
// The plug-in's one settings record: read by the hints every time they are
// built, placed or painted, edited by the settings dialog, kept in the settings file.
#include <windows.h>

struct font_style_t {
    unsigned char Bold;
    unsigned char Italic;
    unsigned char Underline;
    unsigned char StrikeOut;
};

struct hint_settings_t {
    int Enable;
    int Pos;
    int Contents;
    int Width;
    int IsUseBmp;
    char BgNormal[260];
    char BgIconic[260];
    COLORREF NmlBorderColor;
    COLORREF NmlBgColor;
    COLORREF MinBorderColor;
    COLORREF MinBgColor;
    char FontName[32];
    int FontSize;
    font_style_t FontStyle;
    COLORREF FontColor;
    int IsNoOver;
    int IsShowIcon;
    char ToggleEnable[24];
};

// The pictures shipped beside the module, which an empty BgNormal or BgIconic means.
constexpr char kDefaultNormalPicture[] = "bgnml.bmp";
constexpr char kDefaultIconicPicture[] = "bgicn.bmp";


// The settings file keeps the four style flags as bits 1, 2, 4 and 8 of one integer.
font_style_t UnpackFontStyle(int bits);
int PackFontStyle(const font_style_t& style);
