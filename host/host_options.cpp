#include "host/host_options.h"

#include <cstdlib>

#include "host_usage.h"  // generated from usage.txt, which run-host.sh --help prints too

HostOptions ParseHostOptions(const std::vector<std::string>& args)
{
    HostOptions options;
    bool dllGiven = false;
    for (size_t i = 0; i < args.size() && options.error.empty() && !options.help; ++i) {
        const std::string& arg = args[i];
        bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            options.help = true;
        } else if (arg == "--interactive") {
            options.interactive = true;
        } else if (arg == "--samples") {
            options.samples = true;
        } else if (arg == "--dll" || arg == "--script" || arg == "--host-version") {
            if (!hasValue) {
                options.error = arg + " needs a value";
            } else if (arg == "--dll") {
                options.dll = args[++i];
                dllGiven = true;
            } else if (arg == "--script") {
                options.script = args[++i];
            } else {
                options.hostVersion = args[++i];
            }
        } else if (!arg.empty() && arg[0] == '-') {
            options.error = "unknown option " + arg;
        } else if (dllGiven) {
            options.error = "one plug-in at a time: " + arg;
        } else {
            options.dll = arg;
            dllGiven = true;
        }
    }
    return options;
}

namespace {

bool ReadNumber(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = atoi(text.c_str());
    return true;
}

std::vector<std::string> SplitAtColons(const std::string& text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string::npos) return parts;
        start = colon + 1;
    }
}

}  // namespace

bool ParseDialogPlan(const std::string& text, DialogPlan& plan, std::string& error)
{
    plan = DialogPlan();
    if (text.empty()) return true;
    std::vector<std::string> parts = SplitAtColons(text);
    if (!ReadNumber(parts[0], plan.closeAfterMs)) {
        error = "'" + parts[0] + "' is not a time in milliseconds";
        return false;
    }
    for (size_t i = 1; i < parts.size(); i += 2) {
        if (i + 1 >= parts.size()) {
            error = "'" + parts[i] + "' needs a value";
            return false;
        }
        DialogAction action = {DialogAction::kShot, 0, {}};
        if (parts[i] == "page") {
            action.kind = DialogAction::kPage;
            if (!ReadNumber(parts[i + 1], action.page) || action.page < 1) {
                error = "'" + parts[i + 1] + "' is not a page number";
                return false;
            }
        } else if (parts[i] == "shot") {
            action.file = parts[i + 1];
            // A drive letter's colon belongs to the file: "shot:C:\\a.bmp".
            if (action.file.size() == 1 && i + 2 < parts.size() && parts[i + 2].size() > 1 &&
                (parts[i + 2][0] == '\\' || parts[i + 2][0] == '/')) {
                action.file += ":" + parts[i + 2];
                ++i;
            }
            if (action.file.empty()) {
                error = "shot needs a file name";
                return false;
            }
        } else {
            error = "unknown dialog action '" + parts[i] + "'";
            return false;
        }
        plan.actions.push_back(action);
    }
    return true;
}
