#pragma once
// The plug-in's session as the shell keeps it between the host's calls, in one object:
// what a set-up starts, the events and commands read and change, and a teardown ends.
#include <array>
#include <bitset>

#include "plugin/records/event_gate.h"
#include "plugin/records/interface_sizes.h"
#include "plugin/records/setting_keys.h"

class TAboutBox;

enum class Life : unsigned char { Loaded, SetUp, TornDown };

// What the file holds for one key, as set-up found it or the last save left it: whether
// the file has it, and the text a save would write for the setting.
struct key_as_read_t {
    bool inFile = false;
    setting_text_t text = {};
};
using keys_as_read_t = std::array<key_as_read_t, kSettingKeyCount>;

struct plugin_session_t {
    // Events and commands act only while SetUp. The module stays mapped once loaded, so a
    // host that loads it again sets it up again after teardown.
    Life life = Life::Loaded;
    // Counts set-ups: a modal command learns whether the session that opened it still runs.
    unsigned setUps = 0;
    EventGate gate;
    // The settings file as read. Until the first set-up every key counts as missing, so a
    // save writes them all.
    keys_as_read_t keysAsRead;
    // Set-up could not read the file (held, denied, out of memory): the defaults stand in until it can.
    bool settingsUnread = false;
    // This session's one warning about a file that could not be read has gone to the log.
    bool unreadReported = false;
    // Keys whose value did not read as their kind, told to the log this set-up (once each).
    std::bitset<kSettingKeyCount> doubtsReported;
    // The host's quick-option record as last read; only byte 3 is interpreted.
    unsigned char quickOption[kQuickOptionSize] = {};
    // Saves numbered as they take the settings: a save whose wait answered the host's
    // messages, in which a newer save ran (a teardown), learns so, and whether the newer
    // one's settings reached the file (the number of the last save that landed).
    unsigned savesTaken = 0;
    unsigned saveLanded = 0;
    // The version box whose modal loop runs now, which teardown may not delete.
    TAboutBox* aboutBoxInLoop = nullptr;
};
