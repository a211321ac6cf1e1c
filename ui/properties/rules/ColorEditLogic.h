// The rules of the two colour editors, free of any window: the simple colour
// editor (CColorDlg) and the detailed material editor (CMaterialDetailDlg).
// Each keeps the values, the slider positions and the texts of its value
// edits; the dialog forwards slider moves, palette picks and committed edits
// and then shows the state again. A taken name is checked against the
// current view's scene.
#pragma once

#include "ui/properties/rules/PreviewRender.h"

#include <string>

// What the detailed editor's Modify stores for a component left unticked, and
// so what its preview shows for it: ambient, diffuse, specular, emission, then
// shininess and opacity. They are a material's own defaults, which a saved
// scene gives it back: an unticked component is not saved.
inline constexpr float kMaterialDefaultColours[4][3] = {{0.2f, 0.2f, 0.2f}, {0.8f, 0.8f, 0.8f}, {0, 0, 0}, {0, 0, 0}};
inline constexpr float kMaterialDefaultShininess = 60.0f;
inline constexpr float kMaterialDefaultAlpha = 1.0f;

// What a committed edit asks of the dialog.
enum class EditCommit {
    None,       // nothing to do (no current view with a scene)
    Changed,    // values changed: show them
    CloseOk,    // values changed and Enter closes the dialog with OK
    NameTaken,  // the name is taken: the edit shows the suggested name
};

// Shared by both editors: the name and the two name flags.
class CColorNameRules {
public:
    // With make-unique the stored name is the current view's unique material
    // name for it ("" without a view), else the name itself.
    void SetName(const std::string& name);
    // The name edit's commit: NameTaken with a suggestion (after the "is
    // already used!" message) while the name-check flag is on and the name
    // is taken.
    EditCommit CommitName(const std::string& text, bool enter, std::string& suggestion);

    std::string m_strName;
    bool m_bMakeUnique = true;
    bool m_bNameCheck = true;
};

class CColorDlgLogic : public CColorNameRules {
public:
    // Ramp IDs and edit IDs.
    enum { RAMP_BRIGHTNESS = 9207, RAMP_RED, RAMP_GREEN, RAMP_BLUE, RAMP_TRANSPARENCY };
    enum { EDIT_RED = 1431, EDIT_GREEN = 1201, EDIT_BLUE = 1210, EDIT_TRANSPARENCY = 1215, EDIT_NAME = 1740 };
    // Slider and edit slots: brightness (slider only), red, green, blue,
    // transparency.
    enum { BRIGHTNESS = 0, RED, GREEN, BLUE, TRANSPARENCY, NUM_SLIDERS };

    void SetColor(float r, float g, float b);
    void SetTransparency(float t) { m_fTransparency = t; }
    // Slider positions and edit texts from the values.
    void Init();
    void OnRamp(int rampId, int pos);
    void OnPalettePick(const float c[3]);
    EditCommit OnCommit(int editId, const std::string& text, bool enter, std::string& suggestion);

    float m_color[3] = {1.0f, 1.0f, 1.0f};
    float m_norm[3] = {1.0f, 1.0f, 1.0f};
    float m_fTransparency = 1.0f;
    int m_pos[NUM_SLIDERS] = {0, 0, 0, 0, 0};
    std::string m_text[NUM_SLIDERS];  // the brightness slot has no edit
    // The brightness slider's colour, and whether the palette marker must
    // move onto m_norm (cleared by the dialog).
    float m_brightColor[3] = {1.0f, 1.0f, 1.0f};
    bool m_bMoveMarker = false;

private:
    void RefreshFromColor();
    void ShowRGB();
};

class CMaterialDetailLogic : public CColorNameRules {
public:
    // Component slots: the four colours, shininess, transparency.
    enum { AMBIENT = 0, DIFFUSE, SPECULAR, EMISSION, SHININESS, TRANSPARENCY, NUM };
    static const int kRampIds[NUM];  // 9531..9536
    static const int kEditIds[NUM];  // 1433, 1189, 1196, 1216, 1223, 1227
    static const int kFlagIds[NUM];  // 1768, 1770, 1773, 1776, 1781, 1803
    static const int kTargetIds[4];  // 1435, 1141, 1156, 1202

    void SetColor(int component, float r, float g, float b);
    // Positions, texts and the preview (the values passed in) from the values.
    void Init();
    void OnRamp(int rampId, int pos);
    void OnPalettePick(const float c[3]);
    EditCommit OnCommit(int editId, const std::string& text, bool enter, std::string& suggestion);
    // A component flag changed: its preview component follows.
    void OnFlag(int component, int on);

    float m_raw[4][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    float m_norm[4][3] = {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}};
    float m_fShininess = 0.0f;
    float m_fTransparency = 1.0f;
    int m_given[NUM] = {0, 0, 0, 0, 0, 0};
    int m_target[4] = {0, 0, 0, 0};
    int m_pos[NUM] = {0, 0, 0, 0, 0, 0};
    std::string m_text[NUM];
    MaterialPreviewState m_preview;

private:
    void PreviewComponent(int component);
};
