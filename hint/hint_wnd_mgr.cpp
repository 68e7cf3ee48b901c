#include "hint/hint_wnd_mgr.h"

#include <vector>

#include "hint/get_zlvn_list.h"
#include "hint/hint_picture.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/host_api.h"
#include "plugin/records/module_state.h"
#include "support/dwm_window.h"

unsigned char g_hintShown;

namespace {

std::string TextOf(const ZlvnList& record) { return ItemText(record.text, sizeof record.text); }

}  // namespace

HintWndMgr::~HintWndMgr()
{
    m_list.clear();
    for (auto& entry : m_map) entry.second.reset();
    m_map.clear();
}

void HintWndMgr::Add(HWND target, const std::string& title, const IconBudget& icons)
{
    // Whole or not at all: a hint that cannot be kept in both the list and the map goes
    // again at once, its popup, class and focus registration with it.
    std::unique_ptr<HintWnd> hint(new HintWnd(target, title, icons));
    m_list.push_back(hint.get());
    try {
        m_map.emplace(target, std::move(hint));
    } catch (...) {
        m_list.pop_back();
        throw;
    }
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
        if (record->flag != 0 || m_map.count(record->hwnd) || IsCloaked(record->hwnd)) continue;
        Add(record->hwnd, TextOf(*record), icons);
    }
    SortByLeft();
}

void HintWndMgr::Prune(const HandleSet& listed)
{
    for (auto it = m_map.begin(); it != m_map.end();) {
        if (listed.count(it->first)) {
            ++it;
            continue;
        }
        m_list.remove(it->second.get());
        it = m_map.erase(it);
    }
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
        auto it = m_map.find(record->hwnd);
        if (it != m_map.end()) {
            it->second->SetText(TextOf(*record));
            it->second->RemakeMissingPopup();
            it->second->AskIconAgain(icons);
        } else if (!IsCloaked(record->hwnd)) {
            Add(record->hwnd, TextOf(*record), icons);
        }
    }
    SortByLeft();
}

void HintWndMgr::SortByLeft()
{
    // std::list::sort is stable: equal left edges keep their order.
    m_list.sort([](const HintWnd* a, const HintWnd* b) { return a->m_left < b->m_left; });
}

void HintWndMgr::ShowAll()
{
    ReadHintPictures();
    std::vector<HintWnd*> shown;
    shown.reserve(m_list.size());
    for (HintWnd* hint : m_list) {
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
    if (HintSettings.IsNoOver != 0) RunNoOverlapPass(shown);
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
    for (HintWnd* hint : m_list) hint->Hide();
    g_hintShown = 0;
}
