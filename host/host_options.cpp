#include "host/host_options.h"

#include <cstdlib>

const char kHostUsage[] =
    "usage: zlvnhost.exe [--dll PATH] [--host-version TEXT] [--script \"STEP ...\"]\n"
    "       zlvnhost.exe [--dll PATH] [--host-version TEXT] --interactive [--samples]\n"
    "       zlvnhost.exe --help\n"
    "\n"
    "Loads the plug-in, sets it up, prints its menu and log lines, runs the steps (or\n"
    "opens a window for a person), tears the plug-in down and prints its settings file.\n"
    "\n"
    "  --dll PATH           the plug-in module (default ZlvnHint.dll; a lone PATH works too)\n"
    "  --host-version TEXT  what the host answers when asked its version\n"
    "                       (default \"version 0.9.6.33\"; try 0.9.6.3 to see a refusal)\n"
    "  --script \"STEPS\"     steps separated by blanks\n"
    "                       (default \"samples list active wait:3000 inactive\")\n"
    "  --interactive        a host window with menus and a log: F5 starts the switch\n"
    "                       mode, Esc ends it, the Plug-in menu has its three commands\n"
    "                       and the toggle command also answers to its shortcut\n"
    "  --samples            with --interactive: four sample windows to switch between\n"
    "  --help, -h, /?       this text\n"
    "\n"
    "Steps:\n"
    "  samples              make four sample windows\n"
    "  list                 list the desktop's windows\n"
    "  active               start the switch mode (the plug-in shows its hints)\n"
    "  inactive             end the switch mode\n"
    "  update               list again; tell the plug-in when the list changed\n"
    "  quick                change the quick option the plug-in watches\n"
    "  toggle               the plug-in's first command: hints on or off\n"
    "  menu                 print the plug-in's menu\n"
    "  option[:MS[:ACT...]] the settings dialog; waits for the person, or with MS\n"
    "                       closes it as Cancel after MS ms of message pumping\n"
    "  version[:MS[:ACT...]] the version box, likewise\n"
    "                       ACT, run in order after MS, 0.3 s apart, before the close:\n"
    "                         page:N        show page N of the dialog\n"
    "                         shot:FILE.bmp save the dialog's window as a bitmap\n"
    "                       e.g. option:1000:shot:general.bmp:page:2:shot:second.bmp\n"
    "  wait:MS              pump messages for MS ms\n"
    "  shot:FILE.bmp        save the whole screen as a bitmap, once painting has reached it\n"
    "\n"
    "Exit status: 0 done, 1 the plug-in did not load, 2 a step failed, 64 a wrong\n"
    "command line.\n";

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
