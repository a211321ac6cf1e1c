// The Object tab's page of a model: name, model file, material and texture.
#pragma once

#include "ui/properties/pages/CObjectPageDlg.h"

#include <string>

class CColorButton;
class CKelvanoView;
class CNumEdit;
class CPrivateMessageEvent;
class pnModel;
class wxRadioButton;
class wxStaticText;
class wxTextCtrl;

class CModelPage : public CObjectPageDlg {
public:
    enum {
        IDC_HEADING = 1247, IDC_PICTURE = 1492, IDC_NAME = 1006, IDC_FILE = 1020, IDC_BROWSE = 1087,
        IDC_MATERIAL = 1239, IDC_TEX_OFF = 1393, IDC_TEX_ON = 1403, IDC_TEXTURE = 1269
    };
    static constexpr int kTemplate = 122;

    explicit CModelPage(wxWindow* parent);

    void LoadFromObject(pnObject* object, int flag) override;
    void Lock(bool locked) override;
    // Builds a model of the file (stored relative to the program folder when
    // it lies there) and puts it into the scene as the selection; a file that
    // is no model that can be drawn is refused with "File open error".
    pnModel* CreateModel(const std::string& name, const std::string& path);
    // Another file for the selected model, as the "..." chooser hands it:
    // refused with "File open error" when it does not open or is no model
    // that can be drawn. 1 when changed.
    int ChangeModelFile(const std::string& path);
    void SetTextureCheck(bool on);
    int GetTextureRadio() const { return m_nTexture; }
    wxTextCtrl* GetFileEdit() const { return m_pFile; }
    CNumEdit* GetNameEdit() const;

private:
    static bool ReadableModel(CKelvanoView& view, const std::string& stored, const std::string& path);
    pnModel* Model() const;
    void OnCommit(CPrivateMessageEvent& event);
    void OnButton(wxCommandEvent& event);

    wxStaticText* m_pHeading = nullptr;
    wxTextCtrl* m_pFile = nullptr;
    CColorButton* m_pSwatch = nullptr;
    wxRadioButton *m_pTexOff = nullptr, *m_pTexOn = nullptr;
    int m_nTexture = 0;
    int m_bNameGuard = 1;
};
