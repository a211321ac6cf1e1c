// The About box: product name and version, build, the support mail address
// and the web site, both of which open in the user's programs.
#pragma once

#include <wx/dialog.h>

class wxStaticText;

class CAboutDlg : public wxDialog {
public:
    explicit CAboutDlg(wxWindow* parent);

    wxStaticText* GetMailLink() const { return m_pMail; }
    wxStaticText* GetWebLink() const { return m_pWeb; }

private:
    void OnLinkClicked(wxMouseEvent& event);

    wxStaticText* m_pMail = nullptr;
    wxStaticText* m_pWeb = nullptr;
};
