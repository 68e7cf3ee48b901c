#pragma once
// Sizes of the buffers that the host and the plug-in hand each other.

// The plug-in's name that Zlvn_OnGetPluginInfo writes, and the host's version text.
constexpr int kPluginInfoSize = 80;
constexpr int kHostVersionSize = 80;
// The host's quick-option record.
constexpr int kQuickOptionSize = 8;
