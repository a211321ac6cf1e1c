// The main view: owner of the scene, of the GL drawing and of the view's
// commands. It holds plain state and reaches the window system only through
// its host (CViewHost), so it runs headless in tests.
#pragma once

#include "editor/CCmdUI.h"
#include "editor/CDib.h"
#include "editor/CViewHost.h"
#include "editor/CViewListener.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgVec.h"

#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CAviWriter;
class CFrameBitmapSink;
class CEffectDialogs;
class CObjectCreator;
class CGifEncoder;
class ViewMovieHost;
class SwfExport;
struct AviSound;
class CKelvanoDoc;
class CUndoSnapshot;
class CUndoStep;
class pnChart;
class pnEffect;
class pnEvent;
class pnObject;
class pnScene;
struct pnReadEnd;
class sgChannel;
class pnSceneLoader;

// The scene-graph roots of the view's scene and the channel, made at every
// scene reset; null while the view has no scene. Picking and the bars reach
// them here.
extern SceneGraphRoots* sceneGraphRoots;
extern sgChannel* sceneChannel;

// The drawable the host made for the view, as GL reports it.
struct GLFormatInfo {
    int redBits = 8, greenBits = 8, blueBits = 8, alphaBits = 0;
    int depthBits = 24;
    int stencilBits = 8;
    int accumRedBits = 0;
    bool doubleBuffer = true;
};

// A new scene's background, also the clear colour while the view has no scene.
constexpr float kSceneBackground[4] = {0.14f, 0.35f, 0.67f, 0.0f};
constexpr int kDefaultSceneWidth = 580;
constexpr int kDefaultSceneHeight = 392;
// Key codes the view reads besides letters (the toolkit's numbers).
constexpr int kKeyEnter = 13;
constexpr int kKeySpace = 32;
// Timers: playback, and recording by export kind.
constexpr int kPlaybackTimer = 9;
constexpr int kRecordGifTimer = 201;
constexpr int kRecordAviTimer = 203;
constexpr int kRecordSwfTimer = 207;

// Modifier flags of the view's mouse and key handlers.
enum : int { KV_MOD_SHIFT = 1, KV_MOD_CTRL = 2 };
// Keys the view takes besides letters and digits (which are their upper-case
// characters).
enum : int { KV_KEY_LEFT = 0x25, KV_KEY_UP = 0x26, KV_KEY_RIGHT = 0x27, KV_KEY_DOWN = 0x28, KV_KEY_DELETE = 0x2E };

class CKelvanoView {
public:
    // Becomes the application's current view and the document's view.
    CKelvanoView(CKelvanoDoc* doc, CViewHost* host);
    ~CKelvanoView();
    CKelvanoView(const CKelvanoView&) = delete;
    CKelvanoView& operator=(const CKelvanoView&) = delete;

    CKelvanoDoc* GetDocument() const { return m_pDocument; }
    // The document's selected object when it is a chart, else null.
    pnChart* SelectedChart() const;
    CViewHost* GetHost() const { return m_pHost; }
    // The main frame's relays to the bars; null without a host or frame.
    CFrameRelays* Frame() const { return m_pHost ? m_pHost->GetMainFrame() : nullptr; }
    // Asks the host to draw the scene again (the draw itself comes later).
    void Redraw() const {
        if (m_pHost) m_pHost->Redraw();
    }
    // The scene has changes a Save would keep (or, with false, has none).
    void SetModified(bool modified = true) { m_bModified = modified ? 1 : 0; }

    // Colour and alpha bits to ask of a display whose usual format has these:
    // 8 alpha bits or more are taken as they are; without alpha, fewer than
    // 32 colour bits give (colour, 0), 32 and more give (24, 8).
    static void ChooseFormatBits(int colorBits, int alphaBits, int& outColor, int& outAlpha);

    // Once the host has made the GL context for the view's window and made it
    // current: records the format, takes the document's settings and builds a
    // new scene (palette, camera and four lights with their events).
    int OnCreate(const GLFormatInfo& format);
    // After OnCreate and the first OnSize: runs an Open that arrived before
    // the window could draw.
    void OnInitialUpdate();
    // Draws the screen picture and swaps.
    void OnDraw();
    // The client area's new size; a zero side (minimised) changes nothing.
    void OnSize(int width, int height);
    // Lets go of the scene and its GL objects; the context must still exist.
    void OnDestroy();
    void OnTimer(int timerId);
    // Keys of the view (arrows, Delete, Shift+1 to 6, and the letters G, L, M,
    // P, R, S, T, X, Y, Z); true when the key is consumed.
    bool OnKeyDown(int key, int modifiers = 0);

    // Object-mode mouse, in window coordinates (y down).
    void OnLButtonDown(int x, int y, int modifiers);
    void OnMouseMove(int x, int y, int modifiers);
    void OnLButtonUp(int x, int y, int modifiers);
    // The window lost the mouse during a drag: the drag ends as a release.
    void OnCaptureLost();
    // The object chooser's new choice.
    void OnObjectChosen(const std::string& name);
    // Selects the object's name in the object chooser and shows its property
    // page (by kind) loaded from it.
    void ShowPageForObject(pnObject* object, int flag);
    // The bars follow the document's selection: its page with the
    // Transformation edits unlocked (not in animation mode), or the empty
    // page with them locked.
    void ShowSelectionInBars();
    bool IsInMultiSelection(const pnObject* object) const;
    void AddToMultiSelection(pnObject* object);
    void RemoveFromMultiSelection(const pnObject* object);
    void SelectObjectByName(const std::string& name);

    // Copy, Cut and Paste of one object inside the program; 1 when done.
    int OnEditCopy();
    int OnEditCut();
    int OnEditPaste();
    // "%s%d" with the name's prefix and its trailing number plus 1, 2, ...
    // (1000 tries): the first name no scene object has, or "" when all are
    // taken. The trailing number keeps at most 9 digits.
    static std::string NextPasteName(const std::string& name, const pnScene& scene);

    // A new empty scene with its roots record and channel: background, format
    // version 210 and the viewpoint "Camera". The channel singleton is taken
    // afresh.
    void ResetScene();
    // Deletes the scene, the roots record with its nodes and the channel.
    void ReleaseScene();
    void AddDefaultMaterials();
    void AddCameraEvent();
    void AddLightEvents();
    // Binds the scene's lights to the light slots: fills them up to four
    // (keep 0 also switches the first one on).
    void RefreshLightPage(int keep);
    void SetObjectHighlight(pnObject* object, int on);
    void HighlightObjectByName(const std::string& name, int on);
    // Forgets the document's selection before the objects it names go.
    void ClearDocumentSelection();

    // A new untitled scene (after the save-changes prompt). 1 when done.
    int OnFileNew();
    // Opens m_strOpenFile of the application (m_bOpenGivenFile), else
    // m_strPendingOpen (a recent file), else a file chosen in the open dialog.
    // The file is tested before the current scene goes: a missing file, one
    // that is not a regular file, or one in which nothing of a scene is found
    // keeps the current scene and says so; one that ends inside a block is
    // opened only when the user says so. 1 when the file was read.
    int OnFileOpen();
    // Files dropped on the view or the main frame: only the first is opened.
    int OnDropFiles(const std::vector<std::string>& paths);
    // Reads a scene file into an empty scene: the one place every open reads
    // through (pnSceneLoader::readScene). 1 when read, 0 when the file does
    // not open, -1 when it is no regular file or nothing in it is part of a
    // scene. end, when given, tells whether the file ended inside a block.
    static int ReadSceneFile(const std::string& path, pnScene& scene, pnReadEnd* end = nullptr);
    // For each object in list order, an event named after it that shows it.
    void AddObjectEvents();
    // The two saves under a ".bpn" name (the same text): 1 when saved.
    int OnSaveBinary();
    int OnSaveBinaryAs();
    void OnHighlightSelected();
    void HighlightSelection();
    void ClearHighlights();
    void OnSceneAlign(int index);
    // The folder a save dialog proposes: the scene folder when it can be
    // written to, else the user's documents folder, else home.
    static std::string SaveDialogFolder(const std::string& sceneDir);

    // The base name when no object (material) has it, else the base and the
    // first free number 1..10000 in three digits ("%s%03d"); "" when all are
    // taken or there is no scene.
    std::string MakeUniqueObjectName(const std::string& base) const;
    std::string MakeUniqueMaterialName(const std::string& base) const;
    // Environment > Background > Color...: the colour editor on the
    // background's colour and alpha; OK is one undo step. 1 when changed.
    int OnBackgroundColor();

    // Image Size: the dialog on the document's scene size; OK sizes the scene
    // window and keeps the proportion flag. 1 after OK.
    int OnImageSize();
    // Edit Options (only while the view holds a scene): the copy offsets.
    int OnEditOptions();
    // Environment > Background > Texture...: an image file as the background's
    // texture, stored relative to the program folder when it lies below it;
    // one undo step. 1 when changed.
    int OnBackgroundTexture();

    // Undo and Redo: apply the history's step and mark the scene modified; 1
    // when one was applied. Both wait while a step is held open.
    int OnEditUndo();
    int OnEditRedo();
    // A drag or a placement holds its undo step open: the commands that would
    // change the scene, the selection or the history wait until it ends.
    bool HoldsStep() const;
    // Commands that may run while a step is held: they change neither the
    // scene, the selection nor the history.
    static bool RunsWhileHeld(int id);
    // Applies a whole step (its parts in order, or in reverse order to
    // undo), then tells the followers once.
    void ApplyUndoStep(CUndoStep& step, bool undo);
    // Applies a snapshot by the kind it is applied with (undo maps creation
    // and deletion onto each other). other is the step's other snapshot.
    void ApplyUndoSnapshot(int kind, CUndoSnapshot* snapshot, int undo, const CUndoSnapshot* other = nullptr);
    // Takes an object out of the scene with its event (its child events move
    // up to its parent) and frees it.
    void RemoveObjectFromScene(pnObject* object);
    // A text style that no object of the scene other than except names.
    bool IsStyleUnused(const std::string& styleName, const pnObject* except) const;
    // Deletes the selected object (free 1 destroys it); a neighbour becomes
    // the selection.
    void DeleteSelectedObject(int free);
    // The only selected object (highlighted when Highlight Selected is on).
    void SelectObject(pnObject* object);

    // Passes actually drawn for an anti-aliasing level: 4 and 8 need offscreen
    // targets (GL 3.0) or the accumulation buffer and fall back to one pass
    // with neither (said once).
    int AntiAliasPasses(int level);
    bool HasAccumulationBuffer() const { return m_bAccumBuffer != 0; }

    // Where a printed page shows the view: the full printable width, the
    // height that keeps the view's shape at the printer's resolutions.
    static CRectI PrintTarget(int clientWidth, int clientHeight, int horzRes, int logPixelsX, int logPixelsY);

    // The save-changes prompt: 1 to go on, 0 when the user cancelled or the
    // save failed.
    int SaveModified();
    int OnFileSave();
    int OnFileSaveAs();
    int WriteScene();
    // Saves the scene to path; a failure is shown with the system's reason
    // ("Permission denied") and gives 0.
    int SaveSceneTo(const std::string& path);

    // Command routing from the frame: true when the view handles the id.
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CCmdUI& ui);
    // The windows, pages and bars that follow the view hear every change
    // here (CViewListener.h); a listener may leave while it is told.
    void AddListener(CViewListener* listener);
    void RemoveListener(CViewListener* listener);
    // What the current frame shows changed outside the view's own drags (a
    // play, an effect or a time edited): the next paint poses the frame anew
    // without its sound cue or pause, and the followers hear of it.
    void FrameContentChanged();

    // The view's commands, one row each (CKelvanoViewCommands.cpp): the
    // numbers first..last, what the command does, and the rule that enables
    // and checks its menu item and tool button. A row without a rule is always
    // enabled; OnUpdateCommand answers false only for a number without a row,
    // whose menu item the frame greys unless it handles the number itself.
    using Action = void (*)(CKelvanoView& view, int id);
    using Rule = void (*)(CKelvanoView& view, int id, CCmdUI& ui);
    struct Command {
        Command(int id, Action act, Rule ui) : Command(id, id, act, ui) {}
        Command(int from, int to, Action act, Rule ui) : first(from), last(to), action(act), rule(ui) {}
        int first, last;
        Action action;
        Rule rule;
    };
    static const std::vector<Command>& Commands();
    static const Command* FindCommand(int id);

    ViewCursor CurrentCursor() const;

    pnScene* GetScene() const { return m_pScene.get(); }
    SceneGraphRoots* GetRoots() const { return m_pRoots.get(); }
    bool IsCreated() const { return m_bCreated != 0; }

    // Reads the m_nRecordWidth x m_nRecordHeight back buffer as a 24-bit
    // packed DIB and hands it to the movie writer: its result (false also
    // without a writer or when nothing could be captured).
    bool CaptureFrameToBitmap();

    // ---- Playback and recording (CKelvanoViewPlayback.cpp) ----
    // Kind 201 (animated GIF), 203 (movie) or 207 (Flash) records; any other
    // kind plays on timer 9. Play is ignored while a recording runs.
    void StartPlayback(int kind);
    // Ends playback; a recording ends at the current frame, finishing its file.
    void StopPlayback();
    // The time line's play, pause and stop.
    void OnPlayStart() { StartPlayback(0); }
    void OnPlayPause();
    void OnPlayStop() { StopPlayback(); }
    // The progress dialog's Cancel: the recording ends with the current frame.
    void OnExportCancel();
    void SetCurrentFrame(int frame);
    void AdvanceFrame();
    // The time line's frame commands (a click, a step, go to start or end, a
    // typed frame): the view shows that frame next.
    void GoToFrame(int frame);
    // The common end of a recording: restores what the export changed, closes
    // the progress dialog and says how it ended.
    void FinishRecording();
    // Display Quality: the level the screen draws at (passes 0, 4 or 8).
    // During a recording the frames keep their level and the choice waits for
    // the end of it.
    int DisplayLevel() const;
    void SetDisplayLevel(int level);

    // ---- Export commands (CKelvanoViewExport.cpp) ----
    // One of the six still commands, by command id.
    void OnExportStill(int id);
    void OnExportGifAnimation();
    // Fills width x height bytes (rows bottom-up) with the scene's
    // silhouette: 255 where an object is drawn, 0 elsewhere. 1 on success.
    int RenderAlphaMask(uint8_t* buffer, int width, int height);
    // Takes every highlight off and keeps what was on; Restore gives exactly
    // those back (a multi-selection too).
    void SuspendHighlights();
    void RestoreHighlights();
    CGifEncoder& GetGifEncoder();

    // ---- Animation-mode editing (CKelvanoViewAnimation.cpp) ----
    // Object Mode and Animation Mode both toggle the mode.
    void OnToggleMode();
    // Frames a new effect may take on the event at the current frame (see the
    // definition), the plays of ignoredEffect aside; 0 with the "Effect
    // Creation Error" box when none (or when no event has that name).
    int GetFreeEffectLength(const std::string& eventName, const std::string& ignoredEffect = std::string());
    // "Creating Effect" OK on the event: the free length at the frame that
    // stands now (the dialog's preview play aside) becomes the new play's;
    // 0, with the "Effect Creation Error" box, when the frame is taken.
    int TakeNewEffectLength(const std::string& eventName);
    // Add Effect: the "Creating Effect" dialog for the selection's event.
    void OnCreateEffect();
    // The "Effect Creation Error" text for a scene where no event (what:
    // "event") or no object ("object") has the name an effect would go to.
    static std::string NoEffectTakerText(const std::string& what, const std::string& name);
    // Add Effect from the time line's row of an object: on that object,
    // selected first where another is.
    void OnCreateEffectFor(const std::string& objectName);
    // The modeless editor on m_strEditEffectName.
    void ShowEffectEditor();
    // The Event Tree's double-click on an event's play: the view and the time
    // line go to the play's end, and the modeless editor opens on its effect.
    void EditEffectPlay(const std::string& eventName, int playIndex);
    // False, the open one brought to the front, while the other effect
    // dialog (1 "Creating Effect", 2 the Effect Editor) holds the edit mode.
    bool MayOpenEffectDialog(int mode);
    // The effect dialogs (null until the program has them: Add Effect is then
    // greyed).
    void SetEffectDialogs(CEffectDialogs* dialogs) { m_pEffectDialogs = dialogs; }
    CEffectDialogs* GetEffectDialogs() const { return m_pEffectDialogs; }
    void OnEffectApplied();
    void OnEffectDialogClosed();
    // Plays of the effect in all the scene's events.
    int CountPlaysOf(const std::string& effectName) const;
    // The play at playIndex of the event takes a copy of its effect under a
    // numbered name of its own (announced like a new effect); the copy, or
    // null when none could be made.
    pnEffect* OwnEffectForPlay(pnEvent& event, int playIndex);
    // Add Grow/Shrink Effect: the chart's grow/shrink times, then the time
    // line's animation end.
    void OnAddGrowShrink();
    // Timeline Options: the dialog, then every time scaled to the new length.
    void OnTimelineOptions();
    // Every time of the scene scaled by newLength / oldLength (nothing from 0).
    void ScaleSceneTimes(int oldLength, int newLength);
    std::string MakeNumberedEffectName(const std::string& base) const;
    void SelectInObjectChooser(const std::string& name);
    void ClearMultiSelection(int deselectList);
    void FocusLastSelected();
    void RefreshAnimationBars(const std::string& eventName, const std::string& effectName);

    int m_nEffectEditMode = 0;
    std::string m_strEditEffectName;
    std::string m_strEditEventName;
    int m_nEditPlayIndex = -1;
    int m_nNewEffectLength = 0;
    int m_nAnimDragX = 0, m_nAnimDragY = 0;
    sgVec3 m_fDragMove{0, 0, 0}, m_fDragScale{0, 0, 0};
    sgVec3 m_fBaseMove{0, 0, 0}, m_fBaseScale{0, 0, 0};
    sgVec4 m_qBaseRotation{1, 0, 0, 0};
    int m_bAnimDragAllowed = 0;
    int m_bDragEffectCreated = 0;
    std::string m_strDragEffectName;
    int m_bDialogPlayAdded = 0;
    std::string m_strDialogPlayEffect;
    std::string m_strDialogPlayEvent;  // the event the preview play went to
    std::string m_strCreateEventName, m_strNewEffectName;
    int m_bEffectExisted = 0;
    int m_bChooserSync = 0;

    // ---- Delete, the context menu, chart dialogs, printing and help
    // (CKelvanoViewDelete.cpp) ----
    // Delete: the selection goes as one undo step (object mode).
    void OnEditDelete();
    // Delete Column: the document's data point of the selected chart; the
    // whole chart when it has only one.
    void OnDeleteColumn();
    // A right click (view coordinates): a hit becomes the only selection, then
    // the popup of the mode shows there.
    void OnContextMenu(int x, int y);
    // Object mode: the Graph Data dialog of the picked chart; animation mode:
    // the chart's grow/shrink times.
    void OnLButtonDblClk(int x, int y);
    // Graph Data, Label Property and Value Property of the selected chart.
    void OnChartDialog(ChartDialog which);
    // Their menu items' rule: on for a chart, off for a text, panel or model
    // (a kind without chart texts leaves them as they were); Graph Data also
    // wants a hit.
    void UpdateChartItem(int id, CCmdUI& ui);
    // Help: the help page in the user's browser.
    void OnHelpContents();
    // The help page below a program folder, as a path and as a file URL.
    static std::string HelpPageFile(const std::string& programDir);
    static std::string HelpPageUrl(const std::string& programDir);
    // Print (or preview) the scene as it shows now.
    void OnFilePrint(bool preview);
    void OnPreparePrinting(bool preview);
    void OnEndPrinting();
    int m_bPrintDone = 1;
    // Label, Value and Graph Data keep their state while a kind without
    // chart texts (a counter) is selected.
    bool m_bChartItems[3] = {false, false, false};

    // ---- Creating and renaming objects (CKelvanoViewCreate.cpp) ----
    // Add Text, Add Panel, Add Model and Add Graph (by command id): the
    // creator's dialog, then its page builds the object, which is announced,
    // selected and follows the mouse until the next click. 1 when an object
    // was made.
    int OnAddObject(int command);
    // The creator of an Add command (null: the command is greyed). Not owned.
    void SetObjectCreator(int command, CObjectCreator* creator);
    // Move mode, with the X and Y axes on.
    void SetPlacementAxes();
    // Adds the name to the Object List and makes it the list's only selection.
    void AnnounceNewObject(const std::string& name);
    // Puts a new object and an event named after it into the scene, builds
    // it, adds its name to the object chooser, makes it the only selection
    // and marks the scene modified. It records no undo step: the caller does
    // (an Add at its placement click, Paste at once). The object, or null
    // when the scene refuses it (a taken or empty name).
    pnObject* InsertNewObject(std::unique_ptr<pnObject> made);
    // Longest object name an edit may take (event names are cut there).
    static constexpr size_t kMaxObjectNameChars = 127;
    // Renames an object with everything that names it (object chooser,
    // Object List, its event, its child events' parent, its place among its
    // parent event's children) as one undo step. 0 without a change: the
    // same name, "", a name longer than kMaxObjectNameChars or one another
    // object has.
    int RenameObject(pnObject* object, const std::string& newName);
    // The texture tool windows of the selection, by kind (the frame's
    // OpenTextureWindow: 1 text, 2 counter, 3 model, 4 panel).
    void ShowTextTextureDialog();
    void ShowModelTextureDialog();
    void ShowPanelTextureDialog();

    // ---- Movie exports (CKelvanoViewMovies.cpp) ----
    void OnExportAvi();
    void OnExportFlash();
    // The scene's sounds up to m_nRecordEndFrame (the last event frame when it
    // is -1), at most 256, into m_soundList; their count.
    int BuildSoundList();
    void ClearSoundList();
    void FreeSoundList();
    CAviWriter& GetAviWriter();
    // An export's save dialog in the export folder, asking before overwriting.
    FileDialogRequest ExportFileRequest(const char* title, const char* extension, const char* filter) const;
    // An export switches the active camera preset view off first.
    void SwitchPresetOff();

    // ---- Camera presets and view tools (CKelvanoViewTools.cpp) ----
    // Preset 0..5 (Front, Back, Left, Right, Top, Bottom) on or off.
    void OnCameraPreset(int index);
    void OnSelectAll();
    void OnSceneTransform();
    void OnSafetyZone();
    // A texture tool window closed: whether its object shows a texture goes
    // to the page's texture check box (through the main frame, when there is one).
    void SetPanelPageTextureCheck(int on);
    void SetTextPageTextureCheck(int on);
    void SetModelPageTextureCheck(int on);
    // The window got the keyboard focus: the picture is drawn again.
    void OnSetFocus();
    // The safety zone's 1-pixel white outline over the drawn frame (screen
    // paints only, before the swap).
    void DrawSafetyZone();
    int m_bPresetViewSaved = 0;
    int m_bSavedPerspective = 0;
    sgVec3 m_vSavedCameraPos{0, 0, 0};
    float m_fSavedViewWidth = 720.0f;

    // Data model.
    CDibSection m_dibWindowCapture;
    std::unique_ptr<pnScene> m_pScene;
    // Counts the scenes the view has made: a command that waited on a dialog
    // sees whether its scene is still the one shown.
    int m_nSceneSerial = 0;
    int m_bAnimationMode = 0;
    int m_bOpenGivenFile = 0;
    // Mouse interaction in object mode.
    int m_nDragX = 0, m_nDragY = 0;
    int m_bDragging = 0;
    int m_bDragMoved = 0;
    int m_bShiftClick = 0;
    int m_bObjectHit = 0;
    int m_bMultiDrag = 0;
    int m_bSelectionKept = 0;
    int m_bTexMoveDrag = 0, m_bTexScaleDrag = 0, m_bTexRotateDrag = 0;
    int m_bPlacing = 0, m_bPlacingFirstMove = 0;
    std::string m_strPlacingName;  // the object an Add is placing
    int m_bSelectAll = 0;
    // Where the next paste goes before its offset.
    float m_vPastePosition[3] = {0.0f, 0.0f, 0.0f};
    std::string m_strPathName;
    std::string m_strPendingOpen;
    int m_bAlphaBits = 0;
    int m_bPlaying = 0;
    int m_bHighlightSelected = 0;
    int m_nTransformMode = 0;
    int m_bAxisX = 1, m_bAxisY = 1, m_bAxisZ = 0;
    int m_nAntiAlias = 0;
    int m_nOutputQuality = 4;
    int m_nSceneAlign = 0;
    int m_bModified = 0;
    float m_fPresetDistance[6] = {720.0f, 720.0f, 720.0f, 720.0f, 720.0f, 720.0f};
    int m_bPresetOn[6] = {0, 0, 0, 0, 0, 0};
    int m_nActivePreset = -1;
    unsigned char m_bSafetyZone = 0;
    int m_bWaitCursorOnDraw = 0;
    int m_nCurrentFrame = 0;
    int m_bBusy = 0;
    int m_bClosingToolWindows = 0;
    CDib m_dibPrint;
    int m_nRecordWidth = 0;
    int m_nRecordHeight = 0;
    std::vector<uint8_t> m_pCaptureBuffer;
    CFrameBitmapSink* m_pAviWriter = nullptr;  // not owned; set while a movie records

    int m_nTimerId = 0;
    int m_nLastFrame = 0;
    int m_bRecordDone = 0;
    int m_nRecordEndFrame = -1;
    int m_bRecordAlpha = 0;
    int m_nGifTransparency = 0;
    int m_nGifLoopCount = 1;
    int m_nGifDelay = 0;
    int m_nSavedAntiAlias = 0;
    int m_bAntiAliasSaved = 0;  // m_nSavedAntiAlias holds what this export replaced
    int m_nProgressPos = 0;
    int m_bRecordCanceled = 0;
    int m_bRecordFailed = 0;    // a frame or the file could not be written
    int m_nRecordCutFrame = -1;  // the frame a movie writer refused; the file keeps those before it
    std::string m_strGifPath;
    std::string m_strRecordPath;  // the file the closing message names
    std::unique_ptr<CGifEncoder> m_gifEncoder;
    std::string m_strAviPath;
    std::string m_strSwfBase, m_strSwfPath;
    int m_bSwfBitmapFrames = 0;
    int m_nSwfFrameRate = 12;
    int m_nSwfQuality = 60;
    int m_bSwfLoop = 0;
    std::vector<AviSound> m_soundList;
    std::unique_ptr<CAviWriter> m_aviWriter;
    std::unique_ptr<SwfExport> m_pSwfExport;  // made at the recording's frame 0

private:
    // The contents of a new scene after ResetScene: lights, graph, viewpoint,
    // palette and the events of the camera and the lights.
    void BuildNewScene();
    // Model files named relative to the program's folder or beside the scene
    // file, found without depending on the current directory.
    // Opens scene files with the program's data folders.
    pnSceneLoader SceneLoader() const;
    void SetTransformMode(int mode);
    // A new object from a snapshot, with its event hung back under its parent
    // and its child events under it; it becomes the selection.
    pnObject* RecreateObject(const CUndoSnapshot& snapshot);
    // Event Tree and time line rows in animation mode.
    void RebuildAnimationRows();
    // Those rows, and a redraw.
    void RefreshAfterEdit();
    enum class OpenOrigin { Given, Recent, Dialog, Drop };
    int OpenScene(OpenOrigin origin, const std::string& path);
    // Object chooser, Object List and selection after a scene came in.
    void FillSceneLists();
    // The save dialog for an extension; on OK the path becomes the scene's
    // and write saves it (the old path comes back when it fails).
    int SaveAsWithDialog(const char* extension, const char* filter, int (CKelvanoView::*write)());
    void ToggleAxis(int axis);
    // The frame step of every tick: draws the current frame (and swaps unless
    // capture follows) and moves on, holding at a pause during playback.
    void StepFrame(bool swap);
    void OnGifRecordTick();
    // The progress dialog's bar at m_nProgressPos with the text; the position
    // then counts the frame.
    void ShowRecordProgress(const std::string& text);
    void OnAviRecordTick();
    void OnSwfRecordTick();
    // Ends a movie recording whose writer took no more frames.
    void EndRecordingNow();
    // Space or Enter at a pause: playback goes on. True when it was taken.
    bool ContinueFromPause();
    // Draws the scene once at level without swapping, for reading the back
    // buffer; false without a context or scene.
    bool DrawForCapture(int level);
    // Replaces the display level by the output level; FinishRecording puts it back.
    void UseOutputLevel();
    void RestoreDisplayLevel();
    void ReportWriteFailure(const std::string& path);
    int WriteStill(int id, const std::string& path);
    // One drag step to (x, y) from the last drag point (which stays).
    void DragStep(int x, int y, int modifiers);
    void MoveStep(int dx, int dy, const std::vector<pnObject*>& targets);
    void ScaleStep(int dx, int dy);
    void RotateStep(int dx, int dy);
    void ChartTextStep(int dx, int dy, int label, int allPoints);
    void TextureStep(int x, int y);
    // The click's selection rules.
    void SelectPicked(pnObject* picked);
    void TogglePicked(pnObject* picked);
    void FocusRule(pnObject* picked);
    // The objects a drag step moves: the members, or the selection.
    std::vector<pnObject*> DragTargets() const;
    // What the drag's open step records, taken at its first move.
    std::vector<pnObject*> m_dragTargets;
    void ShowTransformValues(int what);
    // What lies under a view point: the picked object (a chart for its parts)
    // and the chart part with its point and kind.
    struct PickResult {
        pnObject* picked = nullptr;
        pnObject* part = nullptr;
        int point = -1, kind = -1;
    };
    PickResult PickAt(int x, int y);
    // Animation-mode mouse: the click picks, a drag makes or feeds an effect.
    void AnimLButtonDown(int x, int y);
    void AnimMouseMove(int x, int y);
    void AnimRelease();
    void ResetAnimDrag();
    // Takes the preview play of "Creating Effect" out of its event.
    void RemovePreviewPlay();
    pnEvent* SelectionEvent() const;
    // The drag's values from the anchor, sent where they go.
    void AnimDragValues(int x, int y, pnEffect* effect);
    void Nudge(int dx, int dyWindow, int modifiers);

    // Tells the view's own bars (through the frame's relays), then every
    // listener, of a change.
    void Announce(ViewChange change);
    void FollowChange(ViewChange change);
    // Announces the selection when it is not the one last announced.
    void NoteSelection();
    // The preview of an open "Creating Effect" and the unapplied values of the
    // followers (an Effect Editor's drag) are no part of the document: they
    // are out of the scene while a save writes it. why gets the system's
    // reason for a failure.
    int WriteWithoutPreview(const std::string& path, std::string* why);

    CKelvanoDoc* m_pDocument;
    CViewHost* m_pHost;
    std::vector<CViewListener*> m_listeners;
    // The selection the followers were last told of.
    const pnObject* m_pShownSelection = nullptr;
    std::string m_strShownSelection;
    // Above 0 while a scene comes in or a step is applied: the selection is
    // told with that change, once.
    int m_nHoldSelection = 0;
    // The frame's plays changed since it was played: the next paint poses it.
    int m_bPoseFrame = 0;
    std::unique_ptr<SceneGraphRootsOwner> m_pRoots;
    int m_bCreated = 0;
    int m_bOpenWhenCreated = 0;
    int m_bAccumBuffer = 0;
    bool m_bToldNoAccum = false;
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
    // The animation frame the scene was last played to by a paint; a paint on
    // the same frame draws that state again without playing the frame (its
    // sound cue sounds once). No frame while the scene is new or at its
    // initial state.
    static constexpr int kNoPlayedFrame = INT_MIN;
    int m_nPlayedFrame = kNoPlayedFrame;
    CEffectDialogs* m_pEffectDialogs = nullptr;
    std::map<int, CObjectCreator*> m_objectCreators;
    std::vector<std::pair<pnObject*, int>> m_suspendedHighlights;
    // Message boxes and the compressor choice of the movie writers.
    std::unique_ptr<ViewMovieHost> m_pMovieHost;
};
