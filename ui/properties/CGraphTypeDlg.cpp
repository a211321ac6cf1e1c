#include "ui/properties/CGraphTypeDlg.h"

#include "ui/properties/GraphRules.h"

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace {
const int kPictureIds[4] = {1493, 1495, 1496, 1497};
const int kTextIds[4] = {1498, 1499, 1500, 1501};
}  // namespace

wxBitmap CGraphTypeDlg::TypePicture(int type) {
    wxBitmap bmp(48, 40, 24);
    wxMemoryDC dc(bmp);
    dc.SetBackground(wxBrush(wxColour(0x80, 0x80, 0x00)));
    dc.Clear();
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(wxBrush(wxColour(60, 120, 230)));
    const int heights[4] = {14, 26, 20, 32};
    switch (type) {
    case GRAPH_BAR:
        for (int i = 0; i < 4; ++i) dc.DrawRectangle(4 + 11 * i, 38 - heights[i], 8, heights[i]);
        break;
    case GRAPH_LINE: {
        wxPoint pts[4];
        for (int i = 0; i < 4; ++i) pts[i] = wxPoint(6 + 12 * i, 38 - heights[i]);
        dc.SetPen(wxPen(wxColour(60, 120, 230), 3));
        dc.DrawLines(4, pts);
        break;
    }
    case GRAPH_PIE:
        dc.DrawEllipticArc(6, 2, 36, 36, 90, 360);
        dc.SetBrush(wxBrush(wxColour(230, 90, 60)));
        dc.DrawEllipticArc(6, 2, 36, 36, 0, 90);
        break;
    default: {
        wxPoint pts[6] = {{4, 38}, {4, 38 - heights[0]}, {17, 38 - heights[1]}, {30, 38 - heights[2]},
                          {44, 38 - heights[3]}, {44, 38}};
        dc.DrawPolygon(6, pts);
        break;
    }
    }
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

CGraphTypeDlg::CGraphTypeDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Graph Type Selection") {
    auto* box = new wxStaticBoxSizer(wxHORIZONTAL, this, "  Graph Type  ");
    const int radioIds[4] = {IDC_BAR, IDC_LINE, IDC_PIE, IDC_AREA};
    for (int t = 0; t < 4; ++t) {
        auto* column = new wxBoxSizer(wxVERTICAL);
        auto* picture = new wxStaticBitmap(box->GetStaticBox(), kPictureIds[t], TypePicture(t));
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
}

void CGraphTypeDlg::SetType(int type) {
    m_nType = type;
    m_pRadio[type]->SetValue(true);
}
