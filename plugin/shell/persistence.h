#pragma once
// The settings record and the settings file beside the module.

// Set-up: reads the file into HintSettings, sets the menu's check mark, saves the
// host's quick options.
void SetUpPlugin();
// Writes into the file, key by key, the settings whose text changed since set-up and
// those the file lacked (all of them when there was no file); the record is not changed.
void SavePluginSettings();
