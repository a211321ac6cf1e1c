#include "ui/animation/CEventTreeCtrl.h"

#include "editor/KelvanoIds.h"

#include "ui/animation/CEventTreeDlg.h"
#include "ui/animation/CEventTreeModel.h"
#include "ui/properties/controls/LayoutFit.h"

#include <wx/dcmemory.h>
#include <wx/generic/dragimgg.h>
#include <wx/menu.h>
#include <wx/settings.h>

namespace {
class IdData : public wxTreeItemData {
public:
    explicit IdData(int id) : m_id(id) {}
    int m_id;
};

// The label in red on green; green is the mask.
wxBitmap labelBitmap(wxWindow* window, const wxString& text) {
    wxMemoryDC measure;
    measure.SetFont(window->GetFont());
    const wxSize size = measure.GetTextExtent(text) + wxSize(4, 2);
    wxBitmap bitmap(size.x, size.y);
    wxMemoryDC dc(bitmap);
    dc.SetFont(window->GetFont());
    dc.SetBackground(wxBrush(*wxGREEN));
    dc.Clear();
    dc.SetTextForeground(*wxRED);
    dc.DrawText(text, 2, 1);
    dc.SelectObject(wxNullBitmap);
    bitmap.SetMask(new wxMask(bitmap, *wxGREEN));
    return bitmap;
}
}  // namespace

CEventTreeCtrl::CEventTreeCtrl(CEventTreeDlg* panel, wxWindowID id)
    : wxTreeCtrl(panel, id, wxDefaultPosition, wxDefaultSize,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_EDIT_LABELS | wxTR_HIDE_ROOT | wxTR_SINGLE),
      m_pPanel(panel), m_timer(this, kScrollTimer) {
    layout::ShowScrollBars(this);
    Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent& e) {
        if (!m_bQuiet) m_pPanel->OnItemSelected(IdOf(e.GetItem()));
    });
    Bind(wxEVT_TREE_KEY_DOWN, [this](wxTreeEvent& e) {
        // Undo and redo keys are the view's business, not the tree's.
        if (e.GetKeyCode() == WXK_DELETE) {
            const int caret = IdOf(GetFocusedItem());
            if (caret >= 0) m_pPanel->OnDeleteItem(caret);
        }
    });
    Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent& e) { m_pPanel->OnEditItem(IdOf(e.GetItem())); });
    Bind(wxEVT_TREE_ITEM_MENU, [this](wxTreeEvent& e) {
        const int item = IdOf(e.GetItem());
        if (item < 0) return;
        SelectItem(e.GetItem());
        std::unique_ptr<wxMenu> menu = MakeItemMenu(item);
        if (!menu) return;
        const int picked = GetPopupMenuSelectionFromUser(*menu);
        const int chosen = picked == wxID_NONE ? 0 : kv::FromWxId(picked);
        if (chosen == kNoParentCommand) m_pPanel->OnNoParent(item);
        else if (chosen == kDeleteCommand) m_pPanel->OnDeleteItem(item);
    });
    Bind(wxEVT_TREE_BEGIN_LABEL_EDIT, [this](wxTreeEvent& e) {
        if (!m_pPanel->CanRename(IdOf(e.GetItem()))) e.Veto();
    });
    Bind(wxEVT_TREE_END_LABEL_EDIT, [this](wxTreeEvent& e) {
        // The panel sets the label itself (cut to a name's length) or keeps it.
        e.Veto();
        if (!e.IsEditCancelled()) m_pPanel->OnRename(IdOf(e.GetItem()), e.GetLabel().ToStdString(wxConvUTF8));
    });
    Bind(wxEVT_TREE_BEGIN_DRAG, &CEventTreeCtrl::OnBeginDrag, this);
    Bind(wxEVT_MOTION, &CEventTreeCtrl::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CEventTreeCtrl::OnLeftUp, this);
    Bind(wxEVT_TIMER, &CEventTreeCtrl::OnTimer, this, kScrollTimer);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CEventTreeCtrl::OnCaptureLost, this);
}

std::unique_ptr<wxMenu> CEventTreeCtrl::MakeItemMenu(int item) const {
    const CEventTreeModel& model = m_pPanel->Model();
    auto menu = std::make_unique<wxMenu>();
    // The commands' numbers lie above wx's id range: they go through its own.
    if (model.KindOf(item) == CEventTreeModel::kEvent && model.Parent(item) >= 0)
        menu->Append(kv::ToWxId(kNoParentCommand), "No Parent");
    else if (model.KindOf(item) == CEventTreeModel::kEffect)
        menu->Append(kv::ToWxId(kDeleteCommand), "Delete");
    else
        return nullptr;
    return menu;
}

CEventTreeCtrl::~CEventTreeCtrl() {
    if (IsDragging()) EndDrag();
    m_timer.Stop();
}

void CEventTreeCtrl::ShowModel(const CEventTreeModel& model) {
    m_bQuiet = true;
    // A label being edited belongs to items that are about to go.
    if (GetEditControl()) EndEditLabel(GetFocusedItem(), true);
    DeleteAllItems();
    m_items.clear();
    const wxTreeItemId root = AddRoot("Tree1");
    std::vector<std::pair<int, wxTreeItemId>> stack;
    for (auto it = model.Roots().rbegin(); it != model.Roots().rend(); ++it) stack.emplace_back(*it, root);
    // Depth first, children in order: push them reversed.
    while (!stack.empty()) {
        const auto [id, parent] = stack.back();
        stack.pop_back();
        const wxTreeItemId item = AppendItem(parent, wxString::FromUTF8(model.Text(id)), -1, -1, new IdData(id));
        if (static_cast<int>(m_items.size()) <= id) m_items.resize(static_cast<size_t>(id) + 1);
        m_items[static_cast<size_t>(id)] = item;
        const auto& children = model.Item(id).children;
        for (auto c = children.rbegin(); c != children.rend(); ++c) stack.emplace_back(*c, item);
    }
    ExpandAll();
    m_bQuiet = false;
}

wxTreeItemId CEventTreeCtrl::ItemOf(int id) const {
    return id >= 0 && id < static_cast<int>(m_items.size()) ? m_items[static_cast<size_t>(id)] : wxTreeItemId();
}

int CEventTreeCtrl::IdOf(const wxTreeItemId& item) const {
    if (!item.IsOk()) return -1;
    const auto* data = dynamic_cast<const IdData*>(GetItemData(item));
    return data ? data->m_id : -1;
}

void CEventTreeCtrl::SelectQuietly(int id) {
    const wxTreeItemId item = ItemOf(id);
    if (!item.IsOk()) return;
    m_bQuiet = true;
    SelectItem(item);
    EnsureVisible(item);
    m_bQuiet = false;
}

// ---- the drag ----

void CEventTreeCtrl::OnBeginDrag(wxTreeEvent& event) {
    // Not allowed to the control itself: the drag is ours.
    BeginItemDrag(IdOf(event.GetItem()), event.GetPoint());
}

bool CEventTreeCtrl::BeginItemDrag(int id, const wxPoint& at) {
    const int kind = m_pPanel->Model().KindOf(id);
    if (kind != CEventTreeModel::kEffect && kind != CEventTreeModel::kEvent) return false;
    m_nDragged = id;
    m_nTarget = -1;
    m_nTargetClass = -1;
    m_nTicks = 0;
    m_timer.Start(50);
    // The drag image holds the mouse while it is shown; without one the tree does.
    m_pImage = std::make_unique<wxGenericDragImage>(labelBitmap(this, GetItemText(ItemOf(id))));
    if (m_pImage->BeginDrag(wxPoint(0, 0), this)) {
        m_pImage->Move(at);
        m_pImage->Show();
    } else {
        m_pImage.reset();
    }
    m_bOwnCapture = !HasCapture();
    if (m_bOwnCapture) CaptureMouse();
    return true;
}

void CEventTreeCtrl::SetTarget(const wxTreeItemId& item) {
    if (const wxTreeItemId old = ItemOf(m_nTarget); old.IsOk()) SetItemDropHighlight(old, false);
    m_nTarget = IdOf(item);
    m_nTargetClass = m_pPanel->Model().DropClass(m_nDragged, m_nTarget, m_pPanel->FifthEventName());
    if (item.IsOk()) SetItemDropHighlight(item, true);
}

void CEventTreeCtrl::DragTo(const wxPoint& at) {
    if (!IsDragging()) return;
    if (m_pImage) m_pImage->Move(at);
    int flags = 0;
    SetTarget(HitTest(at, flags));
}

void CEventTreeCtrl::OnMotion(wxMouseEvent& event) {
    if (!IsDragging()) {
        event.Skip();
        return;
    }
    DragTo(event.GetPosition());
}

void CEventTreeCtrl::OnTimer(wxTimerEvent&) {
    if (!IsDragging()) return;
    ++m_nTicks;
    const wxPoint at = ScreenToClient(wxGetMousePosition());
    const int direction = AutoScrollDirection(at.y, GetClientSize().y, m_nTicks);
    if (direction == 0) return;
    ScrollLines(direction);
    wxTreeItemId item = GetFirstVisibleItem();
    if (direction > 0)
        for (wxTreeItemId next = item; next.IsOk(); next = GetNextVisible(next)) item = next;
    SetTarget(item);
}

void CEventTreeCtrl::EndDrag() {
    m_timer.Stop();
    if (const wxTreeItemId old = ItemOf(m_nTarget); old.IsOk()) SetItemDropHighlight(old, false);
    if (m_bOwnCapture && HasCapture()) ReleaseMouse();
    m_bOwnCapture = false;
    if (m_pImage) {
        m_pImage->Hide();
        m_pImage->EndDrag();
        m_pImage.reset();
    }
}

void CEventTreeCtrl::OnLeftUp(wxMouseEvent& event) {
    if (!IsDragging()) {
        event.Skip();
        return;
    }
    DropAt(event.GetPosition());
}

void CEventTreeCtrl::DropAt(const wxPoint& at) {
    if (!IsDragging()) return;
    DragTo(at);
    EndDrag();
    const int dragged = m_nDragged, cls = m_nTargetClass;
    int target = m_nTarget;
    m_nDragged = m_nTarget = m_nTargetClass = -1;
    if (!wxRect(GetClientSize()).Contains(at) || target < 0 || cls < 0) return;
    const CEventTreeModel& model = m_pPanel->Model();
    const bool effect = model.KindOf(dragged) == CEventTreeModel::kEffect;
    if (cls == 0 && !effect) target = model.EventItemOf(target);
    if ((cls == 0 || cls == 2) && model.Contains(dragged, target)) return;
    if (effect && cls != 1) m_pPanel->OnDropEffect(dragged, target, ClientToScreen(at));
    else if (!effect) m_pPanel->OnDropEvent(dragged, target);
}

void CEventTreeCtrl::OnCaptureLost(wxMouseCaptureLostEvent&) {
    if (!IsDragging()) return;
    // The capture is gone already: nothing to release.
    m_bOwnCapture = false;
    if (m_pImage) m_pImage.reset();
    EndDrag();
    m_nDragged = m_nTarget = m_nTargetClass = -1;
}
