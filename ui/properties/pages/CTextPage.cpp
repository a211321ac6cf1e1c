#include "ui/properties/pages/CTextPage.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "platform/FontOutline.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnString.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/dialogs/CEdgeShadowDlg.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNotifyComboBox.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/controls/CPictureCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/controls/ObjectArt.h"
#include "ui/properties/rules/TextRules.h"
#include "ui/properties/controls/ToolTips.h"
#include "ui/properties/pages/PageSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <cmath>
#include <memory>

namespace {

enum : int {
    IDC_HEADING = 1247, IDC_PICTURE = 1492, IDC_NAME = 1006, IDC_TEXT = 1009, IDC_FONT = 1140, IDC_SIZE = 1485,
    IDC_ORIGIN = 1478, IDC_SPACING = 1167, IDC_SPACING_SPIN = 1172, IDC_BEVEL_WIDTH = 1182,
    IDC_BEVEL_WIDTH_SPIN = 1175, IDC_BEVEL_DEPTH = 1187, IDC_BEVEL_DEPTH_SPIN = 1194, IDC_RATIO = 1214,
    IDC_RATIO_SPIN = 1219, IDC_DEPTH = 1222, IDC_DEPTH_SPIN = 1231, IDC_QUALITY = 1482, IDC_ITALIC = 1060,
    IDC_NJUST_CHECK = 1159, IDC_NJUST = 1264, IDC_NJUST_SPIN = 1661, IDC_WJUST_CHECK = 1165, IDC_WJUST = 1281,
    IDC_WJUST_SPIN = 1663, IDC_2D = 1205, IDC_EDGE_SHADOW = 1292, IDC_TEXTURE_OFF = 1393, IDC_TEXTURE_ON = 1403,
    IDC_SWATCH = 1239, IDC_TEXTURE = 1269,
};

}  // namespace

CTextPage::CTextPage(wxWindow* parent, int templateId) : CObjectPageDlg(parent, templateId) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* head = new wxBoxSizer(wxHORIZONTAL);
    auto* picture = new CPictureCtrl(this, IDC_PICTURE);
    picture->SetBitmap(145, kArtMask);
    head->Add(picture, 0, wxRIGHT, 6);
    m_pHeading = new wxStaticText(this, IDC_HEADING, "Text");
    head->Add(m_pHeading, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(head, 0, wxALL, 4);

    auto* grid = new wxFlexGridSizer(2, 4, 4);
    grid->AddGrowableCol(1);
    auto row = [this, grid](const char* label, wxWindow* control) {
        grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(control, 1, wxEXPAND);
    };
    auto spinRow = [this](CNumEdit*& edit, int editId, CNumSpinCtrl*& spin, int spinId, TextIntRange range) {
        auto* line = new wxBoxSizer(wxHORIZONTAL);
        edit = new CNumEdit(this, editId, "", wxDefaultPosition, wxSize(60, -1));
        spin = new CNumSpinCtrl(this, spinId);
        spin->SetRange(range.lo, range.hi);
        spin->SetBuddy(edit);
        line->Add(edit, 1, wxEXPAND);
        line->Add(spin, 0);
        return line;
    };
    m_pName = pages::NameEdit(new CNumEdit(this, IDC_NAME));
    m_pName->m_nMode = 2;
    row("Name", m_pName);
    m_pText = new CNumEdit(this, IDC_TEXT);
    m_pText->m_nMode = 2;
    row("Input Text", m_pText);
    m_faces = outlineFontFamilies();
    wxArrayString faces;
    for (const std::string& f : m_faces) faces.Add(wxString::FromUTF8(f));
    m_pFont = new wxChoice(this, IDC_FONT, wxDefaultPosition, wxDefaultSize, faces);
    row("Font", m_pFont);
    wxArrayString sizes;
    for (const char* s : kTextSizes) sizes.Add(s);
    m_pSize = new CNotifyComboBox(this, IDC_SIZE, "", wxDefaultPosition, wxDefaultSize, sizes, wxTE_PROCESS_ENTER);
    row("Size ", m_pSize);
    m_pOrigin = new wxChoice(this, IDC_ORIGIN);
    for (const char* o : kTextOrigins) m_pOrigin->Append(o);
    row("Origin", m_pOrigin);
    auto lineRow = [this, grid](const char* label, wxSizer* line) {
        grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(line, 1, wxEXPAND);
    };
    lineRow("Spacing", spinRow(m_pSpacing, IDC_SPACING, m_pSpacingSpin, IDC_SPACING_SPIN, kTextSpacingRange));
    lineRow("Bevel Width",
            spinRow(m_pBevelWidth, IDC_BEVEL_WIDTH, m_pBevelWidthSpin, IDC_BEVEL_WIDTH_SPIN, kTextBevelSpinRange));
    lineRow("Height",
            spinRow(m_pBevelDepth, IDC_BEVEL_DEPTH, m_pBevelDepthSpin, IDC_BEVEL_DEPTH_SPIN, kTextBevelSpinRange));
    lineRow("Ratio(%)", spinRow(m_pRatio, IDC_RATIO, m_pRatioSpin, IDC_RATIO_SPIN, kTextRatioRange));
    lineRow("Extrusion", spinRow(m_pDepth, IDC_DEPTH, m_pDepthSpin, IDC_DEPTH_SPIN, kTextDepthRange));
    m_pQuality = new wxChoice(this, IDC_QUALITY);
    for (int q = 1; q <= kTextQualities; ++q) m_pQuality->Append(wxString::Format("%d", q));
    row("Quality", m_pQuality);
    top->Add(grid, 0, wxALL | wxEXPAND, 4);

    auto* checks = new wxFlexGridSizer(2, 4, 4);
    m_pItalic = new wxCheckBox(this, IDC_ITALIC, "Italic");
    m_p2D = new wxCheckBox(this, IDC_2D, "2D");
    checks->Add(m_pItalic);
    checks->Add(m_p2D);
    m_pNJustCheck = new wxCheckBox(this, IDC_NJUST_CHECK, "N Just.");
    checks->Add(m_pNJustCheck, 0, wxALIGN_CENTER_VERTICAL);
    checks->Add(spinRow(m_pNJust, IDC_NJUST, m_pNJustSpin, IDC_NJUST_SPIN, kTextJustRange));
    m_pWJustCheck = new wxCheckBox(this, IDC_WJUST_CHECK, "W Just.");
    checks->Add(m_pWJustCheck, 0, wxALIGN_CENTER_VERTICAL);
    checks->Add(spinRow(m_pWJust, IDC_WJUST, m_pWJustSpin, IDC_WJUST_SPIN, kTextJustRange));
    top->Add(checks, 0, wxALL, 4);
    m_pEdgeShadow = new wxButton(this, IDC_EDGE_SHADOW, "Edge/Shadow");
    top->Add(m_pEdgeShadow, 0, wxALL, 4);

    auto* material = new wxStaticBoxSizer(wxHORIZONTAL, this, "Material");
    wxWindow* box = material->GetStaticBox();
    m_pSwatch = new CColorButton(box, IDC_SWATCH);
    material->Add(m_pSwatch, 0, wxALL, 4);
    m_pTextureOff = new wxRadioButton(box, IDC_TEXTURE_OFF, "Off", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pTextureOn = new wxRadioButton(box, IDC_TEXTURE_ON, "On");
    m_pTexture = new wxButton(box, IDC_TEXTURE, "&Texture");
    material->Add(m_pTextureOff, 0, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    material->Add(m_pTextureOn, 0, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    material->Add(m_pTexture, 0, wxALL, 4);
    top->Add(material, 0, wxALL | wxEXPAND, 4);
    SetSizer(top);

    SetEditRanges();
    ShowDefaults();

    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CTextPage::OnCommit, this);
    Bind(kvEVT_WM_NUMEDIT_CHANGED, &CTextPage::OnChanged, this);
    Bind(kvEVT_WM_SPIN_RELEASED, &CTextPage::OnSpinReleased, this);
    Bind(kvEVT_WM_COMBO_COMMIT, &CTextPage::OnComboCommit, this);
    Bind(kvEVT_WM_MATERIAL_CHOSEN, &CTextPage::OnMaterial, this);
    Bind(kvEVT_WM_MATERIAL_MODIFIED, &CTextPage::OnMaterial, this);
    Bind(wxEVT_SPIN, &CTextPage::OnBevelSpin, this);
    m_pFont->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnFont(); });
    m_pOrigin->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnOrigin(); });
    m_pQuality->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnQuality(); });
    m_pSize->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { OnSizeChosen(); });
    m_pItalic->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnItalic(); });
    m_pNJustCheck->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { ApplyJust(true); });
    m_pWJustCheck->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { ApplyJust(false); });
    m_p2D->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { On2D(); });
    m_pEdgeShadow->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnEdgeShadow(); });
    m_pSwatch->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSwatch(); });
    m_pTexture->Bind(wxEVT_BUTTON, [](wxCommandEvent&) {
        if (CKelvanoView* view = CurrentView()) view->ShowTextTextureDialog();
    });
    m_pTextureOff->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnTextureMode(0); });
    m_pTextureOn->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnTextureMode(1); });
    EnableControls();
}

pnString* CTextPage::Selected() const { return SelectedObjectAs<pnString>(); }

void CTextPage::SetEditRanges() {
    auto intRange = [](CNumEdit* e, TextIntRange range) {
        e->m_nMode = 0;
        e->m_nMin = range.lo;
        e->m_nMax = range.hi;
    };
    intRange(m_pSpacing, kTextSpacingRange);
    intRange(m_pRatio, kTextRatioRange);
    intRange(m_pDepth, kTextDepthRange);
    intRange(m_pNJust, kTextJustRange);
    intRange(m_pWJust, kTextJustRange);
    for (CNumEdit* e : {m_pBevelWidth, m_pBevelDepth}) {
        e->m_nMode = 1;
        e->m_fMin = 0.0f;
        e->m_fMax = kTextBevelMax;
    }
}

void CTextPage::ShowDefaults() {
    const TextPageDefaults d;
    m_pSpacingSpin->SetValue(d.spacing);
    m_pBevelWidthSpin->SetValue(d.bevelTenths);
    m_pBevelDepthSpin->SetValue(d.bevelTenths);
    m_pRatioSpin->SetValue(d.ratio);
    m_pDepthSpin->SetValue(d.depth);
    m_pRatio->ChangeValue(wxString::Format("%d", d.ratio));
    m_pDepth->ChangeValue(wxString::Format("%d", d.depth));
    m_pSpacing->ChangeValue(wxString::Format("%d", d.spacing));
    m_pOrigin->SetSelection(d.origin);
    m_pQuality->SetSelection(d.qualityIndex);
    m_pSize->SetSelection(d.sizeIndex);
    const std::string face = PickFace(m_faces, d.face, matchedFontFamily(d.face));
    for (size_t i = 0; i < m_faces.size(); ++i)
        if (m_faces[i] == face) m_pFont->SetSelection(static_cast<int>(i));
}

void CTextPage::OnBevelSpin(wxSpinEvent& event) {
    if (event.GetId() == IDC_BEVEL_WIDTH_SPIN) m_pBevelWidth->ChangeValue(BevelSpinText(event.GetPosition()));
    if (event.GetId() == IDC_BEVEL_DEPTH_SPIN) m_pBevelDepth->ChangeValue(BevelSpinText(event.GetPosition()));
}

void CTextPage::OnFont() {
    const std::string face = FaceAt(m_faces, m_pFont->GetSelection());
    if (face.empty()) return;
    Bracket([&](pnString* t) { t->setFont(face.c_str()); });
    AddControlTip(m_pFont, wxString::FromUTF8(face));
}

void CTextPage::OnOrigin() {
    const int at = m_pOrigin->GetSelection();
    Bracket([&](pnString* t) { t->setHJust(at); });
}

void CTextPage::OnQuality() {
    const float precision = PrecisionFromQuality(m_pQuality->GetSelection() + 1);
    Bracket([&](pnString* t) { t->setPrecision(precision); });
}

void CTextPage::OnSizeChosen() {
    const int at = m_pSize->GetSelection();
    if (at >= 0) {
        const int size = ParseLeadingInt(m_pSize->GetString(at).ToStdString());
        Bracket([&](pnString* t) { t->setSize(static_cast<float>(size)); });
    } else if (pnString* t = Selected()) {
        m_pSize->ChangeValue(wxString::Format("%d", ClampedInt(t->getSize())));
    }
}

void CTextPage::OnItalic() {
    const int on = m_pItalic->GetValue() ? 1 : 0;
    Bracket([&](pnString* t) { t->setItalic(on); });
}

void CTextPage::On2D() {
    const int kind = TextKindOf2D(m_p2D->GetValue());
    Bracket([&](pnString* t) { t->setKind(kind); });
    EnableControls();
}

void CTextPage::OnTextureMode(int mode) {
    Bracket([&](pnString* t) { t->setMode(mode); });
}

template <typename Change>
void CTextPage::Bracket(Change change) {
    pnString* text = Selected();
    pages::Change(text, [&] { change(text); });
}

void CTextPage::EnableControls() {
    const bool locked = IsLocked();
    const bool flat = m_p2D->GetValue();
    for (wxWindow* w : std::initializer_list<wxWindow*>{m_pBevelWidth, m_pBevelWidthSpin, m_pBevelDepth,
                                                        m_pBevelDepthSpin, m_pRatio, m_pRatioSpin, m_pDepth,
                                                        m_pDepthSpin})
        w->Enable(!locked && !flat);
    m_pEdgeShadow->Enable(!locked && flat);
    for (wxWindow* w : std::initializer_list<wxWindow*>{m_pName, m_pText, m_pFont, m_pSize, m_pOrigin, m_pSpacing,
                                                        m_pSpacingSpin, m_pQuality, m_pItalic, m_pNJustCheck,
                                                        m_pWJustCheck, m_p2D, m_pTextureOff, m_pTextureOn,
                                                        m_pSwatch, m_pTexture})
        w->Enable(!locked);
    m_pNJust->Enable(!locked && m_pNJustCheck->GetValue());
    m_pNJustSpin->Enable(!locked && m_pNJustCheck->GetValue());
    m_pWJust->Enable(!locked && m_pWJustCheck->GetValue());
    m_pWJustSpin->Enable(!locked && m_pWJustCheck->GetValue());
}

void CTextPage::Lock(bool locked) {
    CObjectPageDlg::Lock(locked);
    EnableControls();
}

void CTextPage::LoadFromObject(pnObject* object, int /*flag*/) {
    CKelvanoView* view = CurrentView();
    auto* t = dynamic_cast<pnString*>(object);
    if (!view || !view->GetScene() || !t) return;
    const int face = FaceIndex(m_faces, t->getFont(), matchedFontFamily(t->getFont()));
    if (face >= 0) m_pFont->SetSelection(face);
    AddControlTip(m_pFont, wxString::FromUTF8(face >= 0 ? m_faces[face] : t->getFont()));
    m_pText->ChangeValue(wxString::FromUTF8(t->getString()));
    m_pName->ChangeValue(wxString::FromUTF8(t->getName()));
    // Numbers from a file may lie beyond the int range: they show held at it.
    m_pSpacingSpin->SetValue(ClampedInt(t->getGap()));
    m_pSpacing->ChangeValue(wxString::Format("%d", ClampedInt(t->getGap())));
    const wxString size = wxString::Format("%d", ClampedInt(t->getSize()));
    const int listed = m_pSize->FindString(size, true);
    if (listed >= 0)
        m_pSize->SetSelection(listed);
    else
        m_pSize->ChangeValue(size);
    m_pBevelWidthSpin->SetValue(ClampedInt(t->getBevel(0) * 10.0));
    m_pBevelDepthSpin->SetValue(ClampedInt(t->getBevel(1) * 10.0));
    m_pBevelWidth->ChangeValue(FixedText(t->getBevel(0), 2));
    m_pBevelDepth->ChangeValue(FixedText(t->getBevel(1), 2));
    const int quality = QualityFromPrecision(t->getPrecision());
    m_pQuality->SetSelection(quality >= 1 && quality <= kTextQualities ? quality - 1 : wxNOT_FOUND);
    const int ratio = ClampedInt(std::round(t->getRatio() * 100.0));
    m_pRatioSpin->SetValue(ratio);
    m_pRatio->ChangeValue(wxString::Format("%d", ratio));
    m_pDepthSpin->SetValue(ClampedInt(t->getDepth()));
    m_pDepth->ChangeValue(wxString::Format("%d", ClampedInt(t->getDepth())));
    m_pItalic->SetValue(t->getItalic() != 0);
    m_pSwatch->SetColor(pages::SwatchColour(t));
    const int w = ClampedInt(t->getWJust()), n = ClampedInt(t->getNJust());
    m_pWJust->ChangeValue(wxString::Format("%d", w));
    m_pWJustSpin->SetValue(w);
    m_pWJustCheck->SetValue(w != 0);
    m_pNJust->ChangeValue(wxString::Format("%d", n));
    m_pNJustSpin->SetValue(n);
    m_pNJustCheck->SetValue(n != 0);
    m_pOrigin->SetSelection(t->getHJust());
    // The texture-coordinate mode the radios set, as the model page reads it
    // (the image-sequence flag showed a textured title "Off" once reopened).
    const bool textured = !t->getTexture().empty() && t->getMode() != 0;
    (textured ? m_pTextureOn : m_pTextureOff)->SetValue(true);
    m_p2D->SetValue(t->getKind() == 0);
    EnableControls();
    m_pHeading->SetLabel("Text");
}

std::string CTextPage::CreateText(const std::string& name, const std::string& text, const std::string& face,
                                  int size, int italic) {
    CKelvanoView* view = CurrentView();
    if (!view || !view->GetScene()) return "";
    const std::string unique = view->MakeUniqueObjectName(name);
    if (unique.empty()) return "";
    auto made = std::make_unique<pnString>();
    made->setName(unique.c_str());
    made->setFont(face.c_str());
    made->setSize(static_cast<float>(size));
    made->setDepth(20.0f);
    made->setItalic(italic);
    made->setString(text.c_str());
    pnObject* object = view->InsertNewObject(std::move(made));
    if (!object) return "";
    LoadFromObject(object, 0);
    m_pName->ChangeValue(wxString::FromUTF8(unique));
    m_pText->ChangeValue(wxString::FromUTF8(text));
    return unique;
}

void CTextPage::SetTextureCheck(bool on) { (on ? m_pTextureOn : m_pTextureOff)->SetValue(true); }

void CTextPage::OnCommit(CPrivateMessageEvent& event) {
    pnString* t = Selected();
    if (!t || !CurrentView()) return;
    const int id = static_cast<int>(event.GetWParam());
    if (id == IDC_NAME) {
        CommitNameEdit(m_pName, t, m_bNameGuard, " is already used!", "Kelvano");
        return;
    }
    if (id == IDC_TEXT) return;
    if (id == IDC_BEVEL_WIDTH || id == IDC_BEVEL_DEPTH) {
        const bool width = id == IDC_BEVEL_WIDTH;
        CNumEdit* edit = width ? m_pBevelWidth : m_pBevelDepth;
        const float value = static_cast<float>(ParseLeadingFloat(edit->GetText()));
        (width ? m_pBevelWidthSpin : m_pBevelDepthSpin)->SetValue(static_cast<int>(value * 10.0f));
        edit->ChangeValue(FixedText(value, 1, 3));
        Bracket([&](pnString* s) { width ? s->setBevelWidth(value) : s->setBevelDepth(value); });
        return;
    }
    CNumEdit* edit = dynamic_cast<CNumEdit*>(FindWindow(id));
    if (!edit) return;
    const int value = ParseLeadingInt(edit->GetText());
    for (CNumSpinCtrl* spin : {m_pSpacingSpin, m_pRatioSpin, m_pDepthSpin, m_pNJustSpin, m_pWJustSpin})
        if (spin->GetBuddy() == edit) spin->SetValue(value);
    ApplySpin(id, value);
}

void CTextPage::OnChanged(CPrivateMessageEvent& event) {
    if (event.GetWParam() != IDC_TEXT) return;
    const std::string text = m_pText->GetText();
    Bracket([&](pnString* t) { t->setString(text.c_str()); });
}

void CTextPage::OnSpinReleased(CPrivateMessageEvent& event) {
    ApplySpin(static_cast<int>(event.GetWParam()), static_cast<int>(event.GetLParam()));
}

void CTextPage::ApplySpin(int id, int p) {
    switch (id) {
    case IDC_SPACING:
    case IDC_SPACING_SPIN: Bracket([&](pnString* t) { t->setGap(static_cast<float>(p)); }); break;
    case IDC_BEVEL_WIDTH_SPIN:
        m_pBevelWidth->ChangeValue(BevelSpinText(p));
        Bracket([&](pnString* t) { t->setBevelWidth(BevelOfSpin(p)); });
        break;
    case IDC_BEVEL_DEPTH_SPIN:
        m_pBevelDepth->ChangeValue(BevelSpinText(p));
        Bracket([&](pnString* t) { t->setBevelDepth(BevelOfSpin(p)); });
        break;
    case IDC_RATIO:
    case IDC_RATIO_SPIN: Bracket([&](pnString* t) { t->setRatio(p * 0.01); }); break;
    case IDC_DEPTH:
    case IDC_DEPTH_SPIN: Bracket([&](pnString* t) { t->setDepth(static_cast<float>(p)); }); break;
    case IDC_NJUST:
    case IDC_NJUST_SPIN: Bracket([&](pnString* t) { t->setNJust(static_cast<float>(p)); }); break;
    case IDC_WJUST:
    case IDC_WJUST_SPIN: Bracket([&](pnString* t) { t->setWJust(static_cast<float>(p)); }); break;
    default: break;
    }
}

void CTextPage::OnComboCommit(CPrivateMessageEvent& event) {
    pnString* t = Selected();
    if (!t || event.GetWParam() != IDC_SIZE) return;
    const int size = ParseLeadingInt(m_pSize->m_strText);
    // A loss of focus with the size as it stands makes no step.
    if (size == ClampedInt(t->getSize())) return;
    Bracket([&](pnString* s) { s->setSize(static_cast<float>(size)); });
}

void CTextPage::ApplyJust(bool n) {
    wxCheckBox* box = n ? m_pNJustCheck : m_pWJustCheck;
    wxCheckBox* other = n ? m_pWJustCheck : m_pNJustCheck;
    // One click, one step: the other box's value goes to 0 with it.
    const bool clearOther = box->GetValue() && other->GetValue();
    if (clearOther) {
        other->SetValue(false);
        (n ? m_pWJust : m_pNJust)->ChangeValue("0");
        (n ? m_pWJustSpin : m_pNJustSpin)->SetValue(0);
    }
    const float value = box->GetValue() ? static_cast<float>(ParseLeadingInt((n ? m_pNJust : m_pWJust)->GetText()))
                                        : 0.0f;
    Bracket([&](pnString* t) {
        if (clearOther) n ? t->setWJust(0.0f) : t->setNJust(0.0f);
        n ? t->setNJust(value) : t->setWJust(value);
    });
    EnableControls();
}

void CTextPage::OnEdgeShadow() {
    CKelvanoView* view = CurrentView();
    pnString* t = Selected();
    if (!view || !t) return;
    CEditScope edit(*view, t);
    CEdgeShadowDlg dlg(this);
    dlg.SetTargetObject(t);
    dlg.SetOwnerObject(t);
    dlg.ShowModal();
}

void CTextPage::OnSwatch() {
    pnString* t = Selected();
    if (!t) return;
    CEditBoxBar* bar = pages::EnclosingEditBoxBar(this);
    wxWeakRef<CMaterialDlg> slot(bar ? bar->GetMaterialDlg() : nullptr);
    CMaterialDlg* dlg = CMaterialDlg::ShowFor(slot, bar ? static_cast<wxWindow*>(bar) : this, this, IDC_SWATCH,
                                              t->getMaterialName());
    if (bar) bar->SetMaterialDlg(dlg);
}

void CTextPage::OnMaterial(CPrivateMessageEvent& event) {
    pnString* t = Selected();
    const pnScene* scene = CurrentScene();
    if (!t || !scene || event.GetWParam() != IDC_SWATCH) return;
    const pnMaterial* m = scene->getMaterial(static_cast<int>(event.GetLParam()));
    if (!m) return;
    if (event.GetEventType() == kvEVT_WM_MATERIAL_CHOSEN) {
        const std::string name = m->getName();
        Bracket([&](pnString* s) { s->setMaterial(name.c_str()); });
        m_pSwatch->SetColor(pages::SwatchColour(t));
    } else if (t->getMaterialName() == m->getName()) {
        m_pSwatch->SetColor(pages::SwatchColour(t));
    }
}
