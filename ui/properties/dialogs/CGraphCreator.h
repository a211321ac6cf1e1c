// Add Graph: the new-graph wizard's three dialogs, then the chart page of the
// chosen kind builds the chart. InstallGraphPages puts the four chart pages
// into the Edit Box and gives the view this creator.
#pragma once

#include "editor/CObjectCreator.h"
#include "ui/properties/rules/GraphRules.h"

#include <wx/weakref.h>

#include <memory>
#include <string>

class CEditBoxBar;
class CKelvanoView;

class CGraphCreator : public CObjectCreator {
public:
    explicit CGraphCreator(CEditBoxBar* bar);
    bool RunDialog() override;
    std::string CreateObject() override;
    const GraphWizardResult& GetResult() const { return m_result; }

private:
    wxWeakRef<CEditBoxBar> m_pBar;
    GraphWizardResult m_result;
};

// The bar's chart pages and the view's Add Graph; the creator must outlive
// the view's use of it.
std::unique_ptr<CObjectCreator> InstallGraphPages(CEditBoxBar& bar, CKelvanoView* view);
