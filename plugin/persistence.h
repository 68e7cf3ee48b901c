#pragma once
// The settings record and the settings file beside the module.

// Set-up: reads the file into HintSettings, sets the menu's check mark, saves the
// host's quick options.
void SetUpPlugin();
// Writes HintSettings into the file, key by key; the record is not changed.
void SavePluginSettings();
