#pragma once
// The hints' background pictures: each is read from its file once, at the first showing
// that needs it, and kept as a bitmap until its path, the picture mode or the settings
// change, or teardown, so that no later showing or paint reads a file (a picture on an
// unreachable share would hold up the host's thread every time).
#include <windows.h>

#include "plugin/records/hint_settings.h"

struct hint_picture_t {
    HBITMAP bitmap;  // null: the file could not be read
    int width;
    int height;
};

// Before a showing, with IsUseBmp set: reads the picture of each window state whose
// path differs from the one kept (or none is kept); a file that cannot be read is not
// tried again until its path changes or the pictures are dropped. Without IsUseBmp,
// drops them.
void ReadHintPictures(const hint_settings_t& settings);

// The kept picture for a target that is minimized or not; null when there is none.
const hint_picture_t* HintPicture(bool iconic);

// The settings changed, or the hints went at teardown: every kept bitmap is given back.
void DropHintPictures();
