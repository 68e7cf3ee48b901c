#pragma once
// The version box: product name, the module's file version, an icon of the shell,
// the copyright line and the web address as a link.
#include <windows.h>

#include "dialogs/form/form.h"
#include "support/owners.h"
#include "support/seam.h"

// The box's controls, in row order.
#define ABOUT_BOX_CONTROLS(X) X(Panel1) X(ProgramIcon) X(ProductName) X(Version) X(Copyright) X(WebSite) X(OKButton)

enum class AboutControl : int { None = -1, ABOUT_BOX_CONTROLS(FORM_CONTROL_ENUMERATOR) };

class TAboutBox : public form::FormOf<AboutControl> {
public:
    TAboutBox(HWND owner, const char* i_productname, HMODULE i_module);
    ~TAboutBox() override;

    // IDOK from the OK button, IDCANCEL from the close box, Esc or the link.
    int ShowModal() { return Form::ShowModal(m_owner); }

    void FormShow();
    void FormHide();
    void WebSiteClick();

    HMODULE Module() const { return m_hmodule; }
    const char* ProductNameText() const { return m_productname; }
    HICON LargeIcon() const { return m_iconlarge.Get(); }
    HICON SmallIcon() const { return m_iconsmall.Get(); }

    // Where the icons come from and how the link is opened; tests stand in through the seams.
    using open_address_t = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static Seam<const char*>& IconFile();
    static Seam<open_address_t>& AddressOpener();

protected:
    void FormCreate() override { FormShow(); }
    void FormDestroy() override { FormHide(); }
    void DrawControl(AboutControl id, const DRAWITEMSTRUCT& item) override;

private:
    HWND m_owner;
    HMODULE m_hmodule;
    char m_productname[260];
    IconOwner m_iconlarge;
    IconOwner m_iconsmall;
    GdiObject<HBITMAP> m_placeholder;  // shown until an icon replaces it
};

// The form's description (one row per control).
const form::Description& AboutBoxForm();

