#pragma once
// Fixtures that start every test afresh: the process's failure record empty, or the
// host as a program that has made no call and logged nothing yet; and what the host has
// recorded since.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "host/zlvn_host.h"
#include "plugin/shell/globals.h"
#include "support/last_error.h"

class ClearedFailureRecord : public ::testing::Test {
protected:
    void SetUp() override { LastError::ProcessRecord().Clear(); }
};

// The one reset of the shell between the cases of a program that plays several lives: a
// session just begun, in the life given (a plug-in just loaded, or set up with the record
// as it is).
inline void FreshSession(Life life) { g_session = plugin_session_t{}, g_session.life = life; }

class FreshHost : public ::testing::Test {
protected:
    void SetUp() override { zlvnhost::ResetHost(); }
};

// How many times the plug-in called the host function of this name.
inline int HostCalls(const std::string& name)
{
    const std::vector<std::string>& calls = zlvnhost::Host().calls;
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

// Every call in order, separated by spaces ("" when there was none).
inline std::string HostCallList()
{
    std::string list;
    for (const std::string& call : zlvnhost::Host().calls) list += (list.empty() ? "" : " ") + call;
    return list;
}

// Every line the host logged, as "level text\n" (level -1 for Zlvn_PrintErrRaw).
inline std::string HostLog()
{
    std::string log;
    for (const zlvnhost::LogLine& line : zlvnhost::Host().log) log += std::to_string(line.level) + " " + line.text + "\n";
    return log;
}
