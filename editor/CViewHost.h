// How the view reaches the window system. The program's GL canvas implements
// it with wx; tests use a recording host with an OSMesa context. Nothing here
// names a wx type.
#pragma once

#include <functional>
#include <string>

class CKelvanoDoc;
class pnObject;
struct AviCompressOptions;  // export/CMovieHost.h

// Message box styles and answers, as the view's commands use them.
enum : int {
    KV_MB_OK = 0x0,
    KV_MB_OKCANCEL = 0x1,
    KV_MB_YESNOCANCEL = 0x3,
    KV_MB_YESNO = 0x4,
    KV_MB_ICONERROR = 0x10,
    KV_MB_ICONQUESTION = 0x20,
    KV_MB_ICONWARNING = 0x30,
    KV_MB_ICONINFORMATION = 0x40,
};
enum : int { KV_IDOK = 1, KV_IDCANCEL = 2, KV_IDYES = 6, KV_IDNO = 7 };

enum class ViewCursor { Arrow, Wait, Move, Scale, Rotate };

// The dialogs the view opens on the selected chart.
enum class ChartDialog { Data, Label, Value };

// The extra controls of an export file dialog. The host shows those of the
// kind and writes the user's values back.
struct ExportDialogOptions {
    enum Kind { Jpeg, AlphaImage, Gif, GifAnimation, Flash };
    Kind kind = Jpeg;
    std::string group;      // "TGA Option", "PNG Option", "GIF Option"
    int quality = 100;      // Jpeg: 0..100
    int progressive = 0;    // Jpeg: "Progressive Compression"
    int check = 0;          // "Save Alpha Channel" / "Transparent Background"
    int loopCount = 1;      // GifAnimation: "Looping:"
    int delay = 0;          // GifAnimation: "Frame Delay:" in 1/100 s
    int frameRate = 12;     // Flash: "frames/sec"
    int bitmap = 0;         // Flash: "Bitmap" chosen (else "Jpeg", of quality)
    int loop = 0;           // Flash: "Loop"
};

struct FileDialogRequest {
    std::string title;             // "Open", "Save As"...
    bool save = false;
    ExportDialogOptions* options = nullptr;
    std::string defaultExtension;  // ".apn"
    std::string initialName;       // file name or full path shown first
    std::string initialDir;
    std::string filter;            // "Scene File(*.apn) |*.apn|"
    bool overwritePrompt = false;
    bool preview = false;          // an open dialog with a picture of the selected image file
};

// The simple colour editor: one colour with a transparency (1 opaque) and a
// name. makeUnique turns the name given into one no material has and lets the
// user edit it; the host writes the user's values back.
struct ColorDialogRequest {
    float color[3] = {1.0f, 1.0f, 1.0f};
    float transparency = 1.0f;
    std::string name;
    bool makeUnique = true;
};

// The values the two modal scene dialogs edit; the host writes the user's
// values back on OK.
struct SceneTransformRequest {
    float position[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    float angle = 0.0f;
    float axis[3] = {0, 1, 0};
};
struct SafetyZoneRequest {
    int on = 0;
    float horizontal = 0.0f;  // margins in percent of the scene size
    float vertical = 0.0f;
};

// What the main frame relays between the view and the docking bars. Every
// relay does nothing (and answers 0) while its bar has no panel.
class CFrameRelays {
public:
    virtual ~CFrameRelays() = default;
    virtual void UpdateTimeLineEventRow(const std::string& eventName) = 0;
    virtual void RebuildTimeLineRows() = 0;
    virtual void RebuildEventTree() = 0;
    virtual void SelectEventTreeItem(const std::string& name) = 0;
    virtual void SelectTimeLineEvent(const std::string& name) = 0;
    virtual int ApplyEventTreeOrder() = 0;
    // The item of the event's play at playIndex (0-based): an event may play
    // one effect twice.
    virtual void RemoveEventTreeEffectItem(const std::string& eventName, int playIndex) = 0;
    virtual void AddEffectListName(const std::string& name) = 0;
    virtual void RemoveEffectListName(const std::string& name) = 0;
    virtual int AddObjectListItem(const std::string& name) = 0;
    virtual int RemoveObjectListItem(const std::string& name) = 0;
    virtual int SelectObjectListItem(const std::string& name, int on) = 0;
    virtual int SelectObjectListIndex(int index, int on) = 0;
    virtual int RenameObjectListItem(const std::string& oldName, const std::string& newName) = 0;
    virtual void ClearObjectList() = 0;
    virtual void ShowViewWidthBar(int show, float width) = 0;
    virtual void SetPanelPageTextureCheck(int on) = 0;
    virtual void SetTextPageTextureCheck(int on) = 0;
    virtual void SetModelPageTextureCheck(int on) = 0;
    // After the view switched between object and animation mode.
    virtual void UpdateBarsForMode(bool animationMode, const std::string& firstObjectName) = 0;
    // The time line editor follows playback; nothing while it has no panel.
    virtual void SetTimeLineFrame(int /*frame*/) {}
    virtual void SetTimeLinePlaying(int /*on*/) {}
    // The time line selects the event's row and the entry, or rebuilds that
    // row selecting the effect's entry.
    virtual void SelectTimeLineEntry(const std::string& /*eventName*/, int /*entry*/) {}
    virtual void UpdateTimeLineEventRowAndSelect(const std::string& /*eventName*/, const std::string& /*effect*/) {}
    // The event tree shows the event's plays again.
    virtual void UpdateEventTreeEffects(const std::string& /*eventName*/) {}
    // The last event frame changed.
    virtual void UpdateTimeLineAnimationEnd() {}
    // The property bar's Light page binds itself to the scene's lights (1
    // when it did; without the page the view fills the slots itself); the
    // Camera page reloads the viewpoint, and shows every control disabled
    // while a preset view is on.
    virtual int RefreshLightPage(int /*keep*/) { return 0; }
    virtual void ReloadCameraPage() {}
    // The Light page shows its light again (its material's colours).
    virtual void ReloadLightPage() {}
    // In animation mode the view stands on another frame, or what its frame
    // shows changed: the Light and Camera pages show the lights and the eye
    // where the view shows them.
    virtual void ShowFrameInPages() {}
    // The property bar shows its Camera tab.
    virtual void ShowCameraPage() {}
    virtual void SetCameraPresetView(int /*on*/) {}

    // The main tool bar's object chooser: adds a name (widening the drop-down
    // list to the longest), and selects the entry of exactly that name.
    virtual void AddObjectChooserName(const std::string& name) = 0;
    virtual void SelectObjectChooserName(const std::string& name) = 0;
    // Takes the entry of exactly that name out of the object chooser.
    virtual void RemoveObjectChooserName(const std::string& /*name*/) {}
    // Selects the chooser's entry of an index (none when there is no such entry).
    virtual void SelectObjectChooserIndex(int /*index*/) {}
    // Opens (or brings up) the texture tool window of an object kind (1 text,
    // 2 counter, 3 model, 4 panel) on the selection.
    virtual void OpenTextureWindow(int /*kind*/) {}
    // The property bar: 1 when it exists. ShowObjectPage shows the Object tab's
    // page (0 text, 1 panel, 2 model, 3 bar, 4 line, 5 pie, 6 area graph, 7
    // empty) and loads it from the object, passing flag on.
    virtual int HasPropertyBar() = 0;
    virtual void ShowObjectPage(int page, pnObject* object, int flag) = 0;
    // Hands two texture values to the first open texture window (panel,
    // model, text, then counter); 0 when none is open.
    virtual int ShowTextureWindowValues(float a, float b) = 0;
    // The Transformation bar's boxes, as texts the view formatted.
    virtual void SetTransformPosition(const std::string& x, const std::string& y, const std::string& z) = 0;
    virtual void SetTransformScale(const std::string& x, const std::string& y, const std::string& z) = 0;
    virtual void SetTransformRotation(const std::string& angle, const std::string& x, const std::string& y,
                                      const std::string& z) = 0;
    // Unlocks the Transformation bar's edits when they are locked; locks them
    // when they are unlocked (nothing is selected).
    virtual void UnlockTransformEdits() = 0;
    virtual void LockTransformEdits() = 0;
};

class CViewHost {
public:
    virtual ~CViewHost() = default;

    // Caption "Kelvano" unless given; answers KV_IDYES and the like.
    virtual int MessageBox(const std::string& text, const std::string& caption, int style) = 0;
    // True with the chosen path; false when cancelled.
    virtual bool FileDialog(const FileDialogRequest& request, std::string& path) = 0;

    // Asks for a paint without erasing (the GL frame covers the window).
    virtual void Redraw() = 0;
    // The view's GL context made current on its window; false when it cannot be.
    virtual bool MakeCurrent() = 0;
    virtual void SwapBuffers() = 0;

    // Repeating timers by number; the host calls CKelvanoView::OnTimer.
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;

    virtual void SetCursor(ViewCursor cursor) = 0;
    // Moves the mouse pointer to the middle of the view's window.
    virtual void CenterCursor() {}
    virtual void SetStatusText(const std::string& text) = 0;
    // The scene window's title ("Untitled", or the scene file's path).
    virtual void SetTitle(const std::string& title) = 0;
    // Sizes the scene window's client area (the view) to a scene's size; the
    // view hears of it through OnSize.
    virtual void SetSceneSize(int width, int height) = 0;

    // The modeless progress dialog of an animation export, its top-left corner
    // at a point of the view's bottom edge. Its Cancel calls
    // CKelvanoView::OnExportCancel and leaves the dialog open; the view closes it.
    enum class ProgressPlace { BottomRight, BottomMiddle };
    virtual void ShowProgress(const std::string& /*caption*/, int /*minPos*/, int /*maxPos*/,
                              ProgressPlace /*place*/) {}
    virtual void SetProgressPos(int /*pos*/) {}
    virtual void SetProgressText(const std::string& /*text*/) {}
    virtual void CloseProgress() {}
    // The AVI compressor dialog, started from options and writing the choice
    // back; false when cancelled. A host without the dialog cancels.
    virtual bool ChooseAviCompressor(AviCompressOptions& /*options*/) { return false; }
    // Holds the mouse for a drag (the host reports a lost capture through
    // CKelvanoView::OnCaptureLost) and lets it go.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;

    // The modal time line "Options" dialog on the document's settings.
    virtual void RunTimeLineOptions(CKelvanoDoc& /*doc*/) {}

    // Runs the simple colour editor modally: true after OK with the values
    // written back; false when cancelled or where there is no editor.
    virtual bool ColorDialog(ColorDialogRequest& /*request*/) { return false; }

    // The modal "Scene Transformation" and "Safety Zone" dialogs: true after
    // OK with the values written back; false when cancelled or where there
    // is no such dialog.
    virtual bool SceneTransformDialog(SceneTransformRequest& /*request*/) { return false; }
    virtual bool SafetyZoneDialog(SafetyZoneRequest& /*request*/) { return false; }

    // The "Image Size" dialog on the scene window's width and height and the
    // keep-proportions flag: true after OK with the values written back.
    virtual bool ImageSizeDialog(int& /*width*/, int& /*height*/, int& /*constrain*/) { return false; }
    // The "Edit options" dialog on the copy offsets: true after OK.
    virtual bool EditOptionsDialog(int& /*offsetX*/, int& /*offsetY*/) { return false; }

    // The modal dialog of the selected chart: its kind's Graph Data dialog, or
    // the label/data property dialog on its label or value text style.
    virtual void RunChartDialog(ChartDialog /*which*/) {}
    // Shows a popup of the context menu (0 "OBJ_POPUP", 1 "ANI_POPUP") at a
    // view point; its commands go to the main frame.
    virtual void TrackPopupMenu(int /*popup*/, int /*x*/, int /*y*/) {}
    // Opens a URL in the user's browser; failed runs, at once or when the
    // opener ends, when no browser opened.
    virtual void LaunchBrowser(const std::string& /*url*/, std::function<void()> failed) { failed(); }
    // The print job (or its preview) of the view's print picture; false when
    // preparing it failed or was cancelled.
    virtual bool RunPrint(bool /*preview*/) { return false; }

    // The main frame's relays, or null when there is no main frame.
    virtual CFrameRelays* GetMainFrame() = 0;
};
