#include "tests/common/host_calls.h"

#include <algorithm>

#include "host/zlvn_host.h"

int HostCalls(const std::string& name)
{
    const std::vector<std::string>& calls = zlvnhost::Host().calls;
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

std::string HostCallList()
{
    std::string list;
    for (const std::string& call : zlvnhost::Host().calls) list += (list.empty() ? "" : " ") + call;
    return list;
}
