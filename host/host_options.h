#pragma once
// The reference host's command line and the arguments of its dialog steps: plain rules,
// no window involved.
#include <string>
#include <vector>

// What the command line asks for.
struct HostOptions {
    std::string dll = "ZlvnHint.dll";
    std::string script;       // empty: the demonstration
    std::string hostVersion;  // empty: the host's own version text
    bool interactive = false;
    bool samples = false;
    bool help = false;
    std::string error;        // set when the command line is wrong
};

// The usage text, steps included.
extern const char kHostUsage[];

// Reads the arguments after the program name. --help, -h and /? ask for the usage; a
// lone argument that is not an option is the DLL's path, as the first form of the host took it.
HostOptions ParseHostOptions(const std::vector<std::string>& args);

// What to do with a dialog that a step opens: "option" (wait for the person),
// "option:3000" (Cancel after 3 s), "option:1500:shot:a.bmp:page:2:shot:b.bmp"
// (after 1.5 s save the dialog as a.bmp, show its second page, save b.bmp, then Cancel).
struct DialogAction {
    enum Kind { kPage, kShot } kind;
    int page;          // 1-based, for kPage
    std::string file;  // for kShot; may hold a drive letter's colon
};

struct DialogPlan {
    int closeAfterMs = -1;  // -1: the person closes the dialog
    std::vector<DialogAction> actions;
};

// Reads the text after the step's word and its colon ("" for none); false with `error` set
// when it is not of the form above.
bool ParseDialogPlan(const std::string& text, DialogPlan& plan, std::string& error);
