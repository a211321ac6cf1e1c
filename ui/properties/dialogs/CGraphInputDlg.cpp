#include "ui/properties/dialogs/CGraphInputDlg.h"

#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"

#include <wx/artprov.h>
#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

const int CGraphInputDlg::kNumberIds[5] = {1505, 1506, 1507, 1510, 1511};
const int CGraphInputDlg::kLabelIds[5] = {1248, 1279, 1261, 1372, 1406};
const int CGraphInputDlg::kTextIds[5] = {1256, 1287, 1268, 1383, 1414};
const int CGraphInputDlg::kValueIds[5] = {1297, 1355, 1303, 1396, 1420};

CGraphInputDlg::CGraphInputDlg(wxWindow* parent, int type, int count)
    : wxDialog(parent, wxID_ANY, "Input Graph Data") {
    m_rows.Start(type, count);
    auto* grid = new wxFlexGridSizer(4, 4, 6);
    grid->AddSpacer(1);
    grid->Add(new wxStaticText(this, wxID_ANY, "Label"));
    grid->Add(new wxStaticText(this, wxID_ANY, "Value"));
    grid->Add(new wxStaticText(this, IDC_VALUE_CAPTION, GraphValueCaption(type)));
    for (int r = 0; r < 5; ++r) {
        m_pNumber[r] = new wxStaticText(this, kNumberIds[r], "", wxDefaultPosition, wxSize(28, -1));
        m_pLabel[r] = new CNumEdit(this, kLabelIds[r], "", wxDefaultPosition, wxSize(120, -1));
        m_pText[r] = new CNumEdit(this, kTextIds[r], "", wxDefaultPosition, wxSize(90, -1));
        m_pValue[r] = new CNumEdit(this, kValueIds[r], "", wxDefaultPosition, wxSize(80, -1));
        grid->Add(m_pNumber[r], 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(m_pLabel[r]);
        grid->Add(m_pText[r]);
        grid->Add(m_pValue[r]);
    }
    m_pPrev = new wxBitmapButton(this, IDC_PREV, wxArtProvider::GetBitmap(wxART_GO_BACK, wxART_BUTTON));
    m_pNext = new wxBitmapButton(this, IDC_NEXT, wxArtProvider::GetBitmap(wxART_GO_FORWARD, wxART_BUTTON));
    auto* pages = new wxBoxSizer(wxHORIZONTAL);
    pages->Add(m_pPrev, 0, wxRIGHT, 4);
    pages->Add(m_pNext);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, IDC_BACK, "<  &Back"), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, 1504, GraphTypeCaption(type)), 0, wxALL, 10);
    top->Add(grid, 0, wxLEFT | wxRIGHT, 10);
    top->Add(pages, 0, wxALIGN_RIGHT | wxALL, 6);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (m_rows.PrevPage()) ShowPage();
    }, IDC_PREV);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (m_rows.NextPage()) ShowPage();
    }, IDC_NEXT);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_bBack = true;
        EndModal(wxID_OK);
    }, IDC_BACK);
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CGraphInputDlg::OnCommit, this);
    // OK, Back and the page arrows take every cell as it stands.
    CommitTypedFieldsBeforeButtons(this);
    ShowPage();
}

void CGraphInputDlg::ShowPage() {
    const int page = m_rows.GetPage();
    for (int r = 0; r < 5; ++r) {
        const bool used = m_rows.RowUsed(r);
        const GraphRow& row = m_rows.Row(r);
        m_pNumber[r]->SetLabel(used ? wxString::Format("%d", page * kGraphRowsPerPage + r + 1) : wxString());
        m_pLabel[r]->ChangeValue(used ? wxString::FromUTF8(row.label) : wxString());
        m_pText[r]->ChangeValue(used ? wxString::FromUTF8(row.dataText) : wxString());
        m_pValue[r]->ChangeValue(used ? wxString::Format("%.2f", row.value) : wxString("0.00"));
        for (wxWindow* w : {static_cast<wxWindow*>(m_pLabel[r]), static_cast<wxWindow*>(m_pText[r]),
                            static_cast<wxWindow*>(m_pValue[r])})
            w->Enable(used);
    }
    m_pPrev->Enable(page > 0);
    m_pNext->Enable(page < m_rows.GetLastPage());
}

void CGraphInputDlg::OnCommit(CPrivateMessageEvent& event) {
    const int id = static_cast<int>(event.GetWParam());
    for (int r = 0; r < 5; ++r) {
        if (id == kLabelIds[r]) m_rows.CommitLabel(r, m_pLabel[r]->GetText());
        if (id == kTextIds[r]) m_rows.CommitDataText(r, m_pText[r]->GetText());
        if (id == kValueIds[r]) {
            const std::string shown = m_rows.CommitValue(r, m_pValue[r]->GetText());
            m_pValue[r]->ChangeValue(wxString::FromUTF8(shown));
            if (m_rows.Follows(r)) m_pText[r]->ChangeValue(wxString::FromUTF8(shown));
        }
    }
    // Enter commits and closes as OK.
    if (event.GetLParam() == 1 && IsModal()) EndModal(wxID_OK);
}
