#pragma once
// The host functions the plug-in called, as the test program's host recorded them.
#include <string>

// How many times the plug-in called the host function of this name.
int HostCalls(const std::string& name);
// Every call in order, separated by spaces ("" when there was none).
std::string HostCallList();
