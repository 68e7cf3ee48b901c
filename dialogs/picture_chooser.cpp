#include "dialogs/picture_chooser.h"

#include <commdlg.h>

#include <cstring>

#include "dialogs/form/form_template.h"
#include "dialogs/form/visual_styles.h"
#include "plugin/records/window_of.h"
#include "support/dpi_awareness.h"
#include "support/owners.h"

namespace {

constexpr char kPreviewHookName[] = "PreviewHook";
constexpr int kPreviewId = 1200;

// The chooser's extra part: a frame with the selected bitmap, scaled to fit. The
// ChoosePicture call that the chooser runs in owns it, so every picture it showed goes with it.
class Preview {
public:
    UINT_PTR OnMessage(HWND hdlg, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void ShowSelected(HWND hdlg);
    void Draw(const DRAWITEMSTRUCT& item) const;
    GdiObject<HBITMAP> m_shown;
};
using PreviewOf = WindowOf<Preview, &Preview::OnMessage, kPreviewHookName>;

void Preview::ShowSelected(HWND hdlg)
{
    char path[MAX_PATH] = {};
    SendMessageA(GetParent(hdlg), CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
    m_shown.Reset(static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    InvalidateRect(GetDlgItem(hdlg, kPreviewId), nullptr, FALSE);
}

// Shrinks w x h to fit the box, keeping the picture's proportions.
void FitInto(int boxW, int boxH, int* w, int* h)
{
    if (*w <= boxW && *h <= boxH) return;
    if (static_cast<long long>(*w) * boxH > static_cast<long long>(*h) * boxW) {
        *h = MulDiv(*h, boxW, *w);
        *w = boxW;
    } else {
        *w = MulDiv(*w, boxH, *h);
        *h = boxH;
    }
}

void Preview::Draw(const DRAWITEMSTRUCT& item) const
{
    RECT box = item.rcItem;
    FillRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
    HBITMAP picture = m_shown.Get();
    BITMAP info;
    if (picture && GetObjectA(picture, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight > 0) {
        int boxW = box.right - box.left, boxH = box.bottom - box.top;
        int w = info.bmWidth, h = info.bmHeight;
        FitInto(boxW, boxH, &w, &h);
        MemoryDc source(item.hDC);
        Selection selected(source.Get(), picture);
        SetStretchBltMode(item.hDC, HALFTONE);
        StretchBlt(item.hDC, box.left + (boxW - w) / 2, box.top + (boxH - h) / 2, w, h, source.Get(), 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
    }
    DrawEdge(item.hDC, &box, BDR_SUNKENOUTER, BF_RECT);
}

UINT_PTR Preview::OnMessage(HWND hdlg, UINT msg, WPARAM, LPARAM lParam)
{
    switch (msg) {
    case WM_NOTIFY:
        if (reinterpret_cast<const OFNOTIFYA*>(lParam)->hdr.code == static_cast<UINT>(CDN_SELCHANGE)) ShowSelected(hdlg);
        return 0;
    case WM_DRAWITEM: Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    default: return 0;
    }
}

// The preview part's template, in fixed memory as the chooser wants a memory handle.
GlobalMemory PreviewTemplate()
{
    form::TemplateWriter tmpl(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_CONTROL | DS_3DLOOK, 0, 200, 104, "");
    tmpl.Add(kPreviewId - 1, form::kButtonAtom, nullptr, "プレビュー", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 7, 0, 186, 100);
    tmpl.Add(kPreviewId, form::kStaticAtom, nullptr, "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 14, 12, 172, 82);
    GlobalMemory memory(GlobalAlloc(GMEM_FIXED, tmpl.Size()));
    if (memory) memcpy(memory.Get(), tmpl.Get(), tmpl.Size());
    return memory;
}

}  // namespace

bool ChoosePicture(HWND owner, char* io_file, size_t size)
{
    PerMonitorDpiScope perMonitor;
    GlobalMemory preview = PreviewTemplate();
    Preview shown;  // outlives the chooser, so every picture it showed goes with it
    OPENFILENAMEA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = owner;
    chooser.lpstrFilter = "ビットマップ (*.bmp)\0*.bmp\0すべてのファイル (*.*)\0*.*\0";
    chooser.lpstrFile = io_file;
    chooser.nMaxFile = static_cast<DWORD>(size);
    chooser.lpstrDefExt = "bmp";
    chooser.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_ENABLEHOOK |
                    (preview ? OFN_ENABLETEMPLATEHANDLE : 0);
    chooser.hInstance = reinterpret_cast<HINSTANCE>(preview.Get());
    chooser.lpfnHook = PreviewOf::ChooserHook<OPENFILENAMEA>;
    chooser.lCustData = reinterpret_cast<LPARAM>(&shown);
    form::VisualStylesScope styles;
    return GetOpenFileNameA(&chooser) != FALSE;
}
