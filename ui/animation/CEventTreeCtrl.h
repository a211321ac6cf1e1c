// The event tree's control: shows the panel's model, reports selections,
// keys, double-clicks, the context menu and label edits to the panel, and
// runs the drag of an effect or an event itself (drag image, mouse capture,
// a 50 ms auto-scroll timer) until the button comes up over a target.
#pragma once

#include <wx/timer.h>
#include <wx/treectrl.h>

#include <memory>

class CEventTreeDlg;
class CEventTreeModel;
class wxGenericDragImage;
class wxMenu;

class CEventTreeCtrl : public wxTreeCtrl {
public:
    static constexpr int kScrollTimer = 11;
    static constexpr int kNoParentCommand = 32864;
    static constexpr int kDeleteCommand = 32887;

    CEventTreeCtrl(CEventTreeDlg* panel, wxWindowID id);
    ~CEventTreeCtrl() override;

    // The model's items, expanded; selection events stay quiet meanwhile.
    void ShowModel(const CEventTreeModel& model);
    wxTreeItemId ItemOf(int id) const;
    int IdOf(const wxTreeItemId& item) const;
    // The context menu of a model item: "No Parent" for an event with a
    // parent, "Delete" for an effect play, none for other items.
    std::unique_ptr<wxMenu> MakeItemMenu(int item) const;
    // Makes the item of a model id the selected one without reporting it.
    void SelectQuietly(int id);

    // The drag, also driven by tests: a begin on a model item, moves and the
    // release at client points.
    bool BeginItemDrag(int id, const wxPoint& at);
    void DragTo(const wxPoint& at);
    void DropAt(const wxPoint& at);
    bool IsDragging() const { return m_nDragged >= 0; }
    int DropTarget() const { return m_nTarget; }
    int DropTargetClass() const { return m_nTargetClass; }

private:
    void OnBeginDrag(wxTreeEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void EndDrag();
    void SetTarget(const wxTreeItemId& item);

    CEventTreeDlg* m_pPanel;
    bool m_bQuiet = false;
    int m_nDragged = -1;
    int m_nTarget = -1;
    int m_nTargetClass = -1;
    int m_nTicks = 0;
    bool m_bOwnCapture = false;
    wxTimer m_timer;
    std::unique_ptr<wxGenericDragImage> m_pImage;
    std::vector<wxTreeItemId> m_items;
};
