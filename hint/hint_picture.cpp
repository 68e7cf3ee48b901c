#include "hint/hint_picture.h"

#include <cstring>

#include "plugin/records/hint_settings.h"
#include "support/bounded_text.h"

namespace {

// Plain data, no destructor: nothing of GDI runs at process exit under the loader lock.
struct kept_picture_t {
    bool read;
    char path[sizeof HintSettings.BgNormal];
    hint_picture_t picture;
};

kept_picture_t g_kept[2];  // [0] not minimized, [1] minimized

void Drop(kept_picture_t& kept)
{
    HBITMAP bitmap = kept.picture.bitmap;
    kept = kept_picture_t{};
    if (bitmap) DeleteObject(bitmap);
}

void Read(kept_picture_t& kept, const char* i_path)
{
    if (kept.read && strcmp(kept.path, i_path) == 0) return;
    Drop(kept);
    kept.read = true;
    CopyText(kept.path, i_path);
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, i_path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    BITMAP info = {};
    if (bitmap && GetObjectA(bitmap, sizeof info, &info) == 0) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    kept.picture = hint_picture_t{bitmap, info.bmWidth, info.bmHeight};
}

}  // namespace

void ReadHintPictures()
{
    if (!HintSettings.IsUseBmp) return;
    Read(g_kept[0], HintSettings.BgNormal);
    Read(g_kept[1], HintSettings.BgIconic);
}

const hint_picture_t* HintPicture(bool iconic)
{
    const kept_picture_t& kept = g_kept[iconic ? 1 : 0];
    return kept.picture.bitmap ? &kept.picture : nullptr;
}

void DropHintPictures()
{
    for (kept_picture_t& kept : g_kept) Drop(kept);
}
