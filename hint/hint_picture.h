#pragma once
// The hints' background pictures: each is read from its file once, at the first showing
// that needs it, and kept as a bitmap until its path, the picture mode or the settings
// change, or the set of hints goes, so that no later showing or paint reads a file (a
// picture on an unreachable share would hold up the host's thread every time).
#include <windows.h>

#include "plugin/records/hint_settings.h"

struct hint_picture_t {
    HBITMAP bitmap;  // null: the file could not be read
    int width;
    int height;
};

class HintPictures {
public:
    HintPictures() = default;
    ~HintPictures() { Drop(); }
    HintPictures(const HintPictures&) = delete;
    HintPictures& operator=(const HintPictures&) = delete;

    // With IsUseBmp set: reads the picture of each window state whose path differs from
    // the one kept (or none is kept); a file that cannot be read is not tried again until
    // its path changes or the pictures are dropped. Without IsUseBmp, drops them.
    void Read(const hint_settings_t& settings);
    // The kept picture for a target that is minimized or not; null when there is none.
    const hint_picture_t* Picture(bool iconic) const;
    // Every kept bitmap is given back.
    void Drop();

private:
    struct kept_t {
        bool read;
        char path[sizeof hint_settings_t::BgNormal];
        hint_picture_t picture;
    };
    static void Drop(kept_t& kept);
    static void Read(kept_t& kept, const char* i_path, const char* i_default);

    kept_t m_kept[2] = {};  // [0] not minimized, [1] minimized
};
