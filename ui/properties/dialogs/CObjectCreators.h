// The Add Panel and Add Model commands' creators: the creation dialog, then
// the Edit Box's panel or model page builds the object.
#pragma once

#include "editor/CObjectCreator.h"

#include <string>

class CEditBoxBar;
class wxWindow;

class CPanelCreator : public CObjectCreator {
public:
    CPanelCreator(wxWindow* parent, CEditBoxBar* bar) : m_pParent(parent), m_pBar(bar) {}
    bool RunDialog() override;
    std::string CreateObject() override;

    std::string m_strName;
    float m_fX = 0, m_fY = 0, m_fZ = 0, m_fTaper = 0;

private:
    wxWindow* m_pParent;
    CEditBoxBar* m_pBar;
};

class CModelCreator : public CObjectCreator {
public:
    CModelCreator(wxWindow* parent, CEditBoxBar* bar) : m_pParent(parent), m_pBar(bar) {}
    bool RunDialog() override;
    std::string CreateObject() override;

    std::string m_strName, m_strPath;

private:
    wxWindow* m_pParent;
    CEditBoxBar* m_pBar;
};
