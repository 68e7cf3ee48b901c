#include "hint/hint_wnd_mgr.h"

#include <algorithm>
#include <vector>

#include "hint/bring_to_front.h"
#include "hint/get_zlvn_list.h"
#include "hint/globals.h"
#include "plugin/records/globals.h"
#include "plugin/records/host_api.h"
#include "plugin/records/module_state.h"
#include "support/dwm_window.h"

unsigned char g_hintShown;

namespace {

std::string TextOf(const ZlvnList& record) { return ItemText(record.text, sizeof record.text); }

}  // namespace

HintWndMgr::~HintWndMgr() { DestroyInHandleOrder(m_hints); }

void HintWndMgr::DestroyInHandleOrder(Hints& hints)
{
    // The hints go in one order whatever their order on the screen: the host hears of
    // their popups leaving in the order of the targets' handles.
    std::sort(hints.begin(), hints.end(),
              [](const Owned& a, const Owned& b) { return HandleLess()(a->m_target, b->m_target); });
    for (Owned& hint : hints) hint.reset();
    hints.clear();
}

std::vector<HintWnd*> HintWndMgr::List() const
{
    std::vector<HintWnd*> list;
    list.reserve(m_hints.size());
    for (const Owned& hint : m_hints) list.push_back(hint.get());
    return list;
}

HintWnd* HintWndMgr::Find(HWND target) const
{
    for (const Owned& hint : m_hints)
        if (hint->m_target == target) return hint.get();
    return nullptr;
}

void HintWndMgr::Add(HWND target, const std::string& title, const IconBudget& icons)
{
    // Whole or not at all: a hint that cannot be kept goes again at once, its popup, class
    // and focus registration with it.
    Owned hint(new HintWnd(target, title, icons, *this));
    m_hints.push_back(std::move(hint));
}

const ZlvnList* HintWndMgr::TakenEnd(const GetZlvnList& snapshot, HandleSet& o_windows)
{
    for (const ZlvnList* record = snapshot.begin(); record != snapshot.end(); ++record) {
        if (o_windows.count(record->hwnd)) continue;
        if (o_windows.size() == kMaxHints) {
            g_zlvnAPI.Print(kLogWarning, kPluginName, "the list holds %d records: hints for its first %u windows only",
                            static_cast<int>(snapshot.end() - snapshot.begin()), static_cast<unsigned>(kMaxHints));
            return record;
        }
        o_windows.insert(record->hwnd);
    }
    return snapshot.end();
}

void HintWndMgr::Build()
{
    GetZlvnList snapshot;
    HandleSet taken;
    const ZlvnList* end = TakenEnd(snapshot, taken);
    IconBudget icons;
    for (const ZlvnList* record = snapshot.begin(); record != end; ++record) {
        // The first record of a window makes its hint; a cloaked window gets it once uncloaked.
        if (record->flag != 0 || Find(record->hwnd) || IsCloaked(record->hwnd)) continue;
        Add(record->hwnd, TextOf(*record), icons);
    }
    SortByLeft();
}

void HintWndMgr::Prune(const HandleSet& listed)
{
    Hints gone;
    gone.reserve(m_hints.size());  // before anything moves: nothing below throws
    for (Owned& hint : m_hints)
        if (!listed.count(hint->m_target)) gone.push_back(std::move(hint));
    m_hints.erase(std::remove(m_hints.begin(), m_hints.end(), nullptr), m_hints.end());
    DestroyInHandleOrder(gone);
}

void HintWndMgr::Refresh()
{
    GetZlvnList snapshot;
    // A list that could not be read is no empty list: the hints stay as they are.
    if (!snapshot.Read()) return;
    HandleSet taken;
    const ZlvnList* end = TakenEnd(snapshot, taken);
    Prune(taken);
    IconBudget icons;
    for (const ZlvnList* record = snapshot.begin(); record != end; ++record) {
        if (record->flag != 0) continue;
        if (HintWnd* hint = Find(record->hwnd)) {
            hint->SetText(TextOf(*record));
            hint->RemakeMissingPopup();
            hint->AskIconAgain(icons);
        } else if (!IsCloaked(record->hwnd)) {
            Add(record->hwnd, TextOf(*record), icons);
        }
    }
    SortByLeft();
}

void HintWndMgr::SortByLeft()
{
    // Equal left edges keep their order.
    std::stable_sort(m_hints.begin(), m_hints.end(), [](const Owned& a, const Owned& b) { return a->m_left < b->m_left; });
}

void HintWndMgr::ShowAll()
{
    const hint_settings_t& settings = m_settings;
    m_pictures.Read(settings);
    std::vector<HintWnd*> shown;
    shown.reserve(m_hints.size());
    for (const Owned& owned : m_hints) {
        HintWnd* hint = owned.get();
        // A window on another virtual desktop, or a suspended app, is not on the screen
        // though it looks visible: its hint waits until it is uncloaked.
        if (IsCloaked(hint->m_target)) {
            hint->Hide();
            continue;
        }
        hint->Show();
        shown.push_back(hint);
    }
    g_hintShown = 1;
    if (settings.IsNoOver != 0) RunNoOverlapPass(shown);
}

void HintWndMgr::RunNoOverlapPass(const std::vector<HintWnd*>& shown)
{
    std::vector<hint_box_t> boxes;
    std::vector<pixel_rect_t> works;
    boxes.reserve(shown.size());
    works.reserve(shown.size());
    for (const HintWnd* hint : shown) {
        boxes.push_back(hint->Box());
        works.push_back(hint->m_work);
    }
    // The step rule's pass, except where it would push a hint out of its work area.
    NoOverlapInWorkAreas(boxes, works);
    size_t i = 0;
    for (HintWnd* hint : shown) {
        const hint_box_t& box = boxes[i++];
        // A popup the pass did not move already stands at its final rectangle.
        if (box.top == hint->m_top && box.left == hint->m_left) continue;
        hint->SetCorner(box.left, box.top);
        hint->MoveToFinalRect();
    }
}

void HintWndMgr::HideAll()
{
    if (g_hintShown == 0) return;
    for (const Owned& hint : m_hints) hint->Hide();
    g_hintShown = 0;
}

void HintWndMgr::Bring(HWND window)
{
    m_brought = window;  // first: nothing of the set is touched after the call
    BringWindowToFront(window);
}

void HintWndMgr::RaiseBroughtWindow()
{
    RaiseIfStillInFront(m_brought);
    m_brought = nullptr;
}

void HintWndMgr::SettingsChanged()
{
    // A picture the user saved again under the same name is read afresh too. The hints
    // on the screen paint from the new ones at their next paint, not from none.
    m_pictures.Drop();
    if (g_hintShown) m_pictures.Read(m_settings);
}
