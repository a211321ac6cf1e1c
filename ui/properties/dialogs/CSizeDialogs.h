// The "Image Size" dialog (the scene window's width and height, optionally in
// proportion) and the "Edit options" dialog (the copy offsets).
#pragma once

#include "ui/properties/rules/TextRules.h"

#include <wx/dialog.h>

class wxCheckBox;
class wxTextCtrl;

class CImageSizeDlg : public wxDialog {
public:
    explicit CImageSizeDlg(wxWindow* parent);
    static constexpr int kTemplate = 124;
    // Set before the dialog shows; read after OK.
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_bConstrain = 0;

    // Shows the values set (the dialog does it when it opens).
    void Start();
    // OK's test: both sides 1 or more, read into the members.
    bool TryOK();

    wxTextCtrl* m_pWidth = nullptr;
    wxTextCtrl* m_pHeight = nullptr;
    wxCheckBox* m_pConstrain = nullptr;

private:
    void OnTyped(bool width);
    ImageSizeRules m_rules;
};

class CEditOptionsDlg : public wxDialog {
public:
    explicit CEditOptionsDlg(wxWindow* parent);
    static constexpr int kTemplate = 427;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;
    // Shows the current document's offsets (the dialog does it when it opens).
    void Start();
    // OK's work: both whole integers are stored in the current document;
    // anything else is refused with a message and the dialog stays open.
    bool TryOK();

    wxTextCtrl* m_pX = nullptr;
    wxTextCtrl* m_pY = nullptr;
};
