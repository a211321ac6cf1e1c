#include "app/CAboutDlg.h"

#include "editor/AboutLinks.h"
#include "app/CKelvanoApp.h"
#include "app/KelvanoArt.h"
#include "editor/KelvanoIds.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>

using namespace kv;

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, GetAppState() ? GetAppState()->m_templates.m_iddAbout : wxID_ANY, kAppName) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(this, wxID_ANY, KelvanoArt("icons/kelvano", 64)), 0, wxALL, 10);

    auto* texts = new wxBoxSizer(wxVERTICAL);
    texts->Add(new wxStaticText(this, IDC_ABOUT_VERSION, kVersionText), 0, wxBOTTOM, 6);
    texts->Add(new wxStaticText(this, IDC_ABOUT_BUILD, kBuildText), 0, wxBOTTOM, 10);
    m_pMail = new wxStaticText(this, IDC_ABOUT_MAIL, kSupportMail);
    m_pWeb = new wxStaticText(this, IDC_ABOUT_WEB, kWebSite);
    for (wxStaticText* link : {m_pMail, m_pWeb}) {
        // Links read as links: blue, with the hand cursor over them.
        link->SetForegroundColour(wxColour(0, 0, 255));
        link->SetCursor(wxCursor(wxCURSOR_HAND));
        link->Bind(wxEVT_LEFT_DOWN, &CAboutDlg::OnLinkClicked, this);
        texts->Add(link, 0, wxBOTTOM, 4);
    }
    row->Add(texts, 1, wxALL | wxEXPAND, 10);
    top->Add(row, 1, wxEXPAND);
    top->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);
    CentreOnParent();
}

void CAboutDlg::OnLinkClicked(wxMouseEvent& event) {
    if (event.GetEventObject() == m_pMail) wxLaunchDefaultBrowser(SupportMailUrl());
    else if (event.GetEventObject() == m_pWeb) wxLaunchDefaultBrowser(kWebSite);
    event.Skip();
}
