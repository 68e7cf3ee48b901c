#include "host/log_view.h"

#include <vector>

#include "support/code_page_text.h"

namespace {

std::vector<std::string> g_lines;
HWND g_list;

void Show(const std::string& utf8)
{
    // A wide list: the plug-in's Japanese lines and the host's own show alike.
    std::u16string text = Utf16FromCodePage(CP_UTF8, utf8);
    LRESULT at = SendMessageW(g_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (at >= 0) SendMessageW(g_list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
}

}  // namespace

void AddLogViewLine(const std::string& utf8)
{
    g_lines.push_back(utf8);
    if (g_list) Show(utf8);
}

HWND MakeLogView(HWND parent)
{
    g_list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
                             LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0, 10, 10, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (g_list) {
        SendMessageW(g_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        SendMessageW(g_list, LB_SETHORIZONTALEXTENT, 2000, 0);
        for (const std::string& line : g_lines) Show(line);
    }
    return g_list;
}

void ForgetLogView() { g_list = nullptr; }
