#include "ui/properties/dialogs/CAddTextDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "platform/FontOutline.h"
#include "scene/pnScene.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/rules/TextRules.h"
#include "ui/properties/controls/ToolTips.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include <algorithm>

namespace {

enum : int { IDC_TEXT = 1313, IDC_FACE = 1537, IDC_SIZE = 1485, IDC_ITALIC = 1060, IDC_NAME = 1336, IDC_MORE = 1143,
             IDC_MARKER = 1523 };

constexpr int kCellWidth = 26;
constexpr int kCellPad = 6;

wxFont pixelFont(const std::string& face, int height, bool italic) {
    wxFontInfo info(wxSize(0, height > 0 ? height : 1));
    info.FaceName(wxString::FromUTF8(face)).Italic(italic);
    return wxFont(info);
}

// Icon 403: a slanted I on the button's face.
wxBitmap italicIcon() {
    wxBitmap bmp(16, 16);
    {
        wxMemoryDC dc(bmp);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        dc.SetPen(wxPen(*wxBLACK, 2));
        dc.DrawLine(9, 2, 6, 14);
        dc.DrawLine(6, 2, 12, 2);
        dc.DrawLine(3, 14, 9, 14);
    }
    wxImage image = bmp.ConvertToImage();
    image.SetMaskColour(255, 255, 255);
    return wxBitmap(image);
}

}  // namespace

CGlyphCells::CGlyphCells(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN), m_present(kCount, false) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CGlyphCells::OnPaint, this);
}

void CGlyphCells::SetFace(const std::string& face, int height, bool italic) {
    m_strFace = face;
    m_nHeight = height;
    m_bItalic = italic;
    // A cell stays empty where the face has no glyph of its own.
    FontOutline font(FontRequest{face, height, 400, italic});
    for (int i = 0; i < kCount; ++i) m_present[i] = font.ok() && font.hasGlyph(33 + i);
    InvalidateBestSize();
    Refresh();
}

std::string CGlyphCells::CellText(int index) const {
    if (index < 0 || index >= kCount || !m_present[index]) return "";
    return std::string(1, static_cast<char>(33 + index));
}

wxRect CGlyphCells::CellRect(int index) const {
    const int rowHeight = m_nHeight + kCellPad;
    return wxRect((index % kColumns) * kCellWidth, (index / kColumns) * rowHeight, kCellWidth, rowHeight);
}

int CGlyphCells::CellAt(const wxPoint& point) const {
    for (int i = 0; i < kCount; ++i)
        if (CellRect(i).Contains(point)) return i;
    return -1;
}

wxSize CGlyphCells::DoGetBestSize() const {
    const int rows = (kCount + kColumns - 1) / kColumns;
    return wxSize(kColumns * kCellWidth + 4, rows * (m_nHeight + kCellPad) + 4);
}

void CGlyphCells::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    dc.SetFont(pixelFont(m_strFace, m_nHeight, m_bItalic));
    dc.SetPen(wxPen(wxColour(0xC0, 0xC0, 0xC0)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    for (int i = 0; i < kCount; ++i) {
        const wxRect r = CellRect(i);
        dc.DrawRectangle(r);
        const std::string text = CellText(i);
        if (text.empty()) continue;
        const wxSize extent = dc.GetTextExtent(text);
        dc.DrawText(text, r.x + (r.width - extent.x) / 2, r.y + (r.height - extent.y) / 2);
    }
}

CAddTextDlg::CAddTextDlg(int templateId, wxWindow* parent)
    : wxDialog(parent, templateId, "Text", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_pText = new wxTextCtrl(this, IDC_TEXT, "", wxDefaultPosition, wxSize(420, -1));
    top->Add(m_pText, 0, wxALL | wxEXPAND, 8);

    auto* line = new wxBoxSizer(wxHORIZONTAL);
    m_faces = outlineFontFamilies();
    wxArrayString faces;
    for (const std::string& f : m_faces) faces.Add(wxString::FromUTF8(f));
    m_pFace = new wxChoice(this, IDC_FACE, wxDefaultPosition, wxDefaultSize, faces);
    line->Add(m_pFace, 1, wxRIGHT, 6);
    wxArrayString sizes;
    for (const char* s : {"20", "24", "28", "32", "40", "48", "64", "80", "96", "112"}) sizes.Add(s);
    m_pSize = new wxComboBox(this, IDC_SIZE, "", wxDefaultPosition, wxSize(70, -1), sizes, wxCB_READONLY);
    line->Add(m_pSize, 0, wxRIGHT, 6);
    m_pItalic = new wxCheckBox(this, IDC_ITALIC, "Italic");
    line->Add(new wxStaticBitmap(this, wxID_ANY, italicIcon()), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
    line->Add(m_pItalic, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(line, 0, wxLEFT | wxRIGHT | wxEXPAND, 8);

    auto* nameLine = new wxBoxSizer(wxHORIZONTAL);
    nameLine->Add(new wxStaticText(this, wxID_ANY, templateId == 207 ? "Name:" : "Name"), 0,
                  wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_pName = new wxTextCtrl(this, IDC_NAME, "");
    m_pName->SetMaxLength(CKelvanoView::kMaxObjectNameChars);
    nameLine->Add(m_pName, 1);
    m_pMore = new wxToggleButton(this, IDC_MORE, "More >>");
    nameLine->Add(m_pMore, 0, wxLEFT, 6);
    top->Add(nameLine, 0, wxALL | wxEXPAND, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 8);
    top->Add(new wxStaticText(this, IDC_MARKER, ""), 0);
    m_pCells = new CGlyphCells(this, CGlyphCells::kFirstCellId);
    top->Add(m_pCells, 0, wxALL, 8);
    SetSizer(top);

    // Opening: compact, "Arial" (or what stands for it), size 64.
    m_nScale = 15;
    m_nSize = 64;
    m_strFace = PickFace(m_faces, "Arial", matchedFontFamily("Arial"));
    for (size_t i = 0; i < m_faces.size(); ++i)
        if (m_faces[i] == m_strFace) m_pFace->SetSelection(static_cast<int>(i));
    AddControlTip(m_pFace, wxString::FromUTF8(m_strFace));
    m_pSize->SetSelection(6);
    MakeTextFont();
    m_pText->ChangeValue("");
    m_pCells->SetFace(m_strFace, m_nScale / 10 * 15, false);
    if (CKelvanoView* view = CurrentView()) m_strName = view->MakeUniqueObjectName("Text");
    m_pName->ChangeValue(wxString::FromUTF8(m_strName));
    top->Hide(m_pCells);
    Fit();

    m_pFace->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnFaceChange(); });
    m_pSize->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { OnSizeChange(); });
    m_pItalic->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnItalicChange(); });
    m_pMore->Bind(wxEVT_TOGGLEBUTTON, [this](wxCommandEvent&) { OnMore(); });
    m_pText->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
        m_strText = m_pText->GetValue().ToStdString(wxConvUTF8);
        e.Skip();
    });
    m_pCells->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        OnCellClick(e.GetPosition());
        e.Skip();
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (TryOK()) EndModal(wxID_OK);
    }, wxID_OK);
    m_pText->SetFocus();
}

void CAddTextDlg::ReadControls() {
    m_bItalic = m_pItalic->GetValue() ? 1 : 0;
    m_bMore = m_pMore->GetValue() ? 1 : 0;
    m_strName = m_pName->GetValue().ToStdString(wxConvUTF8);
}

void CAddTextDlg::MakeTextFont() {
    if (m_nTextFrame < 0) m_nTextFrame = std::max(0, m_pText->GetBestSize().y - m_pText->GetCharHeight());
    m_nTextFontHeight = PreviewFontHeight(m_nSize, m_nScale);
    m_pText->SetFont(pixelFont(m_strFace, m_nTextFontHeight, m_bItalic != 0));
    // The toolkit tells the taller line only once the edit is drawn: the
    // dialog makes room for it now, so the buttons below keep their size.
    m_pText->SetMinSize(wxSize(m_pText->GetMinSize().x, m_pText->GetCharHeight() + m_nTextFrame));
}

void CAddTextDlg::OnFaceChange() {
    const int at = m_pFace->GetSelection();
    if (at < 0 || at >= static_cast<int>(m_faces.size())) return;
    m_strFace = m_faces[at];
    AddControlTip(m_pFace, wxString::FromUTF8(m_strFace));
    m_pCells->SetFace(m_strFace, PreviewFontHeight(15, m_nScale), m_bItalic != 0);
    MakeTextFont();
    Layout();
    if (m_bMore) Fit();
}

void CAddTextDlg::OnSizeChange() {
    const int at = m_pSize->GetSelection();
    if (at < 0) return;
    m_nSize = static_cast<int>(ParseLeadingFloat(m_pSize->GetString(at).ToStdString()));
    MakeTextFont();
    Fit();
}

void CAddTextDlg::OnItalicChange() {
    ReadControls();
    MakeTextFont();
    Fit();
}

void CAddTextDlg::OnMore() {
    ReadControls();
    GetSizer()->Show(m_pCells, m_bMore != 0);
    Fit();
}

void CAddTextDlg::OnCellClick(const wxPoint& point) {
    const std::string cell = m_pCells->CellText(m_pCells->CellAt(point));
    if (cell.empty()) return;
    long from = 0, to = 0;
    m_pText->GetSelection(&from, &to);
    if (from < to) {
        m_pText->Replace(from, to, wxString::FromUTF8(cell));
    } else {
        // The character goes to the end, wherever the caret stands.
        m_strText += cell;
        m_pText->ChangeValue(wxString::FromUTF8(m_strText));
    }
    m_strText = m_pText->GetValue().ToStdString(wxConvUTF8);
}

bool CAddTextDlg::TryOK() {
    CKelvanoView* view = CurrentView();
    if (!view || !view->GetScene()) return false;
    ReadControls();
    // An empty name could never be added: refused like a taken one.
    if (view->GetScene()->isObjectNameFree(m_strName.c_str())) {
        m_strText = m_pText->GetValue().ToStdString(wxConvUTF8);
        return true;
    }
    if (view->GetHost())
        view->GetHost()->MessageBox(m_strName.empty() ? std::string("Please enter a name.")
                                                      : "\"" + m_strName + "\" is alreay used!",
                                    "Name conflicted !", KV_MB_OK | KV_MB_ICONWARNING);
    m_strName = view->MakeUniqueObjectName("Text");
    m_pName->ChangeValue(wxString::FromUTF8(m_strName));
    return false;
}
