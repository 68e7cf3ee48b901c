#include "hint/hint_picture.h"

#include <cstring>
#include <string>

#include "plugin/records/globals.h"
#include "plugin/records/module_state.h"
#include "support/bounded_text.h"
#include "support/code_page_text.h"
#include "support/owners.h"

namespace {

// The file's wide name: an empty path is the picture shipped beside the module, whose
// folder the ANSI code page may not hold.
std::wstring PictureFile(const char* i_path, const char* i_default)
{
    if (i_path[0] != '\0') {
        const std::u16string wide = Utf16FromCodePage(CP_ACP, i_path);
        return std::wstring(wide.begin(), wide.end());
    }
    const std::wstring dir = ModuleDirectory(g_hModule);
    return dir.empty() ? dir : dir + L"\\" + std::wstring(i_default, i_default + strlen(i_default));
}

// The system ran out of memory or handles: the file itself may be fine.
bool OutOfResources(DWORD i_error)
{
    return i_error == ERROR_NOT_ENOUGH_MEMORY || i_error == ERROR_OUTOFMEMORY || i_error == ERROR_NO_SYSTEM_RESOURCES;
}

}  // namespace

void HintPictures::Drop(kept_t& kept)
{
    HBITMAP bitmap = kept.picture.bitmap;
    kept = kept_t{};
    if (bitmap) DeleteObject(bitmap);
}

void HintPictures::Read(kept_t& kept, const char* i_path, const char* i_default)
{
    if (kept.read && strcmp(kept.path, i_path) == 0) return;
    const std::wstring file = PictureFile(i_path, i_default);  // before anything changes: it may throw
    Drop(kept);
    GdiObject<HBITMAP> bitmap;
    if (!file.empty())
        bitmap.Reset(static_cast<HBITMAP>(LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    const DWORD error = bitmap ? 0 : GetLastError();
    BITMAP info = {};
    if (bitmap && GetObjectA(bitmap.Get(), sizeof info, &info) == 0) bitmap.Reset();
    // A file that could not be read is not tried again; a read that ran out of resources is.
    kept.read = bitmap || (!file.empty() && !OutOfResources(error));
    CopyText(kept.path, i_path);
    // The kept picture is plain data from here on: Drop deletes it.
    kept.picture = hint_picture_t{bitmap.Release(), info.bmWidth, info.bmHeight};
}

void HintPictures::Read(const hint_settings_t& settings)
{
    // Pictures turned off are given back; turned on again, they are read afresh.
    if (!settings.IsUseBmp) return Drop();
    Read(m_kept[0], settings.BgNormal, kDefaultNormalPicture);
    Read(m_kept[1], settings.BgIconic, kDefaultIconicPicture);
}

const hint_picture_t* HintPictures::Picture(bool iconic) const
{
    const kept_t& kept = m_kept[iconic ? 1 : 0];
    return kept.picture.bitmap ? &kept.picture : nullptr;
}

void HintPictures::Drop()
{
    for (kept_t& kept : m_kept) Drop(kept);
}
