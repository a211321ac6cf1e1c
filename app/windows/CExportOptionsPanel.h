// The extra controls of the export file dialogs: JPEG quality and progressive
// compression; the alpha or transparency check; the animated GIF's loop count
// and frame delay. Shown inside the file dialog.
#pragma once

#include "app/core/CViewHost.h"

#include <wx/panel.h>

class wxCheckBox;
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
    };
    CExportOptionsPanel(wxWindow* parent, const ExportDialogOptions& options);
    // The values shown, written into options.
    void Collect(ExportDialogOptions& options) const;

    // The file dialog's creator for the options in hand (SetExtraControlCreator
    // takes a plain function).
    static wxWindow* Create(wxWindow* parent);
    static const ExportDialogOptions* s_pPending;

private:
    wxSlider* m_pQuality = nullptr;
    wxStaticText* m_pQualityText = nullptr;
    wxCheckBox* m_pCheck = nullptr;
    wxSpinCtrl* m_pLoop = nullptr;
    wxSpinCtrl* m_pDelay = nullptr;
};
