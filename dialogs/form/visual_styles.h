#pragma once
// The look of the system's own dialogs whatever the host carries: the module's manifest
// (resource 2) asks for common controls 6, whose context is made active around every
// dialog and chooser the plug-in shows.
#include <windows.h>

namespace form {

// The manifest's resource id, as the loader looks for it in a DLL.
constexpr WORD kCommonControlsManifestId = 2;

// Activates the context of the manifest of the module that holds this code, and
// deactivates it on every path out. Where the module has no manifest, or the system no
// activation contexts, it does nothing and the controls keep the host's look.
class VisualStylesScope {
public:
    VisualStylesScope() noexcept;
    ~VisualStylesScope();
    VisualStylesScope(const VisualStylesScope&) = delete;
    VisualStylesScope& operator=(const VisualStylesScope&) = delete;

    bool Active() const { return m_cookie != 0; }

private:
    HANDLE m_context;
    ULONG_PTR m_cookie = 0;
};

// A tab page takes the tab body's background (the theme's, where a theme is on);
// nothing where the system has no themes.
void UseTabBodyBackground(HWND page);

}  // namespace form
