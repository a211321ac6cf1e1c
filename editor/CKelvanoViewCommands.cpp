// The view's menu commands, one row each: the numbers a command covers, what
// it does, and the rule that enables and checks its menu item and tool button.
// The frame hands every command and every update of a menu item here
// (CMainFrame::OnCommand and OnUpdateCommand).
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "scene/pnBackground.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"

namespace {

pnBackground* backgroundOf(const pnScene* scene) {
    return scene ? dynamic_cast<pnBackground*>(scene->getBackground()) : nullptr;
}

}  // namespace

const std::vector<CKelvanoView::Command>& CKelvanoView::Commands() {
    // Built once; the rules and actions the rows share are named first.
    static const std::vector<Command> commands = [] {
        using namespace kv;
        using V = CKelvanoView;
        // Rules that several rows share. A row without a rule is always enabled.
        const Rule always = nullptr;
        // A scene that opens or starts new, or an export, would pull the scene
        // from under the playback or a recording.
        const Rule whenIdle = [](V& v, int, CCmdUI& ui) { ui.Enable(!v.m_bPlaying && !v.m_bBusy); };
        // Nothing to write until a scene exists; nothing while the frames move
        // under the writer.
        const Rule whenSceneIdle = [](V& v, int, CCmdUI& ui) {
            ui.Enable(v.m_pScene != nullptr && !v.m_bPlaying && !v.m_bBusy);
        };
        const Rule whenSceneStill = [](V& v, int, CCmdUI& ui) { ui.Enable(v.m_pScene != nullptr && !v.m_bPlaying); };
        const Rule movieWhenIdle = [](V& v, int, CCmdUI& ui) {
            ui.Enable(v.m_bAnimationMode && !v.m_bPlaying && !v.m_bBusy);
        };
        const Rule selectionInObjectMode = [](V& v, int, CCmdUI& ui) {
            ui.Enable(!v.m_bAnimationMode && v.m_pDocument && v.m_pDocument->m_pSelectedObject);
        };
        const Rule transformTool = [](V& v, int id, CCmdUI& ui) {
            // While the animation plays the check mark stays as it was.
            ui.Enable(!v.m_bPlaying);
            if (v.m_bPlaying) return;
            const int on = id <= ID_MODE_ROTATE ? v.m_nTransformMode == id - ID_MODE_MOVE
                           : id == ID_AXIS_X    ? v.m_bAxisX
                           : id == ID_AXIS_Y    ? v.m_bAxisY
                                                : v.m_bAxisZ;
            ui.SetCheck(on);
        };
        const Rule objectMode = [](V& v, int id, CCmdUI& ui) {
            ui.Enable(!v.m_bPlaying);
            ui.SetCheck((id == ID_MODE_ANIMATION) == (v.m_bAnimationMode != 0));
        };
        const Rule addObject = [](V& v, int id, CCmdUI& ui) {
            // Object mode only; greyed while the program has no dialog for it.
            const auto creator = v.m_objectCreators.find(id);
            ui.Enable(v.m_pScene && !v.m_bAnimationMode && !v.m_bPlaying && creator != v.m_objectCreators.end() &&
                      creator->second);
        };
        const Rule chartItem = [](V& v, int id, CCmdUI& ui) { v.UpdateChartItem(id, ui); };
        const Rule displayQuality = [](V& v, int id, CCmdUI& ui) {
            ui.SetCheck(v.DisplayLevel() == 4 * (id - ID_DISPLAY_LOW));
        };
        const Rule outputQuality = [](V& v, int id, CCmdUI& ui) {
            ui.SetCheck(v.m_nOutputQuality == 4 * (id - ID_OUTPUT_LOW));
        };

        const Action exportStill = [](V& v, int id) { v.OnExportStill(id); };
        const Action addObjectAction = [](V& v, int id) { v.OnAddObject(id); };
        const Action setTransformMode = [](V& v, int id) { v.SetTransformMode(id - ID_MODE_MOVE); };
        const Action toggleAxis = [](V& v, int id) { v.ToggleAxis(id - ID_AXIS_X); };
        const Action chartDialog = [](V& v, int id) {
            v.OnChartDialog(id == ID_LABEL_PROPERTY   ? ChartDialog::Label
                            : id == ID_VALUE_PROPERTY ? ChartDialog::Value
                                                      : ChartDialog::Data);
        };

        return std::vector<Command>{
            // File
            {ID_FILE_NEW, [](V& v, int) { v.OnFileNew(); }, whenIdle},
            {ID_FILE_OPEN, [](V& v, int) { v.OnFileOpen(); }, whenIdle},
            {ID_FILE_SAVE, [](V& v, int) { if (v.m_pScene) v.OnFileSave(); }, whenSceneIdle},
            {ID_FILE_SAVE_AS, [](V& v, int) { if (v.m_pScene) v.OnFileSaveAs(); }, whenSceneIdle},
            {ID_FILE_SAVE_BINARY, [](V& v, int) { if (v.m_pScene) v.OnSaveBinary(); }, whenSceneIdle},
            {ID_FILE_SAVE_BINARY_AS, [](V& v, int) { if (v.m_pScene) v.OnSaveBinaryAs(); }, whenSceneIdle},
            {ID_EXPORT_BMP, exportStill, whenIdle},
            {ID_EXPORT_JPEG, exportStill, whenIdle},
            {ID_EXPORT_TARGA, exportStill, whenIdle},
            {ID_EXPORT_PNG, exportStill, whenIdle},
            {ID_EXPORT_GIF, exportStill, whenIdle},
            {ID_EXPORT_RGB, exportStill, whenIdle},
            {ID_EXPORT_GIF_ANIMATION, [](V& v, int) { v.OnExportGifAnimation(); }, movieWhenIdle},
            {ID_EXPORT_AVI, [](V& v, int) { v.OnExportAvi(); }, movieWhenIdle},
            {ID_EXPORT_SWF, [](V& v, int) { v.OnExportFlash(); }, movieWhenIdle},
            {ID_FILE_PRINT, [](V& v, int) { v.OnFilePrint(false); }, whenSceneStill},
            {ID_FILE_PRINT_PREVIEW, [](V& v, int) { v.OnFilePrint(true); }, whenSceneStill},

            // Edit
            {ID_EDIT_UNDO, [](V& v, int) { v.OnEditUndo(); },
             [](V& v, int, CCmdUI& ui) {
                 ui.Enable(v.m_pDocument && v.m_pDocument->m_selectedObjects.empty() && !v.m_pDocument->IsRecording() &&
                           v.m_pDocument->CanUndo());
             }},
            {ID_EDIT_REDO, [](V& v, int) { v.OnEditRedo(); },
             [](V& v, int, CCmdUI& ui) {
                 ui.Enable(v.m_pDocument && v.m_pDocument->m_selectedObjects.empty() && !v.m_pDocument->IsRecording() &&
                           v.m_pDocument->CanRedo());
             }},
            {ID_EDIT_CUT, [](V& v, int) { v.OnEditCut(); }, selectionInObjectMode},
            {ID_EDIT_COPY, [](V& v, int) { v.OnEditCopy(); }, selectionInObjectMode},
            {ID_EDIT_PASTE, [](V& v, int) { v.OnEditPaste(); },
             [](V& v, int, CCmdUI& ui) {
                 ui.Enable(!v.m_bAnimationMode && v.m_pDocument && v.m_pDocument->m_pClipboardObject);
             }},
            {ID_EDIT_DELETE, [](V& v, int) { v.OnEditDelete(); }, selectionInObjectMode},
            {ID_EDIT_DELETE_COLUMN, [](V& v, int) { v.OnDeleteColumn(); },
             [](V& v, int, CCmdUI& ui) {
                 ui.Enable(!v.m_bAnimationMode && v.m_bObjectHit && v.SelectedChart());
             }},
            // A check item: it shows whether everything is selected.
            {ID_EDIT_SELECT_ALL, [](V& v, int) { v.OnSelectAll(); },
             [](V& v, int, CCmdUI& ui) {
                 ui.Enable(v.m_pScene && v.m_pScene->getNumObjects() > 0 && !v.m_bAnimationMode && !v.m_bPlacing);
                 ui.SetCheck(v.m_bSelectAll != 0);
             }},
            {ID_EDIT_OPTIONS, [](V& v, int) { v.OnEditOptions(); },
             [](V& v, int, CCmdUI& ui) { ui.Enable(v.m_pScene != nullptr); }},

            // Mode
            {ID_MODE_OBJECT, [](V& v, int) { v.OnToggleMode(); }, objectMode},
            {ID_MODE_ANIMATION, [](V& v, int) { v.OnToggleMode(); }, objectMode},
            {ID_CAMERA_FRONT, ID_CAMERA_BOTTOM, [](V& v, int id) { v.OnCameraPreset(id - ID_CAMERA_FRONT); },
             [](V& v, int id, CCmdUI& ui) {
                 ui.Enable(!v.m_bPlaying);
                 ui.SetCheck(v.m_bPresetOn[id - ID_CAMERA_FRONT] != 0);
             }},
            {ID_MODE_MOVE, ID_MODE_ROTATE, setTransformMode, transformTool},
            {ID_AXIS_X, ID_AXIS_Z, toggleAxis, transformTool},

            // Objects
            {ID_ADD_TEXT, addObjectAction, addObject},
            {ID_ADD_PANEL, addObjectAction, addObject},
            {ID_ADD_MODEL, addObjectAction, addObject},
            {ID_ADD_GRAPH, addObjectAction, addObject},
            {ID_LABEL_PROPERTY, ID_GRAPH_DATA, chartDialog, chartItem},

            // Environment
            {ID_DISPLAY_LOW, ID_DISPLAY_HIGH, [](V& v, int id) { v.SetDisplayLevel(4 * (id - ID_DISPLAY_LOW)); },
             displayQuality},
            {ID_OUTPUT_LOW, ID_OUTPUT_HIGH,
             [](V& v, int id) {
                 if (!v.m_pDocument) return;
                 v.m_nOutputQuality = 4 * (id - ID_OUTPUT_LOW);
                 v.m_pDocument->m_nOutQuality = v.m_nOutputQuality;
             },
             outputQuality},
            {ID_HIGHLIGHT_SELECTED, [](V& v, int) { v.OnHighlightSelected(); },
             [](V& v, int, CCmdUI& ui) { ui.SetCheck(v.m_bHighlightSelected != 0); }},
            {ID_TIMELINE_OPTIONS, [](V& v, int) { v.OnTimelineOptions(); },
             [](V& v, int, CCmdUI& ui) { ui.Enable(v.m_pDocument != nullptr && v.m_pScene != nullptr); }},
            {ID_CREATE_EFFECT, [](V& v, int) { v.OnCreateEffect(); }, always},
            // Without the effect dialogs there is nothing Add Effect could open.
            {ID_ADD_EFFECT, [](V& v, int) { v.OnCreateEffect(); },
             [](V& v, int, CCmdUI& ui) {
                 ui.Enable(v.m_pEffectDialogs && v.m_pDocument && v.m_pDocument->m_pSelectedObject);
             }},
            {ID_ADD_GROW_SHRINK, [](V& v, int) { v.OnAddGrowShrink(); },
             [](V& v, int, CCmdUI& ui) { ui.Enable(v.m_pEffectDialogs && v.SelectedChart()); }},
            // A recording reads every frame at the size it started with.
            {ID_IMAGE_SIZE, [](V& v, int) { v.OnImageSize(); },
             [](V& v, int, CCmdUI& ui) { ui.Enable(!v.m_bBusy); }},
            {ID_BACKGROUND_COLOR, [](V& v, int) { v.OnBackgroundColor(); },
             [](V& v, int, CCmdUI& ui) {
                 ui.Enable(v.m_pScene != nullptr && !v.m_bPlaying);
                 if (const pnBackground* background = backgroundOf(v.m_pScene.get()))
                     ui.SetCheck(background->getUseTexture() == 0);
             }},
            {ID_BACKGROUND_TEXTURE, [](V& v, int) { v.OnBackgroundTexture(); },
             [](V& v, int, CCmdUI& ui) {
                 ui.Enable(v.m_pScene != nullptr && !v.m_bPlaying);
                 const pnBackground* background = backgroundOf(v.m_pScene.get());
                 ui.SetCheck(background && background->getUseTexture() && background->getTexMode() != 2);
             }},
            {ID_BACKGROUND_PER_FACE,
             [](V& v, int) {
                 if (pnBackground* background = backgroundOf(v.m_pScene.get())) background->setTexMode(2);
             },
             always},

            // View tools without menu entries
            {ID_SCENE_TRANSFORM, [](V& v, int) { v.OnSceneTransform(); }, always},
            {ID_SAFETY_ZONE, [](V& v, int) { v.OnSafetyZone(); }, always},
            {ID_SCENE_ALIGN_FIRST, ID_SCENE_ALIGN_LAST, [](V& v, int id) { v.OnSceneAlign(id - ID_SCENE_ALIGN_FIRST); },
             [](V& v, int id, CCmdUI& ui) { ui.SetCheck(v.m_nSceneAlign == id - ID_SCENE_ALIGN_FIRST); }},

            // Help
            {ID_HELP_CONTENTS, [](V& v, int) { v.OnHelpContents(); }, always},
        };
    }();
    return commands;
}

const CKelvanoView::Command* CKelvanoView::FindCommand(int id) {
    for (const Command& command : Commands())
        if (id >= command.first && id <= command.last) return &command;
    return nullptr;
}

bool CKelvanoView::HoldsStep() const { return m_bPlacing || m_bDragging; }

bool CKelvanoView::RunsWhileHeld(int id) {
    using namespace kv;
    return (id >= ID_MODE_MOVE && id <= ID_MODE_ROTATE) || (id >= ID_AXIS_X && id <= ID_AXIS_Z) ||
           (id >= ID_DISPLAY_LOW && id <= ID_DISPLAY_HIGH) || (id >= ID_OUTPUT_LOW && id <= ID_OUTPUT_HIGH) ||
           id == ID_EDIT_COPY || id == ID_HIGHLIGHT_SELECTED || id == ID_HELP_CONTENTS;
}

bool CKelvanoView::OnCommand(int id) {
    const Command* command = FindCommand(id);
    if (!command) return false;
    // Taken, and refused: it waits for the held step (keys reach here
    // whatever the menu item shows).
    if (HoldsStep() && !RunsWhileHeld(id)) return true;
    command->action(*this, id);
    return true;
}

bool CKelvanoView::OnUpdateCommand(int id, CCmdUI& ui) {
    const Command* command = FindCommand(id);
    if (!command) return false;
    if (command->rule) command->rule(*this, id, ui);
    if (HoldsStep() && !RunsWhileHeld(id)) ui.Enable(false);
    return true;
}
