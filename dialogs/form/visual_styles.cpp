#include "dialogs/form/visual_styles.h"

#include "dialogs/form/form_controls.h"
#include "support/owners.h"
#include "support/proc_address.h"
#include "support/system_module.h"

namespace form {

namespace {

constexpr DWORD kEnableTab = 0x2 | 0x4;  // ETDT_ENABLE | ETDT_USETABTEXTURE

HANDLE MakeContext()
{
    HMODULE module = CodeModule();
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    ACTCTXW context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = length > 0 && length < MAX_PATH ? path : nullptr;
    context.hModule = module;
    context.lpResourceName = MAKEINTRESOURCEW(kCommonControlsManifestId);
    return CreateActCtxW(&context);
}

}  // namespace

VisualStylesScope::VisualStylesScope() noexcept : m_context(MakeContext())
{
    if (m_context != INVALID_HANDLE_VALUE && !ActivateActCtx(m_context, &m_cookie)) m_cookie = 0;
}

VisualStylesScope::~VisualStylesScope()
{
    if (m_cookie != 0) DeactivateActCtx(0, m_cookie);
    if (m_context != INVALID_HANDLE_VALUE) ReleaseActCtx(m_context);
}

void UseTabBodyBackground(HWND page)
{
    // Looked up at run time: the module loads where the theme library is missing.
    ModuleOwner themes(LoadSystemModule(L"uxtheme.dll"));
    if (!themes) return;
    using enable_fn = HRESULT(WINAPI*)(HWND, DWORD);
    if (auto enable = As<enable_fn>(GetProcAddress(themes.Get(), "EnableThemeDialogTexture"))) enable(page, kEnableTab);
}

}  // namespace form
