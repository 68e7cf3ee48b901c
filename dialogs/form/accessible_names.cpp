#include "dialogs/form/accessible_names.h"

#include <objbase.h>
#include <oleacc.h>

#include <algorithm>

namespace form {

namespace {

// Spelled out here: not every toolkit's import libraries carry them.
constexpr CLSID kAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

}  // namespace

// Made and destroyed here, where the service's interface is complete for its owner.
AccessibleNames::AccessibleNames() = default;
AccessibleNames::~AccessibleNames() { Clear(); }

bool AccessibleNames::Ready()
{
    if (m_started) return static_cast<bool>(m_services);
    m_started = true;
    // The host's thread may have COM already: S_FALSE is owed its uninitialise as S_OK
    // is; another apartment kind (RPC_E_CHANGED_MODE) serves as it is and is not ours.
    m_uninitialise = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    void* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices, &services)))
        m_services.Reset(static_cast<IAccPropServices*>(services));
    return static_cast<bool>(m_services);
}

void AccessibleNames::Set(HWND control, const std::wstring& name)
{
    if (!control || !Ready()) return;
    m_named.reserve(m_named.size() + 1);  // a name that is set is always listed for clearing
    if (FAILED(m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kNameProperty,
                                          name.c_str())))
        return;
    if (std::find(m_named.begin(), m_named.end(), control) == m_named.end()) m_named.push_back(control);
}

void AccessibleNames::Clear()
{
    if (m_services) {
        for (HWND control : m_named)
            m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kNameProperty, 1);
        m_services.Reset();  // before the CoUninitialize below
    }
    m_named.clear();
    if (m_uninitialise) CoUninitialize();
    m_uninitialise = false;
    m_started = false;
}

}  // namespace form
