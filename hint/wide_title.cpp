#include "hint/wide_title.h"

#include <algorithm>
#include <new>

#include "hint/hint_rules.h"
#include "hint/title_rules.h"

namespace {

constexpr UINT kTitleRequestTimeoutMs = 100;

// The title, at most size - 1 units; 0 when there is none or it cannot be had in time.
int ReadTitle(HWND window, wchar_t* o_title, int size)
{
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(window, &process);
    if (thread == 0) return 0;
    // GetWindowTextW reads another process's title from the system's copy and sends
    // nothing; a window of this process is sent WM_GETTEXT, which another thread of it
    // that hangs would never answer.
    if (process != GetCurrentProcessId() || thread == GetCurrentThreadId()) return GetWindowTextW(window, o_title, size);
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(o_title),
                             SMTO_BLOCK | SMTO_ABORTIFHUNG, kTitleRequestTimeoutMs, &length)) {
        return 0;
    }
    return static_cast<int>(std::min<DWORD_PTR>(length, static_cast<DWORD_PTR>(size - 1)));
}

// As GetWindowTextA converts it, which is how the host came by its item text: the
// system's best fit, and '?' for what the code page cannot hold.
std::string InAnsi(const wchar_t* i_text, int length, bool* o_lost)
{
    BOOL lost = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, 0, i_text, length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(bytes, 0)), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, i_text, length, &text[0], bytes, nullptr, &lost);
    *o_lost = lost != FALSE;
    return text;
}

}  // namespace

std::wstring WideDisplayTextOf(HWND target, const std::string& i_item, int contents) noexcept
try {
    // Only an item text with a '?' can have lost a character: no other title is read.
    if (i_item.find('?') == std::string::npos) return std::wstring();
    wchar_t title[kHintTextSize] = {};
    int length = ReadTitle(target, title, static_cast<int>(kHintTextSize));
    if (length <= 0) return std::wstring();
    bool lost = false;
    std::string titleInAnsi = InAnsi(title, length, &lost);
    if (!TitleStandsForItem(i_item, titleInAnsi, lost)) return std::wstring();
    std::u16string shown = WideDisplayText(std::u16string(title, title + length), contents);
    return std::wstring(shown.begin(), shown.end());
} catch (const std::bad_alloc&) {
    return std::wstring();  // the item text stands: a showing never fails for want of the title
}
