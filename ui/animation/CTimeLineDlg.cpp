#include "ui/animation/CTimeLineDlg.h"

#include "editor/CEffectDialogs.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnScene.h"
#include "ui/animation/CSoundOpenFileDlg.h"
#include "ui/animation/CTimeLineTrackCtrl.h"
#include "ui/animation/TimeLineArt.h"
#include "ui/animation/TimeLineRules.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/CRepeatButton.h"
#include "ui/properties/controls/LayoutFit.h"
#include "ui/properties/controls/ToolTips.h"

#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/scrolbar.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace {
// Control ids of the panel.
enum : int {
    IDC_GO_START = 1002, IDC_STEP_BACK = 1005, IDC_PAUSE = 1015, IDC_STOP = 1037, IDC_PLAY = 1018,
    IDC_STEP_FORWARD = 1023, IDC_GO_END = 1029, IDC_FRAME = 1317, IDC_ADD = 1270, IDC_DELETE = 1301,
    IDC_VISIBLE = 1242, IDC_NAME = 1249, IDC_FIXED = 1777, IDC_SINGLE = 1386, IDC_ALL = 1341,
    IDC_ROW_BAR = 1595, IDC_FRAME_BAR = 1598
};
const int kRowLabelIds[5] = {1137, 1145, 1151, 1158, 1164};
// Align buttons and their pictures.
const int kAlignIds[8] = {1280, 1291, 1120, 1124, 1054, 1656, 1093, 1116};
const int kAlignBitmaps[8] = {350, 351, 352, 361, 356, 353, 357, 355};

// The smallest part of the field column the panel keeps in view; the rest
// scrolls.
constexpr int kMinFieldColumn = 80;

// The "Current Effect" fields: as large as its content wants to be, scrolled
// when the pane is smaller.
class CFieldColumn : public wxScrolledWindow {
public:
    explicit CFieldColumn(wxWindow* parent)
        : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(kMinFieldColumn, kMinFieldColumn),
                           wxHSCROLL | wxVSCROLL | wxTAB_TRAVERSAL) {
        SetScrollRate(8, 8);
        layout::ShowScrollBars(this);
    }

protected:
    wxSize DoGetBestSize() const override { return GetSizer() ? GetSizer()->GetMinSize() : wxSize(1, 1); }
};

int leadingNumber(const std::string& text) { return std::atoi(text.c_str()); }
}  // namespace

CTimeLineDlg::CTimeLineDlg(wxWindow* parent, wxWindowID id, const wxString& name)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL, name), m_model(*this) {
    auto* fields = new CFieldColumn(this);
    m_pFields = fields;
    auto imageButton = [](wxWindow* owner, int buttonId, int bitmap, const wxString& caption, int width) {
        CImageButton* b = (buttonId == IDC_STEP_BACK || buttonId == IDC_STEP_FORWARD)
                              ? new CRepeatButton(owner, buttonId, caption)
                              : new CImageButton(owner, buttonId, caption);
        const wxImage img = TimeLineBitmap(bitmap);
        b->SetImage(img, img.GetWidth(), img.GetHeight(), TimeLineMaskColour());
        b->m_nMargin = 2;
        b->m_nGap = 2;
        // The size the buttons were drawn for, or more where picture and caption need it.
        const wxSize best = b->GetBestSize();
        b->SetInitialSize(wxSize(std::max(width, best.x), std::max(22, best.y)));
        if (auto* repeat = dynamic_cast<CRepeatButton*>(b)) {
            repeat->m_pTarget = owner;
            repeat->m_nCode = buttonId;
        }
        return b;
    };
    auto label = [](wxWindow* owner, const char* text) { return new wxStaticText(owner, wxID_ANY, text); };

    // The frame buttons, the current frame, +E, -E and the visible toggle.
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    const int frameIds[7] = {IDC_GO_START, IDC_STEP_BACK, IDC_PAUSE, IDC_STOP, IDC_PLAY, IDC_STEP_FORWARD, IDC_GO_END};
    const int frameBitmaps[7] = {364, 365, 366, 367, 368, 369, 370};
    for (int i = 0; i < 7; ++i)
        buttons->Add(imageButton(this, frameIds[i], frameBitmaps[i], frameIds[i] == IDC_STOP ? "ST" : "", 22), 0,
                     wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
    buttons->Add(label(this, "Frame"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 6);
    m_pFrameEdit = layout::FitEdit(new CNumEdit(this, IDC_FRAME, "0"), layout::kFrameSample);
    buttons->Add(m_pFrameEdit, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    CImageButton* add = imageButton(this, IDC_ADD, 363, "+E", 40);
    add->SetToolTip("Add Effect");
    buttons->Add(add, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    CImageButton* remove = imageButton(this, IDC_DELETE, 360, "-E", 40);
    remove->SetToolTip("Delete Effect");
    buttons->Add(remove, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_pVisible = new wxBitmapToggleButton(this, IDC_VISIBLE, wxBitmap(TimeLineVisibleIcon(false)));
    buttons->Add(m_pVisible, 0, wxALIGN_CENTER_VERTICAL);

    // The row names level with the track's rows, the track and its scroll bars.
    auto* names = new wxBoxSizer(wxVERTICAL);
    for (int i = 0; i < CTimeLineModel::kVisibleRows; ++i) {
        m_rowLabels[i] = new wxStaticText(this, kRowLabelIds[i], "", wxDefaultPosition, wxSize(88, -1),
                                          wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
        auto* row = new wxBoxSizer(wxVERTICAL);
        row->SetMinSize(wxSize(88, CTimeLineTrack::kRowHeight));
        row->AddStretchSpacer();
        row->Add(m_rowLabels[i], 0, wxEXPAND);
        row->AddStretchSpacer();
        names->Add(row, 0, wxEXPAND);
    }
    m_pTrack = new CTimeLineTrackCtrl(this, this, wxDefaultPosition);
    m_pRowBar = new wxScrollBar(this, IDC_ROW_BAR, wxDefaultPosition, wxSize(-1, CTimeLineTrack::kHeight),
                                wxSB_VERTICAL);
    m_pFrameBar = new wxScrollBar(this, IDC_FRAME_BAR, wxDefaultPosition, wxSize(CTimeLineTrack::kWidth, -1),
                                  wxSB_HORIZONTAL);
    auto* track = new wxFlexGridSizer(3, 0, 2);
    track->Add(names, 0, wxALIGN_TOP | wxRIGHT, 6);
    track->Add(m_pTrack, 0, wxALIGN_TOP);
    track->Add(m_pRowBar, 0, wxALIGN_TOP);
    track->AddSpacer(0);
    track->Add(m_pFrameBar, 0, wxTOP, 2);
    track->AddSpacer(0);

    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(buttons, 0, wxALL, 3);
    left->Add(track, 0, wxLEFT | wxRIGHT | wxBOTTOM, 3);

    // "Current Effect" and the align buttons, in a column that scrolls.
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* current = new wxBoxSizer(wxHORIZONTAL);
    current->Add(label(fields, "Current Effect"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_pName = new wxTextCtrl(fields, IDC_NAME, "", wxDefaultPosition, wxSize(150, -1), wxTE_READONLY);
    current->Add(m_pName, 1, wxALIGN_CENTER_VERTICAL);
    column->Add(current, 0, wxEXPAND | wxBOTTOM, 4);
    auto* times = new wxBoxSizer(wxHORIZONTAL);
    auto timeField = [&](const char* caption, int fieldId, int gap) {
        times->Add(label(fields, caption), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
        CNumEdit* edit = layout::FitEdit(new CNumEdit(fields, fieldId), layout::kFrameSample);
        times->Add(edit, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
        return edit;
    };
    m_pStart = timeField("Start", CTimeLineModel::kFieldStart, 8);
    m_pEnd = timeField("End", CTimeLineModel::kFieldEnd, 8);
    m_pDuration = timeField("Dur.", CTimeLineModel::kFieldDuration, 0);
    column->Add(times, 0, wxBOTTOM, 4);
    auto* moves = new wxBoxSizer(wxHORIZONTAL);
    m_pFixed = new wxCheckBox(fields, IDC_FIXED, "Fixed Dur.");
    moves->Add(m_pFixed, 0, wxALIGN_BOTTOM | wxRIGHT, 10);
    auto* move = new wxBoxSizer(wxVERTICAL);
    move->Add(label(fields, "Effect Move"));
    auto* radios = new wxBoxSizer(wxHORIZONTAL);
    m_pSingle = new wxRadioButton(fields, IDC_SINGLE, "Single", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pAll = new wxRadioButton(fields, IDC_ALL, "All");
    radios->Add(m_pSingle, 0, wxRIGHT, 6);
    radios->Add(m_pAll);
    move->Add(radios);
    moves->Add(move);
    column->Add(moves, 0, wxBOTTOM, 4);
    m_pSingle->SetValue(true);
    auto* align = new wxBoxSizer(wxHORIZONTAL);
    for (int i = 0; i < 8; ++i) {
        m_alignButtons[kAlignIds[i]] = imageButton(fields, kAlignIds[i], kAlignBitmaps[i], "", 24);
        align->Add(m_alignButtons[kAlignIds[i]], 0, wxRIGHT, 2);
    }
    column->Add(align);
    auto* framed = new wxBoxSizer(wxVERTICAL);
    framed->Add(column, 0, wxALL, 3);
    fields->SetSizer(framed);
    // The column's edits report to it; the panel handles them.
    auto forward = [this](CPrivateMessageEvent& e) { GetEventHandler()->ProcessEvent(e); };
    fields->Bind(kvEVT_WM_NUMEDIT_COMMIT, forward);
    fields->Bind(kvEVT_WM_NUMEDIT_CHANGED, forward);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 0);
    top->Add(fields, 1, wxEXPAND | wxLEFT, 10);
    fields->SetMinSize(wxSize(kMinFieldColumn, kMinFieldColumn));
    SetSizer(top);
    // Smallest: the track whole and a part of the field column.
    SetMinSize(top->GetMinSize());

    Bind(wxEVT_BUTTON, &CTimeLineDlg::OnButton, this);
    Bind(wxEVT_TOGGLEBUTTON, &CTimeLineDlg::OnButton, this);
    Bind(wxEVT_CHECKBOX, &CTimeLineDlg::OnButton, this);
    Bind(wxEVT_RADIOBUTTON, &CTimeLineDlg::OnButton, this);
    Bind(kvEVT_WM_REPEAT_CLICK, &CTimeLineDlg::OnRepeatClick, this);
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CTimeLineDlg::OnNumEditCommit, this);
    m_pRowBar->Bind(wxEVT_SCROLL_CHANGED, &CTimeLineDlg::OnRowScroll, this);
    m_pRowBar->Bind(wxEVT_SCROLL_THUMBTRACK, &CTimeLineDlg::OnRowScroll, this);
    m_pFrameBar->Bind(wxEVT_SCROLL_LINEUP, &CTimeLineDlg::OnFrameScroll, this);
    m_pFrameBar->Bind(wxEVT_SCROLL_LINEDOWN, &CTimeLineDlg::OnFrameScroll, this);
    m_pFrameBar->Bind(wxEVT_SCROLL_PAGEUP, &CTimeLineDlg::OnFrameScroll, this);
    m_pFrameBar->Bind(wxEVT_SCROLL_PAGEDOWN, &CTimeLineDlg::OnFrameScroll, this);
    m_pFrameBar->Bind(wxEVT_SCROLL_THUMBTRACK, &CTimeLineDlg::OnFrameScroll, this);
    m_pFrameBar->Bind(wxEVT_SCROLL_THUMBRELEASE, &CTimeLineDlg::OnFrameScroll, this);
    Bind(wxEVT_CHAR_HOOK, &CTimeLineDlg::OnCharHook, this);
    RebuildRows();
}

wxSize CTimeLineDlg::DoGetBestSize() const {
    // The whole field column beside the track, unscrolled.
    wxSize best = GetSizer()->GetMinSize();
    const wxSize column = m_pFields->GetBestSize();
    best.x += column.x - kMinFieldColumn;
    best.y = std::max(best.y, column.y + 6);
    return best;
}

// ---- showing the model ----

void CTimeLineDlg::ShowModel() {
    LayOutTrack(m_model, m_pTrack->Track());
    m_pTrack->Refresh();
    for (int i = 0; i < CTimeLineModel::kVisibleRows; ++i) {
        const int row = m_model.TopRow() + i;
        m_rowLabels[i]->SetLabel(row < m_model.RowCount() ? wxString::FromUTF8(m_model.Rows()[row].name) : "");
    }
    m_pRowBar->SetScrollbar(m_model.TopRow(), CTimeLineModel::kVisibleRows, m_model.RowScrollMaximum() + 1,
                            CTimeLineModel::kVisibleRows);
    m_pFrameBar->SetScrollbar(m_model.FirstFrame(), CTimeLineModel::kPageFrames, m_model.FrameScrollRange(),
                              CTimeLineModel::kPageFrames);
    m_pFrameEdit->ChangeValue(wxString::Format("%d", m_model.CurrentFrame()));
    const CTimeLineEntry* e = m_model.SelectedItem();
    m_pName->ChangeValue(wxString::FromUTF8(m_model.FieldName()));
    const int pending = m_model.PendingFrame(m_model.SelectedRow());
    m_pStart->ChangeValue(e ? wxString::Format("%d", pending >= 0 ? pending : m_model.FieldStart()) : "");
    m_pEnd->ChangeValue(e ? wxString::Format("%d", pending >= 0 ? pending : m_model.FieldEnd()) : "");
    m_pDuration->ChangeValue(e ? wxString::Format("%lld", m_model.FieldDuration()) : "");
    const bool visible = e && m_model.SelectedRow() >= 2 && e->visible;
    m_pVisible->SetValue(visible);
    m_pVisible->SetBitmap(wxBitmap(TimeLineVisibleIcon(visible)));
    for (auto& [id, button] : m_alignButtons) button->Enable(m_model.AlignEnabled());
    // One tip per visible bar with its effect's name; tips of bars gone go too.
    std::set<int> tips;
    for (int v = 0; v < CTimeLineModel::kVisibleRows; ++v) {
        const int row = m_model.TopRow() + v;
        if (row < 2 || row >= m_model.RowCount()) continue;
        const auto& entries = m_model.Rows()[row].entries;
        for (size_t i = 0; i < entries.size(); ++i) {
            const CTrackRect r = m_pTrack->Track().GetBarRect(v, static_cast<int>(i));
            const int tipId = 600 * (row + 1) + static_cast<int>(i) + 1;
            AddRectTip(m_pTrack, wxString::FromUTF8(entries[i].name),
                       wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top), tipId);
            tips.insert(tipId);
        }
    }
    for (int old : m_barTips)
        if (!tips.count(old)) AddRectTip(m_pTrack, "", wxRect(), old);
    m_barTips = tips;
    if (m_pFixed->GetValue() != (GetFixedDuration() != 0)) m_pFixed->SetValue(GetFixedDuration() != 0);
}

void CTimeLineDlg::RebuildRows() {
    m_pTrack->Track().Reset();
    m_model.RebuildRows();
    ShowModel();
}
void CTimeLineDlg::UpdateEventRow(const std::string& n) {
    m_model.UpdateEventRow(n);
    ShowModel();
}
void CTimeLineDlg::UpdateEventRowAndSelect(const std::string& n, const std::string& e) {
    m_model.UpdateEventRowAndSelect(n, e);
    ShowModel();
}
void CTimeLineDlg::SelectEvent(const std::string& n, int entry) {
    m_model.SelectEvent(n, entry);
    ShowModel();
}
void CTimeLineDlg::SetCurrentFrame(int frame) {
    m_model.SetCurrentFrame(frame);
    ShowModel();
}
void CTimeLineDlg::UpdateAnimationEnd() {
    m_model.UpdateAnimationEnd();
    ShowModel();
}
void CTimeLineDlg::ClearPlaying() { m_model.ClearPlaying(); }
void CTimeLineDlg::SetPlaying() { m_model.SetPlaying(); }

// ---- controls ----

void CTimeLineDlg::OnButton(wxCommandEvent& event) {
    switch (event.GetId()) {
    case IDC_GO_START: m_model.GoToStart(); break;
    case IDC_GO_END: m_model.GoToEnd(); break;
    case IDC_PLAY: m_model.Play(); break;
    case IDC_PAUSE: m_model.Pause(); break;
    case IDC_STOP: m_model.Stop(); break;
    case IDC_ADD: m_model.AddEntry(); break;
    case IDC_DELETE: m_model.DeleteEntry(); break;
    case IDC_VISIBLE: m_model.SetVisible(m_pVisible->GetValue() ? 1 : 0); break;
    case IDC_FIXED: SetFixedDuration(m_pFixed->GetValue() ? 1 : 0); break;
    case IDC_SINGLE:
    case IDC_ALL: m_model.SetMoveAll(m_pAll->GetValue() ? 1 : 0); break;
    default:
        if (m_alignButtons.count(event.GetId())) m_model.Align(event.GetId());
        else return event.Skip();
    }
    ShowModel();
}

void CTimeLineDlg::OnRepeatClick(CPrivateMessageEvent& event) {
    if (event.GetWParam() == IDC_STEP_BACK) m_model.StepBack();
    else if (event.GetWParam() == IDC_STEP_FORWARD) m_model.StepForward();
    ShowModel();
}

void CTimeLineDlg::OnNumEditCommit(CPrivateMessageEvent& event) {
    const int id = static_cast<int>(event.GetWParam());
    if (id == IDC_FRAME) {
        m_model.TypeFrame(leadingNumber(m_pFrameEdit->GetText()));
    } else if (!m_model.HasMultiSelection()) {
        CNumEdit* edit = id == CTimeLineModel::kFieldStart ? m_pStart
                         : id == CTimeLineModel::kFieldEnd ? m_pEnd
                         : id == CTimeLineModel::kFieldDuration ? m_pDuration
                                                                : nullptr;
        if (edit) m_model.TypeTime(id, leadingNumber(edit->GetText()));
    }
    // Refused values show the play's times again.
    ShowModel();
}

void CTimeLineDlg::OnRowScroll(wxScrollEvent& event) {
    m_model.ScrollRowsTo(event.GetPosition());
    ShowModel();
}

void CTimeLineDlg::OnFrameScroll(wxScrollEvent& event) {
    const wxEventType t = event.GetEventType();
    if (t == wxEVT_SCROLL_LINEUP) m_model.ScrollFramesBy(-1);
    else if (t == wxEVT_SCROLL_LINEDOWN) m_model.ScrollFramesBy(1);
    else if (t == wxEVT_SCROLL_PAGEUP) m_model.ScrollFramesBy(-CTimeLineModel::kPageFrames);
    else if (t == wxEVT_SCROLL_PAGEDOWN) m_model.ScrollFramesBy(CTimeLineModel::kPageFrames);
    else m_model.ScrollFramesTo(event.GetPosition());
    ShowModel();
}

void CTimeLineDlg::OnCharHook(wxKeyEvent& event) {
    // Up and Down anywhere in the panel scroll the rows.
    const int key = event.GetKeyCode();
    if (key == WXK_UP || key == WXK_DOWN) {
        m_pRowBar->SetFocus();
        m_model.ScrollRowsTo(m_model.TopRow() + (key == WXK_UP ? -1 : 1));
        ShowModel();
        return;
    }
    event.Skip();
}

// ---- the track ----

void CTimeLineDlg::OnTrackPress(int shift) {
    const CTimeLineTrack& t = m_pTrack->Track();
    m_model.Press(t.PressedRow(), t.PressedEntry(), shift != 0);
    ShowModel();
}
void CTimeLineDlg::OnTrackPressNone() { m_pTrack->Refresh(); }
void CTimeLineDlg::OnTrackDrag(int mode, int dx) {
    if (m_model.IsPlaying()) return;
    m_model.Drag(mode, dx);
    ShowModel();
    RedrawView();
}
void CTimeLineDlg::OnTrackScroll(int dx) {
    m_model.ScrollFrame(dx);
    ShowModel();
}
void CTimeLineDlg::OnTrackRelease() {
    m_model.Release();
    ShowModel();
}
void CTimeLineDlg::OnTrackDblClk(int row, int entry) {
    m_model.DoubleClick(row, entry);
    ShowModel();
}

// ---- the host ----

void CTimeLineDlg::SetFixedDuration(int on) {
    CViewTimeLineHost::SetFixedDuration(on);
    m_pFixed->SetValue(on != 0);
}

std::string CTimeLineDlg::ChooseSoundFile() {
    CKelvanoAppState* app = GetAppState();
    const std::string folder = app ? app->m_strSoundDir : std::string();
    CSoundOpenFileDlg dlg(this, "Open WAV File", wxString::FromUTF8(folder), "Sound File (*.wav) |*.wav|");
    if (dlg.ShowModal() != wxID_OK) return std::string();
    const std::string path = dlg.GetPath().ToStdString(wxConvUTF8);
    std::ifstream probe(path, std::ios::binary);
    if (!probe || std::filesystem::is_directory(path)) {
        wxMessageBox(wxString::FromUTF8("\"" + path + "\": not found"), "File open error", wxOK | wxICON_ERROR, this);
        return std::string();
    }
    if (app) app->m_strSoundDir = std::filesystem::path(path).parent_path().string();
    return StoredSoundName(app ? app->m_strSoundDir2 : std::string(), path);
}
