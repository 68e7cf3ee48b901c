#pragma once
// The plug-in's hint popups among this thread's windows, found by their classes.
#include <windows.h>

#include <map>
#include <string>

struct hint_popups_t {
    std::map<std::string, int> byClass;  // "tag" and a number -> windows of that class
    int visible = 0;
    bool operator==(const hint_popups_t& other) const { return byClass == other.byClass && visible == other.visible; }
};

hint_popups_t HintPopups();
// The window class name of a target's hint: "tag" and the handle as a signed number.
inline std::string ClassOf(HWND target) { return "tag" + std::to_string(HandleToLong(target)); }
std::string Describe(const hint_popups_t& popups);
// Whether a window class of this name is registered for the module (null: this program).
bool ClassRegistered(const std::string& name, HMODULE module = nullptr);
