// The material chooser's rules, free of any window: pages of sixteen
// materials shown newest first, the selection, choosing, and adding,
// modifying and deleting materials as undo steps. The chooser window
// (CMaterialDlg) shows the state and forwards its buttons, mouse and keys;
// the logic reaches it back through CMaterialChooserUi. The scene, the
// document and the view are the application's current ones. While it serves
// an owner it follows the view: a new scene, another selection, an undo step
// or the mode switch hide it and it forgets the owner, so that no choice made
// after reaches an object the owner no longer shows.
#pragma once

#include "editor/CViewListener.h"

#include <string>

class CKelvanoDoc;
class CKelvanoView;
class pnScene;

// What an editor shows and gives back. The component flags are those of the
// detailed editor; the simple editor uses diffuse, alpha and name.
struct MaterialEditValues {
    enum { AMBIENT = 0, DIFFUSE, SPECULAR, EMISSION, SHININESS, ALPHA, NUM };
    float ambient[3] = {0.2f, 0.2f, 0.2f};
    float diffuse[3] = {0.8f, 0.8f, 0.8f};
    float specular[3] = {0.0f, 0.0f, 0.0f};
    float emission[3] = {0.0f, 0.0f, 0.0f};
    float shininess = 60.0f;
    float alpha = 1.0f;
    int flags[NUM] = {0, 0, 0, 0, 0, 0};
    std::string name;
};

class CMaterialChooserUi {
public:
    virtual ~CMaterialChooserUi() = default;
    // The chooser's turn ends (a choice, Cancel, the view moved on).
    virtual void HideChooser() = 0;
    // While a nested editor or a message is up the chooser steps aside, and
    // shows again after it; its turn goes on.
    virtual void StepAside() { HideChooser(); }
    virtual void ShowChooser() = 0;
    // The nested modal editors; true after OK with the values written back.
    virtual bool RunSimpleEditor(MaterialEditValues& values) = 0;
    virtual bool RunDetailedEditor(MaterialEditValues& values) = 0;
    // Whether the Enter key is down now: the editor that just closed took
    // its press, and its release (or repeats) come to the chooser.
    virtual bool EnterKeyDown() const { return false; }
    // WM_MATERIAL_CHOSEN or WM_MATERIAL_MODIFIED to the owner.
    virtual void NotifyOwner(int message, int controlId, int index) = 0;
    // Page, selection, page buttons or name changed: show them again.
    virtual void RefreshChooser() = 0;
};

class CMaterialChooserLogic : public CViewListener {
public:
    static constexpr int kCellsPerPage = 16;

    explicit CMaterialChooserLogic(CMaterialChooserUi& ui) : m_ui(ui) {}
    ~CMaterialChooserLogic() override;
    CMaterialChooserLogic(const CMaterialChooserLogic&) = delete;
    CMaterialChooserLogic& operator=(const CMaterialChooserLogic&) = delete;

    // Before the chooser first shows: the owner's material (-1 none).
    void SetCurrentMaterial(int index);
    // When an owner shows the chooser again: its material by name (empty:
    // none).
    void SelectMaterialByName(const std::string& name);
    // Serves an owner (and follows the current view) or none.
    void SetOwner(bool hasOwner, int controlId);
    bool HasOwner() const { return m_bHasOwner; }
    // Every change but a frame's hides the chooser and ends its owner's turn.
    void OnViewChange(ViewChange change) override;

    // The grid: the material a grid index (counted over all pages) stands
    // for, the cell a click at (x, y) of the 160 x 160 grid hits (-1 none or
    // an empty cell), and selecting it.
    int MaterialIndexOfGrid(int grid) const { return grid < 0 ? -1 : m_nCount - grid - 1; }
    int HitTest(int x, int y) const;
    // A click on a cell: a hit selects it and shows its name; true on a hit.
    bool Click(int x, int y);
    // A double-click: a hit chooses.
    bool DoubleClick(int x, int y);
    int GetMaterialIndex() const { return m_bHasSelection ? MaterialIndexOfGrid(m_nSelected) : -1; }

    void PreviousPage();
    void NextPage();
    bool CanGoBack() const { return m_nPage > 0; }
    bool CanGoOn() const { return (m_nPage + 1) * kCellsPerPage < m_nCount; }

    // OK, Enter and double-click: the owner hears of a material other than
    // its own, and the chooser hides.
    void Choose();
    // Enter, pressed (down) and let go (up): one press chooses once; the
    // press that closed a nested editor chooses nothing.
    bool OnEnterKey(bool keyUp);
    void Add(int detailed);
    void Modify(int detailed);
    void Delete();

    int m_nPage = 0;
    int m_nSelected = 0;      // grid index
    int m_bHasSelection = 0;
    int m_nCount = 0;
    int m_nInitialIndex = -1;
    int m_bEnter = 1;
    std::string m_strName;    // what the name edit shows

private:
    pnScene* Scene() const;
    void SetSelection(int grid);
    int ReadCount();

    void Follow(CKelvanoView* view);
    void AfterEditorOk();

    CMaterialChooserUi& m_ui;
    CKelvanoView* m_pView = nullptr;
    bool m_bHasOwner = false;
    int m_nOwnerId = 0;
    // The owner's material when the chooser showed for it ("" none).
    std::string m_strOwnerMaterial;
};
