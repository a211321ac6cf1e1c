#include "ui/properties/rules/ColorEditLogic.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "scene/pnScene.h"
#include "ui/properties/rules/ColorMath.h"
#include "ui/properties/rules/ControlRules.h"

#include <cmath>
#include <cstdio>

namespace {

// The edits' number formats.
enum class Fmt { Fixed42, Fixed2, Plain, Whole };
std::string format(Fmt fmt, double v) {
    char text[64];
    switch (fmt) {
    case Fmt::Fixed42: std::snprintf(text, sizeof text, "%4.2f", v); break;
    case Fmt::Fixed2: std::snprintf(text, sizeof text, "%.2f", v); break;
    case Fmt::Plain: std::snprintf(text, sizeof text, "%f", v); break;
    case Fmt::Whole: std::snprintf(text, sizeof text, "%d", static_cast<int>(v)); break;
    }
    return text;
}

int position(double v) { return static_cast<int>(std::lround(v)); }


}  // namespace

void CColorNameRules::SetName(const std::string& name) {
    if (!m_bMakeUnique) {
        m_strName = name;
        return;
    }
    CKelvanoView* view = CurrentView();
    m_strName = view ? view->MakeUniqueMaterialName(name) : "";
}

EditCommit CColorNameRules::CommitName(const std::string& text, bool enter, std::string& suggestion) {
    CKelvanoView* view = CurrentView();
    if (!view || !view->GetScene()) return EditCommit::None;
    if (!m_bNameCheck) return EditCommit::None;
    m_strName = text;
    const bool empty = text.empty();
    if (!view->GetScene()->isMaterialNameFree(text.c_str())) {
        // The check rests while the message is up.
        m_bNameCheck = false;
        if (view->GetHost())
            view->GetHost()->MessageBox(empty ? "A material needs a name." : "\"" + text + "\" is already used!",
                                        "Kelvano", KV_MB_ICONERROR);
        m_bNameCheck = true;
        suggestion = view->MakeUniqueMaterialName(empty ? "Color" : text);
        return EditCommit::NameTaken;
    }
    return enter ? EditCommit::CloseOk : EditCommit::Changed;
}

// ---- The simple colour editor ----

void CColorDlgLogic::SetColor(float r, float g, float b) {
    m_color[0] = r, m_color[1] = g, m_color[2] = b;
    normalizeColor(m_color, m_norm);
}

void CColorDlgLogic::Init() {
    for (int i = 0; i < 3; ++i) m_brightColor[i] = m_norm[i];
    m_pos[BRIGHTNESS] = position(colorBrightness(m_color, m_norm) * 1000);
    for (int i = 0; i < 3; ++i) {
        m_pos[RED + i] = position(m_color[i] * 1000);
        m_text[RED + i] = format(Fmt::Fixed42, m_color[i]);
    }
    m_pos[TRANSPARENCY] = position(m_fTransparency * 1000);
    m_text[TRANSPARENCY] = format(Fmt::Fixed42, m_fTransparency);
    m_bMoveMarker = true;
}

void CColorDlgLogic::RefreshFromColor() {
    normalizeColor(m_color, m_norm);
    for (int i = 0; i < 3; ++i) m_brightColor[i] = m_norm[i];
    m_pos[BRIGHTNESS] = position(colorBrightness(m_color, m_norm) * 1000);
    m_bMoveMarker = true;
}

void CColorDlgLogic::ShowRGB() {
    for (int i = 0; i < 3; ++i) {
        m_text[RED + i] = format(Fmt::Fixed42, m_color[i]);
        m_pos[RED + i] = position(m_color[i] * 1000);
    }
}

void CColorDlgLogic::OnRamp(int rampId, int pos) {
    const float v = pos * 0.001f;
    switch (rampId) {
    case RAMP_BRIGHTNESS:
        m_pos[BRIGHTNESS] = pos;
        for (int i = 0; i < 3; ++i) m_color[i] = m_norm[i] * v;
        ShowRGB();
        break;
    case RAMP_RED:
    case RAMP_GREEN:
    case RAMP_BLUE: {
        const int i = rampId - RAMP_RED;
        m_pos[RED + i] = pos;
        m_color[i] = v;
        m_text[RED + i] = format(Fmt::Fixed2, v);
        RefreshFromColor();
        break;
    }
    case RAMP_TRANSPARENCY:
        m_pos[TRANSPARENCY] = pos;
        m_fTransparency = v;
        m_text[TRANSPARENCY] = format(Fmt::Fixed2, v);
        break;
    default:
        break;
    }
}

void CColorDlgLogic::OnPalettePick(const float c[3]) {
    for (int i = 0; i < 3; ++i) {
        m_brightColor[i] = c[i];
        m_norm[i] = c[i];
        m_color[i] = c[i] * (m_pos[BRIGHTNESS] * 0.001f);
    }
    ShowRGB();
}

EditCommit CColorDlgLogic::OnCommit(int editId, const std::string& text, bool enter, std::string& suggestion) {
    if (!CurrentScene()) return EditCommit::None;
    const float d = static_cast<float>(ParseLeadingFloat(text));
    switch (editId) {
    case EDIT_RED:
    case EDIT_GREEN:
    case EDIT_BLUE: {
        const int i = editId == EDIT_RED ? 0 : editId == EDIT_GREEN ? 1 : 2;
        m_color[i] = d;
        m_pos[RED + i] = position(d * 1000);
        m_text[RED + i] = text;
        RefreshFromColor();
        break;
    }
    case EDIT_TRANSPARENCY:
        m_fTransparency = d;
        m_pos[TRANSPARENCY] = position(d * 1000);
        m_text[TRANSPARENCY] = text;
        break;
    case EDIT_NAME:
        return CommitName(text, enter, suggestion);
    default:
        return EditCommit::None;
    }
    return enter ? EditCommit::CloseOk : EditCommit::Changed;
}

// ---- The detailed material editor ----

const int CMaterialDetailLogic::kRampIds[NUM] = {9531, 9532, 9533, 9534, 9535, 9536};
const int CMaterialDetailLogic::kEditIds[NUM] = {1433, 1189, 1196, 1216, 1223, 1227};
const int CMaterialDetailLogic::kFlagIds[NUM] = {1768, 1770, 1773, 1776, 1781, 1803};
const int CMaterialDetailLogic::kTargetIds[4] = {1435, 1141, 1156, 1202};

namespace {


float* previewColour(MaterialPreviewState& p, int component) {
    float* slots[4] = {p.ambient, p.diffuse, p.specular, p.emission};
    return slots[component];
}

}  // namespace

void CMaterialDetailLogic::SetColor(int component, float r, float g, float b) {
    if (component < AMBIENT || component > EMISSION) return;
    float* raw = m_raw[component];
    raw[0] = r, raw[1] = g, raw[2] = b;
    normalizeColor(raw, m_norm[component]);
}

void CMaterialDetailLogic::Init() {
    for (int c = AMBIENT; c <= EMISSION; ++c) {
        const float* raw = m_raw[c];
        const bool lit = raw[0] != 0.0f || raw[1] != 0.0f || raw[2] != 0.0f;
        m_pos[c] = lit ? position(colorBrightness(raw, m_norm[c]) * 1000) : 0;
        m_text[c] = format(Fmt::Fixed42, m_pos[c] * 0.001);
        float* p = previewColour(m_preview, c);
        for (int i = 0; i < 3; ++i) p[i] = raw[i];
    }
    m_pos[SHININESS] = position(m_fShininess * 1000 / 128);
    m_text[SHININESS] = format(Fmt::Whole, m_fShininess);
    m_pos[TRANSPARENCY] = position(m_fTransparency * 1000);
    m_text[TRANSPARENCY] = format(Fmt::Fixed42, m_fTransparency);
    m_preview.shininess = m_fShininess;
    m_preview.opacity = m_fTransparency;
}

void CMaterialDetailLogic::PreviewComponent(int c) {
    const bool given = m_given[c] != 0;
    if (c <= EMISSION) {
        float* p = previewColour(m_preview, c);
        for (int i = 0; i < 3; ++i) p[i] = given ? m_raw[c][i] : kMaterialDefaultColours[c][i];
    } else if (c == SHININESS) {
        m_preview.shininess = given ? m_fShininess : kMaterialDefaultShininess;
    } else {
        m_preview.opacity = given ? m_fTransparency : kMaterialDefaultAlpha;
    }
}

void CMaterialDetailLogic::OnFlag(int component, int on) {
    if (component < 0 || component >= NUM) return;
    m_given[component] = on ? 1 : 0;
    PreviewComponent(component);
}

void CMaterialDetailLogic::OnRamp(int rampId, int pos) {
    int c = 0;
    while (c < NUM && kRampIds[c] != rampId) ++c;
    if (c == NUM) return;
    m_pos[c] = pos;
    if (c <= EMISSION) {
        for (int i = 0; i < 3; ++i) m_raw[c][i] = m_norm[c][i] * pos * 0.001f;
        m_text[c] = format(Fmt::Fixed42, pos * 0.001);
    } else if (c == SHININESS) {
        m_fShininess = pos * 0.128f;
        m_text[c] = format(Fmt::Whole, m_fShininess);
    } else {
        m_fTransparency = pos * 0.001f;
        m_text[c] = format(Fmt::Plain, m_fTransparency);
    }
    PreviewComponent(c);
}

void CMaterialDetailLogic::OnPalettePick(const float c[3]) {
    for (int k = AMBIENT; k <= EMISSION; ++k) {
        if (!m_target[k]) continue;
        for (int i = 0; i < 3; ++i) {
            m_norm[k][i] = c[i];
            m_raw[k][i] = c[i] * (m_pos[k] * 0.001f);
        }
        m_text[k] = format(Fmt::Fixed42, m_pos[k] * 0.001);
        PreviewComponent(k);
    }
}

EditCommit CMaterialDetailLogic::OnCommit(int editId, const std::string& text, bool enter, std::string& suggestion) {
    if (!CurrentScene()) return EditCommit::None;
    if (editId == 1740) return CommitName(text, enter, suggestion);
    int c = 0;
    while (c < NUM && kEditIds[c] != editId) ++c;
    if (c == NUM) return EditCommit::None;
    const float d = static_cast<float>(ParseLeadingFloat(text));
    m_text[c] = text;
    if (c <= EMISSION) {
        for (int i = 0; i < 3; ++i) m_raw[c][i] = m_norm[c][i] * d;
        m_pos[c] = position(d * 1000);
    } else if (c == SHININESS) {
        m_fShininess = d;
        m_pos[c] = position(d * 1000 / 128);
    } else {
        m_fTransparency = d;
        m_pos[c] = position(d * 1000);
    }
    PreviewComponent(c);
    return enter ? EditCommit::CloseOk : EditCommit::Changed;
}
