#include "ui/animation/CEventTreeDlg.h"

#include "editor/CEffectDialogs.h"
#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/CUndoHistory.h"
#include "editor/CViewHost.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "ui/animation/CCopyOptionDlg.h"
#include "ui/animation/CEventTreeCtrl.h"
#include "ui/animation/EffectDialogSupport.h"

#include <wx/msgdlg.h>
#include <wx/sizer.h>

namespace {
enum : int { IDC_TREE = 1601 };
}

CEventTreeDlg::CEventTreeDlg(wxWindow* parent, wxWindowID id) : wxPanel(parent, id) {
    m_pTree = new CEventTreeCtrl(this, IDC_TREE);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pTree, 1, wxEXPAND | wxALL, 1);
    SetSizer(sizer);
}

pnScene* CEventTreeDlg::Scene() const { return CurrentScene(); }

std::string CEventTreeDlg::FifthEventName() const {
    const pnScene* scene = Scene();
    const pnEvent* fifth = scene ? scene->getEvent(4) : nullptr;
    return fifth ? fifth->getName() : std::string();
}

void CEventTreeDlg::Show() {
    m_bRebuilding = true;
    m_pTree->ShowModel(m_model);
    m_bRebuilding = false;
}

void CEventTreeDlg::RebuildTree() {
    m_model.Build(Scene());
    Show();
}

void CEventTreeDlg::UpdateEventEffects(const std::string& eventName) {
    const pnScene* scene = Scene();
    const pnEvent* event = scene ? scene->findEvent(eventName.c_str()) : nullptr;
    const int item = m_model.FindEvent(eventName);
    if (!event || item < 0) return;
    m_model.SetEffects(item, *event);
    Show();
    m_pTree->SelectQuietly(item);
}

void CEventTreeDlg::SelectItem(const std::string& name) {
    const int item = m_model.FindEvent(name);
    if (item >= 0) m_pTree->SelectQuietly(item);
}

int CEventTreeDlg::ApplyEventOrder() { return m_model.ApplyEventOrder(Scene()); }

void CEventTreeDlg::RemoveEffectItem(const std::string& eventName, int playIndex) {
    const int folder = m_model.FolderOf(m_model.FindEvent(eventName));
    if (folder < 0 || playIndex < 0 || playIndex >= static_cast<int>(m_model.Item(folder).children.size())) return;
    m_model.Remove(m_model.Item(folder).children[static_cast<size_t>(playIndex)]);
    Show();
}

void CEventTreeDlg::RefreshEventRow(const std::string& eventName) {
    CKelvanoView* view = CurrentView();
    if (view) {
        view->SetModified();
        view->FrameContentChanged();
    }
    if (CFrameRelays* frame = FrameRelaysOf(view)) {
        frame->UpdateTimeLineEventRow(eventName);
        frame->UpdateTimeLineAnimationEnd();
    }
}

void CEventTreeDlg::OnItemSelected(int id) {
    if (m_bRebuilding) return;
    const int kind = m_model.KindOf(id);
    const int eventItem = m_model.EventItemOf(id);
    const pnScene* scene = Scene();
    CKelvanoView* view = CurrentView();
    if (!scene || !view || eventItem < 0 || kind == CEventTreeModel::kOther) return;
    const std::string name = m_model.Text(eventItem);
    if (!IsFixedEvent(*scene, name)) view->SelectInObjectChooser(name);
    // The time line's entries count from 0, the tree's effects from 1.
    const int entry = kind == CEventTreeModel::kEffect ? m_model.EffectIndex(id) - 1 : 0;
    if (CFrameRelays* frame = FrameRelaysOf(view)) frame->SelectTimeLineEntry(name, entry);
}

void CEventTreeDlg::OnDeleteItem(int id) {
    pnScene* scene = Scene();
    if (!scene || m_model.KindOf(id) != CEventTreeModel::kEffect) return;
    const std::string eventName = m_model.Text(m_model.EventItemOf(id));
    const std::string effect = m_model.Text(id);
    pnEvent* event = scene->findEvent(eventName.c_str());
    const int index = m_model.EffectIndex(id) - 1;
    // The item must still show that play; else the tree shows the scene again.
    if (!event || !event->getPlay(index) || event->getPlay(index)->effect != effect) {
        RebuildTree();
        return;
    }
    event->removePlayAt(index);
    m_model.Remove(id);
    Show();
    RefreshEventRow(eventName);
    if (CKelvanoDoc* doc = CurrentDocument()) doc->ReleaseEffectUse(effect);
}

void CEventTreeDlg::OnEditItem(int id) {
    pnScene* scene = Scene();
    CKelvanoView* view = CurrentView();
    if (!scene || !view || m_model.KindOf(id) != CEventTreeModel::kEffect) return;
    const std::string eventName = m_model.Text(m_model.EventItemOf(id));
    const std::string effect = m_model.Text(id);
    const pnEvent* event = scene->findEvent(eventName.c_str());
    const int index = m_model.EffectIndex(id) - 1;
    const pnEventPlay* play = event ? event->getPlay(index) : nullptr;
    if (!play || play->effect != effect) return;
    if (IsFixedEvent(*scene, eventName)) {
        if (view->GetEffectDialogs()) view->GetEffectDialogs()->RunModalEditor(effect, eventName == "Camera" ? 2 : 1);
        return;
    }
    view->EditEffectPlay(eventName, index);
}

void CEventTreeDlg::OnNoParent(int id) {
    pnScene* scene = Scene();
    CKelvanoView* view = CurrentView();
    if (!scene || !view || m_model.KindOf(id) != CEventTreeModel::kEvent) return;
    const std::string name = m_model.Text(id);
    pnEvent* event = scene->findEvent(name.c_str());
    if (!event || !event->getHasParent() || IsFixedEvent(*scene, name)) return;
    CEditScope edit(*view, event);
    SetEventParent(*scene, name, "");
    m_model.MoveUnder(id, -1);
    Show();
}

bool CEventTreeDlg::CanRename(int id) {
    const pnScene* scene = Scene();
    return scene && m_model.KindOf(id) == CEventTreeModel::kEvent && !IsFixedEvent(*scene, m_model.Text(id));
}

bool CEventTreeDlg::OnRename(int id, const std::string& newName) {
    pnScene* scene = Scene();
    if (!scene || !CanRename(id)) return false;
    const std::string oldName = m_model.Text(id);
    std::string name = newName;
    const std::string refusal = CheckEventRename(*scene, oldName, name);
    if (refusal == kRefusedQuietly) return false;
    if (!refusal.empty()) {
        wxMessageBox(wxString::FromUTF8(refusal), "Kelvano", wxOK | wxICON_ERROR, this);
        return false;
    }
    bool objectRenamed = false;
    if (!RenameEvent(*scene, oldName, name, &objectRenamed)) return false;
    m_model.Rename(id, name);
    for (int child : m_model.Item(id).children)
        if (m_model.KindOf(child) == CEventTreeModel::kOther && m_model.FolderOf(id) != child && m_model.Text(child) == oldName)
            m_model.Rename(child, name);
    m_pTree->SetItemText(m_pTree->ItemOf(id), wxString::FromUTF8(name));
    Show();
    m_pTree->SelectQuietly(id);
    CKelvanoView* view = CurrentView();
    if (CFrameRelays* frame = FrameRelaysOf(view)) {
        if (objectRenamed) frame->RenameObjectListItem(oldName, name);
        frame->RebuildTimeLineRows();
    }
    // The object lists follow only an object that took the new name.
    if (objectRenamed && m_onRenamed) m_onRenamed(oldName, name);
    if (view) view->SetModified();
    return true;
}

void CEventTreeDlg::OnDropEffect(int dragged, int target, const wxPoint& screen) {
    pnScene* scene = Scene();
    CKelvanoView* view = CurrentView();
    if (!scene || !view) return;
    const std::string sourceName = m_model.Text(m_model.EventItemOf(dragged));
    const std::string effect = m_model.Text(dragged);
    const int targetItem = m_model.EventItemOf(target);
    const std::string targetName = targetItem >= 0 ? m_model.Text(targetItem) : std::string();
    const pnEvent* source = scene->findEvent(sourceName.c_str());
    pnEvent* to = scene->findEvent(targetName.c_str());
    const pnEventPlay* play = source ? source->getPlay(m_model.EffectIndex(dragged) - 1) : nullptr;
    if (!to || !play || play->effect != effect || IsFixedEvent(*scene, sourceName) ||
        IsFixedEvent(*scene, targetName)) {
        RebuildTree();
        return;
    }
    const long long length = static_cast<long long>(play->end) - play->start + 1;
    const int dropIndex = m_model.KindOf(target) == CEventTreeModel::kEffect ? m_model.EffectIndex(target) : 0;
    const CCopySpan span = ComputeCopySpan(*to, dropIndex, length);
    if (span.span <= 1) {
        RebuildTree();
        wxMessageBox(wxString::FromUTF8("[ " + effect +
                                        " ] can't be copied at current position.\nTime line is already occupied by "
                                        "other effect"),
                     "Effect Copy Error", wxOK | wxICON_WARNING, this);
        return;
    }
    CCopyOptionDlg dlg(this, view, effect);
    dlg.SetPosition(screen.x, screen.y);
    if (dlg.ShowModal() != wxID_OK) {
        RebuildTree();
        return;
    }
    std::string played = effect;
    CKelvanoDoc* doc = view->GetDocument();
    if (dlg.GetChoice() == 1) {
        if (doc) doc->AddEffectUse(effect);
    } else {
        const pnEffect* from = scene->findEffect(effect.c_str());
        std::unique_ptr<pnEffect> copy = from ? CopyEffectParts(*from, dlg.GetNewName()) : nullptr;
        if (!copy || !scene->addEffect(copy.get())) {
            RebuildTree();
            return;
        }
        played = copy.release()->getName();
        if (CFrameRelays* frame = FrameRelaysOf(view)) frame->AddEffectListName(played);
        if (doc) doc->m_effectUses.emplace_back(played, 1);
    }
    to->addPlay(played.c_str(), span.start, span.start + span.span - 1, 1);
    m_model.SetEffects(targetItem, *to);
    Show();
    RefreshEventRow(targetName);
}

void CEventTreeDlg::OnDropEvent(int dragged, int target) {
    pnScene* scene = Scene();
    CKelvanoView* view = CurrentView();
    const int targetItem = m_model.EventItemOf(target);
    if (!scene || !view || targetItem < 0 || m_model.KindOf(dragged) != CEventTreeModel::kEvent) return;
    const std::string name = m_model.Text(dragged);
    const std::string parent = m_model.Text(targetItem);
    pnEvent* event = scene->findEvent(name.c_str());
    // Itself, its own items or anything below it cannot take it.
    if (!event || m_model.Contains(dragged, targetItem) || !CanReparent(*scene, name, parent)) {
        RebuildTree();
        return;
    }
    CEditScope edit(*view, event);
    SetEventParent(*scene, name, parent);
    m_model.MoveUnder(dragged, targetItem);
    Show();
}
