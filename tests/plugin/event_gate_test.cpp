// The order in which the event gate runs events raised while another one runs.
#include "tests/common/wine_test.h"

#include <map>

#include "plugin/records/event_gate.h"

namespace {

using E = PluginEvent;
const std::map<E, std::string> kNames = {
    {E::Active, "Active"}, {E::Hide, "Hide"}, {E::UpdateList, "UpdateList"}, {E::Toggle, "Toggle"}, {E::Option, "Option"}};

EventGate g_gate;
std::map<E, std::vector<E>> g_raises;  // what an event raises while it runs
bool g_raiseEveryTime;
std::vector<std::string> g_ran;

void RunRecorded(E e)
{
    g_ran.push_back(kNames.at(e));
    auto it = g_raises.find(e);
    if (it == g_raises.end()) return;
    std::vector<E> raised = it->second;
    if (!g_raiseEveryTime) g_raises.erase(it);
    for (E r : raised) g_gate.Raise(r, RunRecorded);
    if (e == E::Option) g_ran.push_back("/Option");  // the modal wait ends
}

}  // namespace

TEST(EventGate, RaisedEventsRunAfterTheRunningOneInOrder)
{
    const struct { const char* name; E first; std::map<E, std::vector<E>> raises; std::vector<std::string> ran; } cases[] = {
        {"waits for the running event", E::Active, {{E::Active, {E::UpdateList}}}, {"Active", "UpdateList"}},
        {"order kept", E::Active, {{E::Active, {E::Hide, E::Active}}}, {"Active", "Hide", "Active"}},
        {"repeats fold into one, toggles do not", E::Active, {{E::Active, {E::Hide, E::Hide, E::Toggle, E::Toggle}}},
         {"Active", "Hide", "Toggle", "Toggle"}},
        {"events raised by a waiting one run after it", E::Active, {{E::Active, {E::UpdateList, E::Hide}}, {E::UpdateList, {E::Active}}},
         {"Active", "UpdateList", "Hide", "Active"}},
        {"a dialog's wait lets events run at once", E::Option, {{E::Option, {E::Active, E::Hide}}}, {"Option", "Active", "Hide", "/Option"}},
        // What waited behind the dialog runs during its wait, before what comes later.
        {"a dialog raised while an event runs opens after it", E::Active, {{E::Active, {E::Option, E::Hide}}, {E::Option, {E::UpdateList}}},
         {"Active", "Option", "Hide", "UpdateList", "/Option"}},
    };
    for (const auto& c : cases) {
        g_raises = c.raises;
        g_raiseEveryTime = false;
        g_ran.clear();
        g_gate.Raise(c.first, RunRecorded);
        EXPECT_EQ(c.ran, g_ran) << c.name;
        EXPECT_FALSE(g_gate.Running()) << c.name;
        EXPECT_EQ(0u, g_gate.Waiting()) << c.name;
    }

    // A host that answers every event with another one is cut off.
    g_raises = {{E::UpdateList, {E::UpdateList}}};
    g_raiseEveryTime = true;
    g_ran.clear();
    g_gate.Raise(E::UpdateList, RunRecorded);
    EXPECT_EQ(static_cast<size_t>(EventGate::kStormLimit + 1), g_ran.size()) << "storm";
    g_ran.clear();
    g_gate.Raise(E::Hide, RunRecorded);
    EXPECT_EQ(std::vector<std::string>{"Hide"}, g_ran) << "the next event after a storm runs";
}
