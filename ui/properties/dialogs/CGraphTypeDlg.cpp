#include "ui/properties/dialogs/CGraphTypeDlg.h"

#include "ui/properties/controls/CPictureCtrl.h"
#include "ui/properties/rules/GraphRules.h"
#include "ui/properties/controls/ObjectArt.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace {
const int kPictureIds[4] = {1493, 1495, 1496, 1497};
const int kTextIds[4] = {1498, 1499, 1500, 1501};
}  // namespace

int CGraphTypeDlg::TypeBitmap(int type) {
    static const int bitmaps[4] = {146, 140, 144, 143};
    return type >= 0 && type < 4 ? bitmaps[type] : -1;
}

CGraphTypeDlg::CGraphTypeDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Graph Type Selection") {
    auto* box = new wxStaticBoxSizer(wxHORIZONTAL, this, "  Graph Type  ");
    const int radioIds[4] = {IDC_BAR, IDC_LINE, IDC_PIE, IDC_AREA};
    for (int t = 0; t < 4; ++t) {
        auto* column = new wxBoxSizer(wxVERTICAL);
        auto* picture = new CPictureCtrl(box->GetStaticBox(), kPictureIds[t]);
        picture->SetBitmap(TypeBitmap(t), kArtMask);
        auto* text = new wxStaticText(box->GetStaticBox(), kTextIds[t], GraphTypeCaption(t));
        m_pRadio[t] = new wxRadioButton(box->GetStaticBox(), radioIds[t], "", wxDefaultPosition, wxDefaultSize,
                                        t == 0 ? wxRB_GROUP : 0);
        for (wxWindow* w : {static_cast<wxWindow*>(picture), static_cast<wxWindow*>(text)})
            w->Bind(wxEVT_LEFT_DOWN, [this, t](wxMouseEvent&) { SetType(t); });
        m_pRadio[t]->Bind(wxEVT_RADIOBUTTON, [this, t](wxCommandEvent&) { m_nType = t; });
        column->Add(picture, 0, wxALIGN_CENTER | wxALL, 4);
        column->Add(text, 0, wxALIGN_CENTER | wxALL, 2);
        column->Add(m_pRadio[t], 0, wxALIGN_CENTER | wxALL, 2);
        box->Add(column, 0, wxALL, 6);
    }
    auto* next = new wxButton(this, wxID_OK, "Next  >");
    next->SetDefault();
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(box, 0, wxALL, 10);
    top->Add(next, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);
    SetType(0);
    // Escape and the close box cancel the wizard. Without a Cancel button the
    // toolkit would press "Next" for them, and the name step's Escape (Back)
    // would bring the user back here again and again.
    SetEscapeId(wxID_CANCEL);
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_ESCAPE && IsModal()) EndModal(wxID_CANCEL);
        else e.Skip();
    });
}

void CGraphTypeDlg::SetType(int type) {
    m_nType = type;
    m_pRadio[type]->SetValue(true);
}
