#pragma once
// Names for screen readers, set on controls through the platform's dynamic annotation
// (oleacc's IAccPropServices): a reader names a control by the label before it in Z
// order, which is also the tab order, so a control whose label stands elsewhere gets
// its name this way without the tab order changing.
#include <windows.h>

#include <string>
#include <vector>

#include "support/owners.h"

struct IAccPropServices;

namespace form {

class AccessibleNames {
public:
    AccessibleNames();
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // Names a control (again). Where the platform lacks the service, nothing happens.
    void Set(HWND control, const std::wstring& name);
    // Takes every name back, while the controls still exist, and lets the service go.
    void Clear();

private:
    bool Ready();

    ComOwner<IAccPropServices> m_services;
    bool m_started = false;       // the service was asked for since the last Clear
    bool m_uninitialise = false;  // this object's CoInitializeEx is owed its CoUninitialize
    std::vector<HWND> m_named;
};

}  // namespace form
