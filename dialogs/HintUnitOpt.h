#pragma once
// The settings dialog: every field of HintSettings in a control, filled when the
// dialog is made and stored only by OKBtnClick.
#include <windows.h>

#include "dialogs/form/form.h"
#include "plugin/records/hint_settings.h"
#include "plugin/records/setting_keys.h"

// The dialog's controls, in row order.
#define OPTION_DIALOG_CONTROLS(X)                                                                            \
    X(OKBtn) X(CancelBtn) X(PageControl1) X(TabSheet1) X(TabSheet2)                                          \
    X(GrpPosition) X(RdoPosTopLeft) X(RdoPosTopCenter) X(RdoPosTopRight) X(RdoPosCenter)                     \
    X(RdoPosDeskTopLeft) X(ChkIsNoOver)                                                                      \
    X(GrpBackground) X(RdoUseImage) X(RdoNotUseImage)                                                        \
    X(GrpBgBmp) X(Label8) X(EdtBgbmpNml) X(BtnBgbmpNml) X(Label7) X(EdtBgbmpIcn) X(BtnBgbmpIcn)              \
    X(GrpBgColor) X(Label2) X(StcNmlBgColor) X(Label3) X(StcNmlBorderColor) X(Label5) X(StcMinBgColor)       \
    X(Label4) X(StcMinBorderColor)                                                                           \
    X(GrpWidth) X(Label1) X(EdtWidth) X(Label6)                                                              \
    X(GrpText) X(RdoTxtAlph) X(RdoTxtFull)                                                                   \
    X(LabelFontName) X(LabelFontStyle) X(LabelFontSize) X(BevelFontName) X(BevelFontStyle) X(BevelFontSize)  \
    X(BtnFont) X(ChkIsShowIcon)                                                                              \
    X(LblToggleEnable) X(ShtKeyToggleEnable)

enum class OptionControl : int { None = -1, OPTION_DIALOG_CONTROLS(FORM_CONTROL_ENUMERATOR) };

class TOKBottomDlg : public form::FormOf<OptionControl> {
public:
    explicit TOKBottomDlg(HWND owner);
    ~TOKBottomDlg() override;

    int ShowModal() { return Form::ShowModal(m_owner); }

    void OKBtnClick();
    void StcNmlBgColorClick();
    void StcNmlBorderColorClick();
    void StcMinBgColorClick();
    void StcMinBorderColorClick();
    void BtnFontClick();
    void FontDialog1Apply();
    void RdoUseImageClick();
    void RdoNotUseImageClick();
    void BtnBgbmpNmlClick();
    void BtnBgbmpIcnClick();

    // The font chooser's font: what it opens with, then its last Apply or its result.
    struct chooser_font_t {
        LOGFONTA font;
        COLORREF colour;
        int size;  // points
    };

protected:
    void FormCreate() override;
    void FormDestroy() override;
    void FormDpiChanged() override;
    HBRUSH ControlColour(OptionControl id, HDC dc) override;

private:
    // The font as the dialog holds it until OK; the three font labels only show it.
    struct working_font_t {
        LOGFONTA face;   // face and style of LabelFontName's font, at the dialog's text height
        COLORREF colour;  // LabelFontName's text colour
        int size;        // points, shown in LabelFontSize
    };

    // The font chooser's messages, for its Apply button.
    UINT_PTR FontHookMessage(HWND hdlg, UINT msg, WPARAM wParam, LPARAM lParam);
    // Each key of the settings table into or out of the control its row names; the font
    // labels, which show four keys at once, are filled and stored together.
    void Fill();
    void FillSetting(const setting_key_t& k, const hint_settings_t& s);
    void FillChoice(OptionControl radio, bool checked);
    void FillFont();
    void ShowFont();  // m_working into the three font labels
    bool TakeNumber(const setting_key_t& k, hint_settings_t& s);
    void StoreSetting(const setting_key_t& k, hint_settings_t& s);
    void StoreFont(hint_settings_t& s);
    void ChooseSwatchColour(OptionControl swatch);
    void BrowsePicture(OptionControl edit);
    void ApplyNameFont();  // m_working's face and style into LabelFontName's font
    LONG TextHeight() const;  // the dialog's text height at its DPI, as a LOGFONT height

    HWND m_owner;
    working_font_t m_working = {};
    GdiObject<HFONT> m_nameFontHandle;
    chooser_font_t m_chooser = {};
    COLORREF m_customColours[16];
};

// The form's description (one row per control).
const form::Description& OKBottomDlgForm();
// The control of that name in the form; None for a name it lacks.
OptionControl OptionControlNamed(const char* name);

