#pragma once
// The settings record and the settings file beside the module.

// Set-up: reads the file into HintSettings, sets the menu's check mark, saves the
// host's quick options.
void SetUpPlugin();
// Writes into the file, whole, the settings whose text changed since set-up or the last
// save and those the file lacked (all of them when there was no file); a failure leaves
// the file as it was and puts one line in the host's log. The record is not changed.
void SavePluginSettings();
// The same at teardown, where no later save comes: a save that fails is tried once more
// after a short wait.
void SavePluginSettingsAtTeardown();

// After a set-up that could not read the file (held by another program, out of memory):
// tries again, so that the user's settings apply as soon as the file can be read.
void ReadSettingsIfUnread();
// The settings dialog is about to change the record: the defaults it holds now stand,
// and no later read may overwrite the user's choices.
void KeepSettingsAsTheyAre();
