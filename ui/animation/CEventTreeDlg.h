// The "Event Tree" panel: the scene's events with their objects and plays.
// It selects events in the object chooser and the time line, deletes plays,
// opens the effect editors, copies plays dropped on an event, re-parents
// dropped events and renames events with their objects.
#pragma once

#include "ui/animation/CEventTreeModel.h"

#include <wx/panel.h>

#include <functional>
#include <string>

class CEventTreeCtrl;
class CKelvanoView;
class pnScene;

class CEventTreeDlg : public wxPanel {
public:
    CEventTreeDlg(wxWindow* parent, wxWindowID id);

    // Called by the main frame.
    void RebuildTree();
    void UpdateEventEffects(const std::string& eventName);
    void SelectItem(const std::string& name);
    int ApplyEventOrder();
    // Removes the item of the event's play at playIndex (0-based).
    void RemoveEffectItem(const std::string& eventName, int playIndex);

    // Called by the tree control with model ids.
    void OnItemSelected(int id);
    void OnDeleteItem(int id);
    void OnEditItem(int id);
    void OnNoParent(int id);
    bool CanRename(int id);
    // False when the new name is refused (the label stays).
    bool OnRename(int id, const std::string& newName);
    void OnDropEffect(int dragged, int target, const wxPoint& screen);
    void OnDropEvent(int dragged, int target);
    std::string FifthEventName() const;

    const CEventTreeModel& Model() const { return m_model; }
    CEventTreeCtrl* Tree() const { return m_pTree; }
    // The main frame renames the object chooser's entry.
    std::function<void(const std::string&, const std::string&)> m_onRenamed;

private:
    pnScene* Scene() const;
    void Show();
    void RefreshEventRow(const std::string& eventName);

    CEventTreeModel m_model;
    CEventTreeCtrl* m_pTree = nullptr;
    bool m_bRebuilding = false;
};
