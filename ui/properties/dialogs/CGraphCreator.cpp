#include "ui/properties/dialogs/CGraphCreator.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "scene/pnObject.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/dialogs/CGraphInputDlg.h"
#include "ui/properties/dialogs/CGraphNameDlg.h"
#include "ui/properties/pages/CGraphPages.h"
#include "ui/properties/dialogs/CGraphTypeDlg.h"

namespace {

// The wizard's steps as the program's dialogs, each made afresh.
class DialogSteps : public GraphWizardSteps {
public:
    explicit DialogSteps(wxWindow* parent) : m_pParent(parent) {}
    Result RunType(int& type) override {
        CGraphTypeDlg dlg(m_pParent);
        if (dlg.ShowModal() != wxID_OK) return CANCEL;
        type = dlg.m_nType;
        return NEXT;
    }
    Result RunName(int type, std::string& name, int& count) override {
        CGraphNameDlg dlg(m_pParent, type, CurrentScene());
        // Escape and the window's close go back, as Back does.
        if (dlg.ShowModal() != wxID_OK || dlg.m_bBack) return BACK;
        name = dlg.m_strName;
        count = dlg.m_nCount;
        return NEXT;
    }
    Result RunInput(int type, int count, std::vector<GraphRow>& rows) override {
        CGraphInputDlg dlg(m_pParent, type, count);
        if (dlg.ShowModal() != wxID_OK) return CANCEL;
        if (dlg.m_bBack) return BACK;
        rows = dlg.GetRows();
        return NEXT;
    }

private:
    wxWindow* m_pParent;
};

}  // namespace

CGraphCreator::CGraphCreator(CEditBoxBar* bar) : m_pBar(bar) {}

bool CGraphCreator::RunDialog() {
    if (!m_pBar) return false;
    m_result = GraphWizardResult();
    DialogSteps steps(wxGetTopLevelParent(m_pBar.get()));
    return RunGraphWizard(steps, m_result);
}

std::string CGraphCreator::CreateObject() {
    if (!m_pBar || m_result.type < GRAPH_BAR || m_result.type > GRAPH_AREA) return {};
    // The Object tab shows the page of the kind (3 bar ... 6 area), which builds the chart.
    const int kind = 3 + m_result.type;
    m_pBar->SelectTab(0, kind);
    auto* page = dynamic_cast<CGraphPage*>(m_pBar->GetPage(ObjectPageListIndex(kind)));
    if (!page) return {};
    pnObject* made = page->CreateGraph(m_result.name, m_result.count, m_result.rows);
    return made ? made->getName() : std::string();
}

std::unique_ptr<CObjectCreator> InstallGraphPages(CEditBoxBar& bar, CKelvanoView* view) {
    bar.SetRolePage(PAGE_BAR, new CBarGraphPage(bar.PageParent(PAGE_BAR)));
    bar.SetRolePage(PAGE_LINE, new CLineGraphPage(bar.PageParent(PAGE_LINE)));
    bar.SetRolePage(PAGE_PIE, new CPieGraphPage(bar.PageParent(PAGE_PIE)));
    bar.SetRolePage(PAGE_AREA, new CAreaGraphPage(bar.PageParent(PAGE_AREA)));
    auto creator = std::make_unique<CGraphCreator>(&bar);
    if (view) view->SetObjectCreator(kv::ID_ADD_GRAPH, creator.get());
    return creator;
}
