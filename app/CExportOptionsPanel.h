// The extra controls of the export file dialogs: JPEG quality and progressive
// compression; the alpha or transparency check; the animated GIF's loop count
// and frame delay; the Flash movie's frame rate, frame format and loop. Shown inside the file dialog.
#pragma once

#include "editor/CViewHost.h"

#include <wx/panel.h>

class wxCheckBox;
class wxRadioButton;
class wxSlider;
class wxSpinCtrl;
class wxStaticText;

class CExportOptionsPanel : public wxPanel {
public:
    enum {
        IDC_QUALITY = 1133,
        IDC_QUALITY_TEXT = 1719,
        IDC_PROGRESSIVE = 1065,
        IDC_ALPHA = 1061,
        IDC_LOOP = 2141,
        IDC_DELAY = 2142,
        IDC_SWF_RATE = 2147,
        IDC_SWF_JPEG = 2160,
        IDC_SWF_BITMAP = 2161,
        IDC_SWF_QUALITY = 1130,
        IDC_SWF_QUALITY_TEXT = 2155,
        IDC_SWF_LOOP = 1057,
    };
    CExportOptionsPanel(wxWindow* parent, const ExportDialogOptions& options);
    // The values shown, written into options.
    void Collect(ExportDialogOptions& options) const;

    // The file dialog's creator for the options in hand (SetExtraControlCreator
    // takes a plain function).
    static wxWindow* Create(wxWindow* parent);
    static const ExportDialogOptions* s_pPending;

private:
    void AddFlashControls(wxSizer* row, const ExportDialogOptions& options);

    wxSlider* m_pQuality = nullptr;
    wxStaticText* m_pQualityText = nullptr;
    wxCheckBox* m_pCheck = nullptr;
    wxSpinCtrl* m_pLoop = nullptr;
    wxSpinCtrl* m_pDelay = nullptr;
    wxSpinCtrl* m_pRate = nullptr;
    wxRadioButton* m_pBitmap = nullptr;
    wxCheckBox* m_pSwfLoop = nullptr;
};
