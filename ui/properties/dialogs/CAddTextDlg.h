// The "Text" dialog of Add Text: the text, its face, size, italic and the new
// object's name, with a grid of the printable characters 33..127 in the face
// that types a clicked character.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxCheckBox;
class wxChoice;
class wxComboBox;
class wxTextCtrl;
class wxToggleButton;

// The 95 character cells in one window (cell i shows character 33 + i, or
// nothing where the face has no glyph for it).
class CGlyphCells : public wxWindow {
public:
    CGlyphCells(wxWindow* parent, wxWindowID id);
    static constexpr int kCount = 95;
    static constexpr int kColumns = 19;
    static constexpr int kFirstCellId = 1900;
    // The cells' face and pixel height; the texts come from the face.
    void SetFace(const std::string& face, int height, bool italic);
    // The cell's text ("" for an empty cell).
    std::string CellText(int index) const;
    // The cell under a point of this window, -1 outside every cell.
    int CellAt(const wxPoint& point) const;
    wxRect CellRect(int index) const;
    int GetCellHeight() const { return m_nHeight; }

private:
    void OnPaint(wxPaintEvent& event);
    wxSize DoGetBestSize() const override;
    std::string m_strFace;
    int m_nHeight = 15;
    bool m_bItalic = false;
    std::vector<bool> m_present;
};

class CAddTextDlg : public wxDialog {
public:
    CAddTextDlg(int templateId, wxWindow* parent);

    // What the caller reads after OK.
    int m_nScale = 15;
    int m_nSize = 64;
    std::string m_strFace;
    std::string m_strText;
    int m_bMore = 0;
    int m_bItalic = 0;
    std::string m_strName;

    // The pixel height of the text edit's font.
    int GetTextFontHeight() const { return m_nTextFontHeight; }
    // The faces the face list holds.
    const std::vector<std::string>& Faces() const { return m_faces; }

    // The handlers, callable as the controls call them.
    void OnFaceChange();
    void OnSizeChange();
    void OnItalicChange();
    void OnMore();
    // A click in the cell window's coordinates.
    void OnCellClick(const wxPoint& point);
    // OK's test: true when the dialog may close with the values read.
    bool TryOK();

    wxTextCtrl* m_pText = nullptr;
    wxChoice* m_pFace = nullptr;
    wxComboBox* m_pSize = nullptr;
    wxCheckBox* m_pItalic = nullptr;
    wxTextCtrl* m_pName = nullptr;
    wxToggleButton* m_pMore = nullptr;
    CGlyphCells* m_pCells = nullptr;

private:
    void ReadControls();
    void MakeTextFont();
    std::vector<std::string> m_faces;
    int m_nTextFontHeight = 0;
    // The text edit's frame: its height less one line of its first font.
    int m_nTextFrame = -1;
};
