#include "ui/properties/dialogs/CGraphNameDlg.h"

#include "scene/pnScene.h"
#include "ui/properties/rules/GraphRules.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

CGraphNameDlg::CGraphNameDlg(wxWindow* parent, int type, const pnScene* scene)
    : wxDialog(parent, wxID_ANY, "Graph Name"), m_nType(type), m_pScene(scene) {
    if (m_pScene) m_strName = UniqueObjectName(*m_pScene, GraphDefaultName(type));
    auto* grid = new wxFlexGridSizer(2, 6, 6);
    grid->Add(new wxStaticText(this, wxID_ANY, "Name"), 0, wxALIGN_CENTER_VERTICAL);
    m_pName = new wxTextCtrl(this, IDC_NAME, wxString::FromUTF8(m_strName), wxDefaultPosition, wxSize(180, -1));
    // A longer name could never be a chart's: the whole wizard's input would go.
    m_pName->SetMaxLength(kGraphMaxNameChars);
    grid->Add(m_pName);
    grid->Add(new wxStaticText(this, wxID_ANY, "Number of Columns"), 0, wxALIGN_CENTER_VERTICAL);
    // The spin and its edit are one control here.
    m_pCount = new wxSpinCtrl(this, IDC_COUNT, "3", wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                              GraphMinCount(type), kGraphMaxItems, 3);
    grid->Add(m_pCount);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, wxID_CANCEL, "<  &Back"), 0, wxRIGHT, 6);
    auto* next = new wxButton(this, wxID_OK, "&Next  >");
    next->SetDefault();
    buttons->Add(next);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, IDC_TYPE, GraphTypeCaption(type)), 0, wxALL, 10);
    top->Add(grid, 0, wxLEFT | wxRIGHT, 10);
    top->Add(new wxStaticText(this, IDC_WARNING, ""), 0, wxALL, 4);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);
    SetEscapeId(wxID_CANCEL);
    Bind(wxEVT_BUTTON, &CGraphNameDlg::OnNext, this, wxID_OK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_bBack = true;
        EndModal(wxID_OK);
    }, wxID_CANCEL);
}

void CGraphNameDlg::OnNext(wxCommandEvent&) {
    if (!m_pScene) return;
    m_strName = m_pName->GetValue().ToStdString(wxConvUTF8);
    const std::string unique = UniqueObjectName(*m_pScene, GraphDefaultName(m_nType));
    // An empty name is refused like a taken one: the free default is shown.
    if (m_strName.empty()) {
        m_pName->SetValue(wxString::FromUTF8(unique));
        return;
    }
    if (!m_pScene->isObjectNameFree(m_strName.c_str())) {
        wxMessageBox(wxString::FromUTF8("\"" + m_strName + "\" is alreay used!"), "Name conflicted !",
                     wxOK | wxICON_WARNING, this);
        m_pName->SetValue(wxString::FromUTF8(unique));
        return;
    }
    const int typed = m_pCount->GetValue(), count = GraphClampCount(m_nType, typed);
    if (count != typed) {
        m_pCount->SetValue(count);
        return;
    }
    m_nCount = count;
    EndModal(wxID_OK);
}
