// The main window: menus, the two tool bars, the status bar, the seven docking
// bars as AUI panes around the scene window, placement kept between runs, the
// settings written on close, and the relays between the view and the bars.
#pragma once

#include "editor/CKelvanoDoc.h"
#include "editor/CObjectCreator.h"
#include "editor/CViewHost.h"
#include "editor/CViewListener.h"
#include "editor/KelvanoMenus.h"

#include <wx/aui/aui.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CChildFrame;
class CModelCreator;
class CModelTextureDlg;
class CPanelCreator;
class CEditBoxBar;
class CObjectListBar;
class CTransformBar;
class CViewWidthBar;

class CTimeLineDlg;
class CEventTreeDlg;
class CEffectListDlg;
class CEffectDialogSet;
class CKelvanoView;
class CProfile;
class wxAuiToolBar;
class wxComboBox;
class wxMenu;

// Pane names of the bars, as the frame and its tests find them.
namespace kv {
constexpr const char* kPaneMainToolBar = "MainToolBar";
constexpr const char* kPaneCameraToolBar = "CameraToolBar";
constexpr const char* kPaneEditBox = "EditBox";
constexpr const char* kPaneTransformation = "Transformation";
constexpr const char* kPaneObjectList = "ObjectList";
constexpr const char* kPaneEffectList = "EffectList";
constexpr const char* kPaneViewWidth = "ViewWidth";
constexpr const char* kPaneTimeLine = "TimeLine";
constexpr const char* kPaneEventTree = "EventTree";
constexpr const char* kPaneScene = "Scene";
}  // namespace kv

class CMainFrame : public wxFrame, public CFrameRelays, public CViewListener {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Reads the stored placement, creates the window and its bars. False when
    // the placement cannot be mapped to a monitor or a bar fails.
    bool CreateFrame(CProfile& profile);

    // Runs a command as if chosen from the menu (frame, view, then application).
    void RouteCommand(int id);
    // Fills the state a command's menu item and button show.
    void UpdateCommand(int id, bool& enabled, int& checked);

    void RefreshRecentFiles();
    // Gives the scene window the keyboard focus.
    void FocusView();
    // Shows a tool's fly-by text in the status bar; an empty text puts the
    // status bar's own text back.
    void ShowFlyBy(const wxString& text);
    void SetChildTitle(const std::string& title);

    CKelvanoView* GetView() const;
    CChildFrame* GetChildFrame() const { return m_pChildFrame; }
    wxAuiManager& GetAuiManager() { return m_mgr; }
    wxAuiToolBar* GetMainToolBar() const { return m_pToolBar; }
    wxAuiToolBar* GetCameraToolBar() const { return m_pCameraBar; }
    wxComboBox* GetObjectChooser() const { return m_pObjectChooser; }
    // The tools of a tool bar that its width cuts off, in bar order (0 for a
    // separator between them); the overflow arrow lists them and shows only
    // while there are any.
    std::vector<int> OverflowTools(wxAuiToolBar* bar) const;
    void UpdateOverflowArrow(wxAuiToolBar* bar);
    // The overflow arrow's menu: each tool cut off, checked and greyed as its
    // command is.
    std::unique_ptr<wxMenu> OverflowMenu(wxAuiToolBar* bar);
    CEditBoxBar* GetEditBoxBar() const { return m_pEditBoxBar; }
    CTransformBar* GetTransformBar() const { return m_pTransformBar; }
    bool IsPaneShown(const char* name);
    void ShowPane(const char* name, bool show);

    // The placement written on close: the show command and the normal
    // (not maximised) rectangle in stored form.
    int CurrentShowCommand() const;
    CRectI NormalPlacement() const;

    // CFrameRelays
    void UpdateTimeLineEventRow(const std::string& eventName) override;
    void RebuildTimeLineRows() override;
    void RebuildEventTree() override;
    void SelectEventTreeItem(const std::string& name) override;
    void SelectTimeLineEvent(const std::string& name) override;
    int ApplyEventTreeOrder() override;
    void RemoveEventTreeEffectItem(const std::string& eventName, int playIndex) override;
    void AddEffectListName(const std::string& name) override;
    void RemoveEffectListName(const std::string& name) override;
    int AddObjectListItem(const std::string& name) override;
    int RemoveObjectListItem(const std::string& name) override;
    int SelectObjectListItem(const std::string& name, int on) override;
    int SelectObjectListIndex(int index, int on) override;
    int RenameObjectListItem(const std::string& oldName, const std::string& newName) override;
    void ClearObjectList() override;
    void ShowViewWidthBar(int show, float width) override;
    void SetPanelPageTextureCheck(int on) override;
    void SetTextPageTextureCheck(int on) override;
    void SetModelPageTextureCheck(int on) override;
    void UpdateBarsForMode(bool animationMode, const std::string& firstObjectName) override;
    void AddObjectChooserName(const std::string& name) override;
    void RemoveObjectChooserName(const std::string& name) override;
    void SelectObjectChooserName(const std::string& name) override;
    void SelectObjectChooserIndex(int index) override;
    int HasPropertyBar() override;
    void ShowObjectPage(int page, pnObject* object, int flag) override;
    void OpenTextureWindow(int kind) override;
    int ShowTextureWindowValues(float a, float b) override;
    void SetTransformPosition(const std::string& x, const std::string& y, const std::string& z) override;
    void SetTransformScale(const std::string& x, const std::string& y, const std::string& z) override;
    void SetTransformRotation(const std::string& angle, const std::string& x, const std::string& y,
                              const std::string& z) override;
    void UnlockTransformEdits() override;
    void LockTransformEdits() override;
    void SelectTimeLineEntry(const std::string& eventName, int entry) override;
    void UpdateTimeLineEventRowAndSelect(const std::string& eventName, const std::string& effect) override;
    void UpdateTimeLineAnimationEnd() override;
    int RefreshLightPage(int keep) override;
    void ReloadCameraPage() override;
    void ReloadLightPage() override;
    void ShowFrameInPages() override;
    // The bars that follow the view on their own (the effect list).
    void OnViewChange(ViewChange change) override;
    void ShowCameraPage() override;
    void UpdateEventTreeEffects(const std::string& eventName) override;
    void SetCameraPresetView(int on) override;
    void SetTimeLineFrame(int frame) override;
    void SetTimeLinePlaying(int on) override;
    CTimeLineDlg* GetTimeLine() const { return m_pTimeLine; }
    CEventTreeDlg* GetEventTree() const { return m_pEventTree; }

private:
    bool PreCreateWindow(CProfile& profile, wxPoint& pos, wxSize& size);
    bool OnCreate();
    bool CreateToolBars();
    bool CreateDockingBars();
    void BuildMenuBar(const std::vector<kv::MenuEntry>& menu);
    void ShowMenuHints();
    void InstallAccelerators();
    void NameBarWindows();
    // The panel and model pages of the Edit Box and their Add commands.
    void InstallShapePages();
    // The open texture windows no longer report to the frame.
    void ForgetTextureWindows();

    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnIdle(wxIdleEvent& event);
    void TogglePane(const char* name);
    // A floating bar shows whole inside the screen's work area: moved left or
    // up only as far as it must, and as large as its content.
    void KeepFloatingPaneOnScreen(wxAuiPaneInfo& pane, bool shown);
    bool FrameCommand(int id);
    bool FrameUpdate(int id, bool& enabled, int& checked);
    void RememberNormalRect();
    // The event tree's and effect list's hooks, and the effect dialogs on the view.
    void InstallAnimationPanels();
    void CloseEffectDialogs();

    wxAuiManager m_mgr;
    // Add Graph (the view keeps a plain pointer).
    std::unique_ptr<CObjectCreator> m_pGraphCreator;
    wxAuiToolBar* m_pToolBar = nullptr;
    wxAuiToolBar* m_pCameraBar = nullptr;
    wxComboBox* m_pObjectChooser = nullptr;
    CChildFrame* m_pChildFrame = nullptr;
    CEditBoxBar* m_pEditBoxBar = nullptr;
    CTransformBar* m_pTransformBar = nullptr;
    CObjectListBar* m_pObjectListBar = nullptr;
    CViewWidthBar* m_pViewWidthBar = nullptr;

    CTimeLineDlg* m_pTimeLine = nullptr;
    CEventTreeDlg* m_pEventTree = nullptr;
    CEffectListDlg* m_pEffectList = nullptr;
    std::unique_ptr<CEffectDialogSet> m_pEffectDialogs;
    int m_bObjectListWasVisible = 0;
    wxMenu* m_pRecentMenu = nullptr;
    int m_nRecentPos = -1;  // position of the recent-file entries in m_pRecentMenu
    std::vector<std::pair<wxMenuItem*, std::string>> m_menuHints;
    wxRect m_rcNormal;
    wxString m_strFlyBy;  // the fly-by text shown now, if any
    bool m_bClosing = false;
    std::unique_ptr<CPanelCreator> m_pPanelCreator;
    std::unique_ptr<CModelCreator> m_pModelCreator;
    // The texture windows by kind - 1 (text, counter, model, panel), null when closed.
    CModelTextureDlg* m_pTextureWindows[4] = {nullptr, nullptr, nullptr, nullptr};
};
