#pragma once
// Puts the settings record into the state a first set-up without a settings file gives.
void UseDefaultSettings();
