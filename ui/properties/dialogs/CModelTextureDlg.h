// The modeless "Texture" windows of the selection: the image file, single
// image or numbered frames, how the coordinates wrap, and moving, scaling and
// rotating the texture by numbers or by dragging in the view. The model's
// window is the base; the text's differs in its layout, the panel's adds the
// six faces. What they edit is a CTextureWindowModel on the object selected
// when the window was made; it closes the window when the view moves on.
#pragma once

#include "ui/properties/rules/CTextureWindowModel.h"

#include <wx/dialog.h>

#include <functional>
#include <string>

class CNumEdit;
class pnObject;
class wxButton;
class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSpinButton;
class wxTextCtrl;
class wxToggleButton;

class CModelTextureDlg : public wxDialog {
public:
    enum {
        IDC_FILE = 1316, IDC_BROWSE = 1562, IDC_WRAPPING = 1566, IDC_TEXMODE = 1592, IDC_FRAMES = 1251,
        IDC_FRAMES_SPIN = 1756, IDC_U = 1771, IDC_V = 1774, IDC_MOVE = 1241, IDC_ROTATE = 1262,
        IDC_SCALE_MODEL = 1579, IDC_SCALE = 1257, IDC_RESET = 1272, IDC_CLOSE = 2
    };
    // The file dialog: true with the chosen path.
    using FileChooser = std::function<bool(wxWindow* parent, const std::string& folder, const std::string& file,
                                           std::string& path)>;

    explicit CModelTextureDlg(wxWindow* owner) : CModelTextureDlg(owner, 183, IDC_SCALE_MODEL, 3) {}
    ~CModelTextureDlg() override;

    void SetTextureFile(const std::string& path, int frames);
    void SetTextureMode(int mode) { m_model.m_nTexMode = mode == 1 ? 1 : 0; }
    void SetMappingMode(int mode) { m_model.m_nMapping = mode; }
    // Builds the window (once), opens its model on the view's selection and
    // shows it left of where it was placed.
    bool Create();
    void ShowMapping(float u, float v);
    // Told when the window goes (not while the view closes its tool windows).
    void SetClosedHandler(std::function<void()> closed) { m_closed = std::move(closed); }
    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

    // The controls' work, as their handlers do it.
    void Apply();
    void OnWrapping(int selection);
    void OnTextureMode(int selection);
    void OnTool(int id, bool on);
    void OnMappingEdited();
    void OnReset();
    void Browse();
    // Applies a frame count typed and not yet taken, tells the page whether
    // the object shows a texture, and goes.
    void OnClose();

    int GetMappingMode() const { return m_model.m_nMapping; }
    int GetFrameCount() const { return m_model.m_nFrames; }
    const std::string& GetTexturePath() const { return m_model.m_strPath; }
    const CTextureWindowModel& Model() const { return m_model; }
    wxTextCtrl* Edit(int id) const;
    wxToggleButton* Tool(int id) const;
    int ScaleId() const { return m_nScaleId; }

protected:
    // kind: 1 text, 2 counter, 3 model, 4 panel.
    CModelTextureDlg(wxWindow* owner, int templateId, int scaleId, int kind);
    virtual void BuildExtra(wxWindow* /*parent*/, wxSizer* /*sizer*/) {}
    virtual void InitExtra() {}
    virtual std::string MissingFileText(const std::string& path) const;
    virtual std::string Filter() const;
    void EnableTextureControls();
    bool ToolsAllowed() const { return m_bToolsAllowed; }
    void SetToolsAllowed(bool allowed);
    void ClearTools();

    CTextureWindowModel m_model;
    int m_bGuard = 0;
    bool m_bToolsAllowed = true;

private:
    // The frame count typed, held to 1..30000.
    int TypedFrames() const;
    void ReadFrames();
    // The window goes (once).
    void Go();
    int m_nTemplate, m_nScaleId;
    wxWindow* m_pOwner;
    bool m_bBuilt = false;
    wxChoice* m_pWrapping = nullptr;
    wxChoice* m_pTexMode = nullptr;
    wxSpinButton* m_pSpin = nullptr;
    std::function<void()> m_closed;
    FileChooser m_chooser;
    bool m_bGone = false;
};

class CTextTextureDlg : public CModelTextureDlg {
public:
    // counter: the window of a counter's texts (its page is not told).
    CTextTextureDlg(wxWindow* owner, bool counter) : CModelTextureDlg(owner, 182, IDC_SCALE, counter ? 2 : 1) {}
};

class CPanelTextureDlg : public CModelTextureDlg {
public:
    enum { IDC_PER_FACE = 1339, IDC_WRAP = 1358 };
    static const int kFaceIds[6];

    explicit CPanelTextureDlg(wxWindow* owner);
    void SetTextureFile(const std::string& path, int frames, const int faces[6]);
    void OnWrapChoice(bool wrapping);
    void OnFace(int face, bool on);
    wxCheckBox* Face(int face) const;

protected:
    void BuildExtra(wxWindow* parent, wxSizer* sizer) override;
    void InitExtra() override;
    std::string Filter() const override;
    std::string MissingFileText(const std::string& path) const override;

private:
    bool m_bFileSet = false;
    wxRadioButton *m_pPerFace = nullptr, *m_pWrap = nullptr;
};
