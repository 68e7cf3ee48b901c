#pragma once
// Watches the top-level dialogs that the plug-in's commands open on this thread: a
// script can save pictures of them and close them after a while, and a person's host
// window can own them so that they stay above everything else of the host.
#include <windows.h>

#include <functional>
#include <string>

#include "host/host_options.h"

// Installs the thread's hook; `say` prints one line of the host.
void StartDialogWatch(std::function<void(const std::string&)> say);
void StopDialogWatch();

// Unowned dialogs made from now on get `owner` as their owner; nullptr leaves them alone.
void SetDialogOwner(HWND owner);

// Runs `command`; each top-level dialog it shows gets the plan's actions, then Cancel.
// A plan without a time leaves the dialogs to the person. Returns false when an action
// failed or a planned close found no dialog to close.
bool RunWithDialogPlan(const DialogPlan& plan, const std::function<void()>& command);
