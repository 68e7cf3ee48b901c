#pragma once
// The settings dialog and the version box as the shell opens them.

// HintOption's work once its turn has come: shows a fresh dialog modally.
void ShowOptionDialog();

// HintVersion's work: makes the box on first use, shows it modally.
void ShowVersionBox();

// At unload: the box goes with the module.
void FreeVersionBox();

// Teardown: an open dialog closes as its Cancel would, so the record keeps what it held.
void CancelOpenForms();
