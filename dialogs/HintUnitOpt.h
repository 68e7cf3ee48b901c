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

// How the dialog shows a key's field, in the control that the key's entry names.
enum class DialogKind : unsigned char {
    None,          // not in the dialog
    CheckBox,      // checked when non-zero; stores 1 or 0
    RadioGroup,    // the named radio button and those after it in its frame stand for 0, 1, ...;
                   // another value checks none, and with none checked the field keeps its value
    RadioPair,     // the named radio button stands for non-zero, the one after it for 0; stores 1 or 0
    NumberField,   // decimal; a text that is no integer refuses the whole store
    TextField,     // cut to the field
    ColourSwatch,  // the swatch's fill colour
    HotKey,        // the field's shortcut text
    Font,          // the working font, which the three font labels show: FontName, FontSize,
                   // FontStyle and FontColor together
};

// A key of the settings table in the dialog: how, and in which control.
struct key_control_t {
    DialogKind kind;
    OptionControl control;
};

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

protected:
    void FormCreate() override;
    void FormDestroy() override;
    void FormDpiChanged() override;
    HBRUSH ControlColour(OptionControl id, HDC dc) override;

private:
    // The font chooser's messages, for its Apply button.
    UINT_PTR FontHookMessage(HWND hdlg, UINT msg, WPARAM wParam, LPARAM lParam);
    // Each key of the settings table into or out of the control its entry names; the font
    // keys go into and out of the working font, which the three font labels show.
    void Fill();
    void FillSetting(const setting_key_t& k, const hint_settings_t& s);
    void FillChoice(OptionControl radio, bool checked);
    void ShowFont();  // m_working into the three font labels
    bool TakeNumber(const setting_key_t& k, hint_settings_t& s);
    void StoreSetting(const setting_key_t& k, hint_settings_t& s);
    void ChooseSwatchColour(OptionControl swatch);
    void BrowsePicture(OptionControl edit);
    void ApplyNameFont();  // m_working's face and style into LabelFontName's font
    LONG TextHeight() const;  // the dialog's text height at its DPI, as a LOGFONT height

    HWND m_owner;
    // The font keys as the dialog holds them until OK (its other fields are not used).
    hint_settings_t m_working = {};
    GdiObject<HFONT> m_nameFontHandle;
    // The font chooser's font keys: what it opens with, then its last Apply or its result.
    hint_settings_t m_chooser = {};
    COLORREF m_customColours[16];
};

// The form's description (one row per control).
const form::Description& OKBottomDlgForm();
// Where the dialog shows a key; k: a row of kSettingKeys.
const key_control_t& KeyControlOf(const setting_key_t& k);

