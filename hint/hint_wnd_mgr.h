#pragma once
// The set of hints, one per listed window, kept in step with the host's list.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "hint/hint_picture.h"
#include "hint/hint_wnd.h"
#include "hint/icon_cache.h"

class GetZlvnList;
struct ZlvnList;

class HintWndMgr {
public:
    // A showing takes the first this many windows of the host's list: each hint costs a
    // popup and a window class of the host's process, which has 10,000 USER handles.
    static constexpr size_t kMaxHints = 512;

    // settings: what the hints are built, placed and painted with for as long as the set
    // lives; it is read afresh at every showing and paint, so it must outlive the set.
    explicit HintWndMgr(const hint_settings_t& settings) : m_settings(settings) {}
    // Destroys every hint in ascending handle order, then the pictures and icons they drew.
    ~HintWndMgr();
    HintWndMgr(const HintWndMgr&) = delete;
    HintWndMgr& operator=(const HintWndMgr&) = delete;

    void Build();    // first showing: a hint per unflagged listed window
    void Refresh();  // later showings: prune, update texts, add new windows
    void ShowAll();
    void HideAll();
    // Brings a listed window to the front (a click on its hint, the toggle command) and
    // remembers it for RaiseBroughtWindow. Restoring a minimized window answers the
    // messages sent to this thread, and the host may tear the plug-in down in one: the set
    // may be gone when this returns, so a caller touches nothing of it afterwards.
    void Bring(HWND window);
    // Once the hints are hidden: the window brought forward, when it is still in front, is
    // raised over them (bring_to_front.cpp says why), and forgotten.
    void RaiseBroughtWindow();
    // The settings changed (the dialog's OK, a file read late): the pictures are read
    // afresh, at once while the hints are on the screen, else at the next showing.
    void SettingsChanged();

    // What the hints draw with.
    const hint_settings_t& Settings() const { return m_settings; }
    const hint_picture_t* Picture(bool iconic) const { return m_pictures.Picture(iconic); }
    hint_icon_caches_t& IconCaches() { return m_icons; }
    // The hints in the set's order, from left to right by their left edges.
    std::vector<HintWnd*> List() const;
    size_t Count() const { return m_hints.size(); }

private:
    struct HandleLess {
        bool operator()(HWND a, HWND b) const
        {
            return reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b);
        }
    };

    using HandleSet = std::set<HWND, HandleLess>;
    using Owned = std::unique_ptr<HintWnd>;
    using Hints = std::vector<Owned>;

    HintWnd* Find(HWND target) const;
    void Add(HWND target, const std::string& title, const IconBudget& icons);
    // The end of the records a showing takes; o_windows: the windows they name.
    static const ZlvnList* TakenEnd(const GetZlvnList& snapshot, HandleSet& o_windows);
    void Prune(const HandleSet& listed);
    void SortByLeft();
    void RunNoOverlapPass(const std::vector<HintWnd*>& shown);
    static void DestroyInHandleOrder(Hints& hints);

    const hint_settings_t& m_settings;
    HWND m_brought = nullptr;
    // Before the hints, which borrow them.
    HintPictures m_pictures;
    hint_icon_caches_t m_icons;
    Hints m_hints;  // every hint, one per target, in the set's order
};
