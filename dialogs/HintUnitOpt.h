#pragma once
// The settings dialog: every field of HintSettings in a control, filled when the
// dialog is made and stored only by OKBtnClick.
#include <windows.h>

#include "dialogs/form.h"

class TOKBottomDlg : public form::Form {
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
        COLORREF color;
        int size;  // points
    };

protected:
    void FormCreate() override;
    void FormDestroy() override;
    HBRUSH CtlColor(int row, HDC dc) override;

private:
    static UINT_PTR CALLBACK FontHook(HWND hdlg, UINT msg, WPARAM wParam, LPARAM lParam);
    void Fill();
    void SetBackgroundMode(bool pictures);
    void ChooseSwatchColor(const char* swatch);
    void BrowsePicture(const char* edit);
    void ApplyNameFont();  // m_nameFont and m_fontColor into LabelFontName

    HWND m_owner;
    LOGFONTA m_nameFont = {};  // face and style of LabelFontName's font, at the dialog's text height
    COLORREF m_fontColor = 0;
    GdiObject<HFONT> m_nameFontHandle;
    chooser_font_t m_chooser = {};
    COLORREF m_customColors[16];
};

// The form's description (one row per control).
const form::Description& OKBottomDlgForm();

