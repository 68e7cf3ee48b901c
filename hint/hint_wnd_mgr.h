#pragma once
// The set of hints, one per listed window, kept in step with the host's list.
#include <windows.h>

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "hint/hint_wnd.h"

class GetZlvnList;
struct ZlvnList;

// 1 while the hints are shown: ShowAll sets it, HideAll clears it.
extern unsigned char g_hintShown;

class HintWndMgr {
public:
    // A showing takes the first this many windows of the host's list: each hint costs a
    // popup and a window class of the host's process, which has 10,000 USER handles.
    static constexpr size_t kMaxHints = 512;

    HintWndMgr() = default;
    ~HintWndMgr();  // destroys every hint in ascending handle order
    HintWndMgr(const HintWndMgr&) = delete;
    HintWndMgr& operator=(const HintWndMgr&) = delete;

    void Build();    // first showing: a hint per unflagged listed window
    void Refresh();  // later showings: prune, update texts, add new windows
    void ShowAll();
    void HideAll();
    const std::list<HintWnd*>& List() const { return m_list; }
    size_t Count() const { return m_map.size(); }

private:
    struct HandleLess {
        bool operator()(HWND a, HWND b) const
        {
            return reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b);
        }
    };

    using HandleSet = std::set<HWND, HandleLess>;

    void Add(HWND target, const std::string& title, const IconBudget& icons);
    // The end of the records a showing takes; o_windows: the windows they name.
    static const ZlvnList* TakenEnd(const GetZlvnList& snapshot, HandleSet& o_windows);
    void Prune(const HandleSet& listed);
    void SortByLeft();
    void RunNoOverlapPass(const std::vector<HintWnd*>& shown);

    std::map<HWND, std::unique_ptr<HintWnd>, HandleLess> m_map;
    std::list<HintWnd*> m_list;
};
