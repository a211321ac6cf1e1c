// Undo as a user relies on it, checked against a model: random sequences of
// edits from every sample scene and from scenes that set every field, through
// the view's commands (Add, Delete, Cut, Paste, drags, nudges, Undo, Redo),
// the Transformation bar's rules, the pages' rules (names, text, panel, model,
// chart, camera, material chooser, background) and their dialogs (Edge and
// Shadow, Label and Value Property, Graph Data) and the texture windows'
// model, a window staying open across actions as the user leaves it. The
// model is the saved text after every recorded step. Each action must record
// no step or exactly one; a step must change the saved text and a change of
// the saved text must be a step; Undo and Redo must give back the saved text
// of the model's neighbour, and the document must then be modified. Each
// sequence ends with Undo to the start and Redo to the end. After one
// sequence of each test the scene is saved: at one frame the view's picture
// must be the render tool's picture of the file and the view's picture after
// reopening it.
//
// KV_UNDO_SEQUENCES sets the sequences per scene (each scene's seeds are run
// as two tests, so no one test runs long); KV_UNDO_SEED runs the one
// sequence of that seed (on every scene, in its first test); KV_UNDO_PICTURES
// compares pictures after every that many sequences instead (1: after each,
// 0: never).
#include "charts/pnChart.h"
#include "editor/CEditScope.h"
#include "editor/CObjectCreator.h"
#include "editor/KelvanoIds.h"
#include "scene/pnBackground.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnString.h"
#include "tests/app/ViewFixture.h"
#include "tests/support/RenderTool.h"
#include "tests/support/SavedText.h"
#include "tests/support/TempDir.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/rules/CCameraPageLogic.h"
#include "ui/properties/rules/CMaterialChooserLogic.h"
#include "ui/properties/rules/CTextureWindowModel.h"
#include "ui/properties/rules/ChartDialogRules.h"
#include "ui/properties/rules/GraphPageRules.h"
#include "ui/properties/rules/ObjectRules.h"
#include "ui/properties/rules/TextRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The first line where two texts differ, both ways, for a failure message.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected), b(actual);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool ha = static_cast<bool>(std::getline(a, la)), hb = static_cast<bool>(std::getline(b, lb));
        if (!ha && !hb) return "(no difference)";
        if (!ha || !hb || la != lb)
            return "line " + std::to_string(line) + ": expected \"" + (ha ? la : "<end>") + "\", got \"" +
                   (hb ? lb : "<end>") + "\"";
    }
}

class PanelCreator : public CObjectCreator {
public:
    bool RunDialog() override { return true; }
    std::string CreateObject() override {
        CKelvanoView* view = CurrentView();
        auto panel = std::make_unique<pnPanel>();
        panel->setName(view->MakeUniqueObjectName("Panel").c_str());
        panel->setDimension(60, 40, 8);
        pnObject* made = view->InsertNewObject(std::move(panel));
        return made ? made->getName() : std::string();
    }
};

struct ChooserUi : CMaterialChooserUi {
    void HideChooser() override {}
    void ShowChooser() override {}
    bool RunSimpleEditor(MaterialEditValues& v) override { return answer ? (answer(v), true) : false; }
    bool RunDetailedEditor(MaterialEditValues& v) override { return RunSimpleEditor(v); }
    void NotifyOwner(int, int, int) override {}
    void RefreshChooser() override {}
    std::function<void(MaterialEditValues&)> answer;
};

// Why a sequence stopped.
struct SequenceFailure {
    std::string what;
};

// What the view's picture may be off the saved file's: a shade in a channel,
// and a few pixels at edges.
constexpr int kShade = 2;
constexpr long kTurnedPixels = 8;

class UndoModelTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        app.InitFolders(KELVANO_SOURCE_DIR "/data");
        app.InitSceneServices();
        create();
        view->SetObjectCreator(kv::ID_ADD_PANEL, &creator);
        // A 2 x 2 Targa picture for the texture windows.
        std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0};
        for (int i = 0; i < 4; ++i) tga.insert(tga.end(), {uint8_t(40 * i), 200, uint8_t(255 - 40 * i)});
        texture = files.write("checker.tga", tga);
    }
    void TearDown() override {
        // The window listens to the view: it goes first.
        window.reset();
        ViewTest::TearDown();
    }

    // ---- the run ----

    // Runs part `part` of `parts` of the scene's sequences; the scene's path
    // is relative to the source folder.
    void runScene(const std::string& file, int part, int parts, int sequences) {
        const std::string path = std::string(KELVANO_SOURCE_DIR "/") + file;
        if (const char* n = std::getenv("KV_UNDO_SEQUENCES")) sequences = std::atoi(n);
        // A picture costs the render tool's run and a reopen, some twenty
        // sequences' time: one a test.
        pictureEvery = std::max(1, sequences / parts);
        if (const char* n = std::getenv("KV_UNDO_PICTURES")) pictureEvery = std::atoi(n);
        std::vector<uint32_t> seeds;
        const std::string name = std::filesystem::path(file).filename().string();
        if (const char* s = std::getenv("KV_UNDO_SEED")) {
            if (part != 0) return;
            seeds.push_back(static_cast<uint32_t>(std::strtoul(s, nullptr, 10)));
        } else {
            // Every scene has seeds of its own.
            const uint32_t base = static_cast<uint32_t>(std::hash<std::string>()(name) % 100000) * 10000;
            for (int i = part * sequences / parts; i < (part + 1) * sequences / parts; ++i) seeds.push_back(base + i);
        }
        int failures = 0, ran = 0;
        for (uint32_t seed : seeds) {
            ++ran;
            if (!runSequence(path, seed)) ++failures;
            if (failures >= 3) break;  // the first few tell enough
        }
        std::printf("%s: %d of %zu sequences run, %d failed, %d steps recorded, %d undone and redone, "
                    "%d pictures compared\n",
                    name.c_str(), ran, seeds.size(), failures, stepsRecorded, stepsApplied, pictures);
        EXPECT_EQ(failures, 0);
    }

    bool runSequence(const std::string& path, uint32_t seed) {
        rng.seed(seed);
        actions.clear();
        view->SetModified(false);
        view->m_strPendingOpen = path;
        if (view->OnFileOpen() != 1) {
            ADD_FAILURE() << path << " does not open";
            return false;
        }
        texts = {savedText(scene())};
        at = 0;
        try {
            const int wanted = 1 + pick(10);
            int recorded = 0;
            for (int tries = 0; recorded < wanted && tries < 60; ++tries) {
                if (chance(15)) {
                    undoOrRedo(chance(60));
                    continue;
                }
                const int before = at;
                const size_t models = texts.size();
                act();
                if (at > before || texts.size() != models) ++recorded;
            }
            while (at > 0) undoOrRedo(true);
            if (doc->CanUndo()) fail("Undo to the start leaves a step the model lacks");
            while (at + 1 < static_cast<int>(texts.size())) undoOrRedo(false);
            if (doc->CanRedo()) fail("Redo to the end leaves a step the model lacks");
            if (pictureEvery > 0 && seed % static_cast<uint32_t>(pictureEvery) == 0) comparePictures(path, seed);
        } catch (const SequenceFailure& failure) {
            // The next sequence edits in object mode.
            if (view->m_bAnimationMode) view->OnCommand(kv::ID_MODE_ANIMATION);
            std::string sequence;
            for (const std::string& a : actions) sequence += "  " + a + "\n";
            ADD_FAILURE() << "seed " << seed << " (" << path << "): " << failure.what << "\nsequence:\n"
                          << sequence;
            return false;
        }
        if (std::getenv("KV_UNDO_VERBOSE")) for (const std::string& a : actions) std::printf("%u: %s\n", seed, a.c_str());
        return true;
    }

    // Pixels of the view's picture (rows bottom-up) whose colour is off the
    // tool's picture (rows top-down) by more than slack in a channel; -1
    // when the sizes differ.
    static long differing(const Frame& shown, const RenderToolImage& tool, int slack) {
        if (tool.width != shown.width || tool.height != shown.height) return -1;
        long count = 0;
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x) {
                const RGBA v = shown.at(x, y), t = tool.at(x, shown.height - 1 - y);
                if (std::abs(v.r - t.r) > slack || std::abs(v.g - t.g) > slack || std::abs(v.b - t.b) > slack) ++count;
            }
        return count;
    }

    // The scene the sequence made, saved: at one frame the view shows what
    // the render tool draws of the file, and so does the view once the file
    // is opened again. A file holds six decimals, so the view's own picture
    // may be off by a shade where a dragged value was cut, and a pixel or two
    // may turn at an edge; the reopened view draws the file exactly.
    void comparePictures(const std::string& start, uint32_t seed) {
        if (window && window->IsOpen()) window->Close();
        // The files a scene names beside it go beside the saved copy, in a
        // folder of each start scene's own.
        const std::filesystem::path folder = std::filesystem::path(start).parent_path();
        const std::filesystem::path beside = std::filesystem::path(files.path()) / folder.filename();
        if (std::filesystem::create_directories(beside))
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                if (entry.is_regular_file() && entry.path().extension() != ".apn")
                    std::filesystem::copy_file(entry.path(), beside / entry.path().filename());
        const std::string saved = (beside / "sequence.apn").string();
        // The canvas takes the size it can: the test's drawable.
        view->OnSize(width_, height_);
        host.dialogPaths = {saved};
        if (view->OnFileSaveAs() != 1) fail("the scene as the sequence left it could not be saved");
        view->OnCommand(kv::ID_MODE_ANIMATION);
        const int shownFrame = pick(std::max(0, scene().getLastEventFrame()) + 1);
        actions.push_back("saved, animation mode, frame " + std::to_string(shownFrame));
        view->GoToFrame(shownFrame);
        const Frame shown = draw();
        view->m_strPendingOpen = saved;
        if (view->OnFileOpen() != 1) fail("the saved scene does not open");
        // An Open keeps the mode.
        if (!view->m_bAnimationMode) view->OnCommand(kv::ID_MODE_ANIMATION);
        view->GoToFrame(shownFrame);
        const Frame reopened = draw();
        // The next sequence edits in object mode.
        view->OnCommand(kv::ID_MODE_ANIMATION);
        ++pictures;

        RenderToolImage tool;
        const std::string base = testOutputDir() + "/undo-" + std::to_string(seed);
        if (!renderWithTool(saved, "--frame " + std::to_string(shownFrame) + " --aa " + std::to_string(view->m_nAntiAlias),
                            base + "-tool.png", tool))
            fail("the render tool drew no picture of the saved scene: " + tool.log);
        const long before = differing(shown, tool, kShade), after = differing(reopened, tool, 0);
        if (before >= 0 && before <= kTurnedPixels && after == 0) {
            std::filesystem::remove(base + "-tool.png");
            return;
        }
        writeFramePNG(shown, base + "-view.png");
        writeFramePNG(reopened, base + "-reopened.png");
        std::filesystem::copy_file(saved, base + ".apn", std::filesystem::copy_options::overwrite_existing);
        fail("at frame " + std::to_string(shownFrame) + " the render tool's picture of the saved file differs from the view's in " +
             std::to_string(before) + " pixels (beyond a shade) and from the reopened view's in " + std::to_string(after) +
             " (" + base + "-view.png, -reopened.png, -tool.png, .apn)");
    }

    [[noreturn]] void fail(const std::string& what) { throw SequenceFailure{what}; }

    // KV_UNDO_DUMP names a folder for the two texts of a failed comparison.
    static void dump(const std::string& expected, const std::string& actual) {
        const char* folder = std::getenv("KV_UNDO_DUMP");
        if (!folder) return;
        std::ofstream(std::string(folder) + "/expected.apn") << expected;
        std::ofstream(std::string(folder) + "/actual.apn") << actual;
    }

    int pick(int n) { return n <= 1 ? 0 : static_cast<int>(rng() % static_cast<uint32_t>(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    float between(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(pick(10001)) / 10000.0f; }
    // A value as an edit shows it: two decimals.
    float typed(float lo, float hi) { return std::round(between(lo, hi) * 100.0f) / 100.0f; }

    // ---- the model ----

    struct Mark {
        int count, index;
        const CUndoStep* current;
    };
    Mark mark() const {
        const CUndoHistory& h = doc->GetUndoHistory();
        return {h.GetCount(), h.GetCurrentIndex(), h.Current()};
    }
    // Steps pushed since the mark (the oldest may have dropped out meanwhile).
    int stepsSince(const Mark& m) const {
        const Mark now = mark();
        if (now.index > m.index) return now.index - m.index;
        if (now.index == m.index && now.current != m.current) return 1;
        if (now.index < m.index) throw SequenceFailure{"an action took steps out of the history"};
        return 0;
    }

    // One action: what it did is written down, then checked against the model.
    void act() {
        frame.calls.clear();
        const Mark before = mark();
        view->SetModified(false);
        const std::string was = texts[at];
        doAction();
        const std::string now = savedText(scene());
        const int steps = stepsSince(before);
        if (steps > 1) fail("one action recorded " + std::to_string(steps) + " steps");
        if (steps == 1) {
            ++stepsRecorded;
            if (now == was) fail("a recorded step changed nothing in the saved text");
            if (!view->m_bModified) fail("a recorded step left the scene unmodified");
            texts.resize(at + 1);
            texts.push_back(now);
            ++at;
        } else if (now != was) {
            fail("the saved text changed without an undo step: " + firstDifference(was, now));
        }
    }

    void undoOrRedo(bool undo) {
        frame.calls.clear();
        view->SetModified(false);
        const bool possible = undo ? doc->CanUndo() : doc->CanRedo();
        actions.push_back(undo ? "Undo" : "Redo");
        view->OnCommand(undo ? kv::ID_EDIT_UNDO : kv::ID_EDIT_REDO);
        const int next = undo ? at - 1 : at + 1;
        if (next < 0 || next >= static_cast<int>(texts.size())) {
            if (possible) fail(std::string(undo ? "Undo" : "Redo") + " possible where the model has no step");
            return;
        }
        if (!possible) fail(std::string(undo ? "Undo" : "Redo") + " refused where the model has a step");
        ++stepsApplied;
        at = next;
        const std::string now = savedText(scene());
        if (now != texts[at]) {
            dump(texts[at], now);
            fail(std::string(undo ? "Undo" : "Redo") + " did not give back the saved text: " +
                 firstDifference(texts[at], now));
        }
        if (!view->m_bModified) fail(std::string(undo ? "Undo" : "Redo") + " left the scene unmodified");
    }

    // ---- the actions ----

    pnObject* selected() const { return doc->m_pSelectedObject; }

    // The object chooser picks one object (sometimes keeps the selection).
    pnObject* chooseObject() {
        const int n = scene().getNumObjects();
        if (n == 0) return nullptr;
        if (!selected() || chance(70)) {
            const std::string name = scene().getObject(pick(n))->getName();
            actions.push_back("choose \"" + name + "\"");
            view->OnObjectChosen(name);
        }
        return selected();
    }

    void doAction() {
        switch (pick(20)) {
        case 0: add(); break;
        case 1:
            if (chooseObject()) actions.push_back("Delete key"), view->OnKeyDown(KV_KEY_DELETE);
            break;
        case 2:
            if (chooseObject()) actions.push_back("Cut"), view->OnCommand(kv::ID_EDIT_CUT);
            break;
        case 3:
            if (chooseObject() && (!doc->m_pClipboardObject || chance(50)))
                actions.push_back("Copy"), view->OnCommand(kv::ID_EDIT_COPY);
            actions.push_back("Paste");
            view->OnCommand(kv::ID_EDIT_PASTE);
            break;
        case 4:
            if (chooseObject()) drag();
            break;
        case 5: nudge(); break;
        case 6: transformField(false); break;
        case 7: transformField(true); break;
        case 8: multiDrag(); break;
        case 9:
        case 10:
        case 11: pageEdit(); break;
        case 12: materialEdit(); break;
        case 13:
        case 14: textureEdit(); break;
        case 15: cameraEdit(); break;
        case 16: backgroundEdit(); break;
        case 17: rename(); break;
        default: chartEdit(); break;
        }
    }

    void add() {
        actions.push_back("Add Panel, placed");
        view->OnCommand(kv::ID_ADD_PANEL);
        const int x = 100 + pick(380), y = 80 + pick(230);
        view->OnMouseMove(x - 5, y - 5, 0);
        view->OnMouseMove(x, y, 0);
        view->OnLButtonDown(x, y, 0);
        view->OnLButtonUp(x, y, 0);
    }

    void setMode() {
        const int mode = pick(3);
        view->OnCommand(kv::ID_MODE_MOVE + mode);
        for (int axis = 0; axis < 3; ++axis)
            if (chance(25)) view->OnCommand(kv::ID_AXIS_X + axis);
        actions.push_back(std::string(mode == 0 ? "move" : mode == 1 ? "scale" : "rotate") + " mode, axes " +
                          (view->m_bAxisX ? "X" : "") + (view->m_bAxisY ? "Y" : "") + (view->m_bAxisZ ? "Z" : ""));
    }

    void drag() {
        setMode();
        int x = pick(kDefaultSceneWidth), y = pick(kDefaultSceneHeight);
        std::string path = "drag from (" + std::to_string(x) + "," + std::to_string(y) + ")";
        view->OnLButtonDown(x, y, chance(10) ? KV_MOD_CTRL : 0);
        for (int i = 1 + pick(3); i > 0; --i) {
            x += pick(41) - 20;
            y += pick(41) - 20;
            path += " to (" + std::to_string(x) + "," + std::to_string(y) + ")";
            view->OnMouseMove(x, y, 0);
        }
        view->OnLButtonUp(x, y, 0);
        actions.push_back(path);
    }

    void nudge() {
        if (!chooseObject()) return;
        if (chance(30)) setMode();
        const int keys[] = {KV_KEY_LEFT, KV_KEY_RIGHT, KV_KEY_UP, KV_KEY_DOWN};
        const int key = keys[pick(4)];
        const int modifiers = chance(30) ? KV_MOD_CTRL : 0;
        actions.push_back("arrow key " + std::to_string(key) + (modifiers ? " with Ctrl" : ""));
        view->OnKeyDown(key, modifiers);
    }

    void selectAll(bool on) {
        if ((view->m_bSelectAll != 0) == on) return;
        actions.push_back(on ? "Select All" : "Select All off");
        view->OnSelectAll();
    }

    void transformField(bool together) {
        if (!chooseObject()) return;
        if (together) selectAll(true);
        const int field = pick(kTransformFieldCount);
        float value = 0.0f;
        if (field <= TF_POS_Z) value = typed(-300, 300);
        else if (field <= TF_SCALE_Z) value = typed(0.2f, 3.0f);
        else if (field == TF_ANGLE) value = typed(0, 360);
        else value = typed(0.1f, 1.0f);
        actions.push_back("Transformation field " + std::to_string(field) + " = " + std::to_string(value));
        // The bar records nothing for a value the object already holds.
        if (ObjectFieldValue(*selected(), field) != value) ApplyTransformField(*doc, *view, field, value);
        selectAll(false);
    }

    void multiDrag() {
        if (!chooseObject()) return;
        selectAll(true);
        setMode();
        int x = pick(kDefaultSceneWidth), y = pick(kDefaultSceneHeight);
        // A press on a member keeps the objects selected together; empty
        // space ends them.
        view->OnLButtonDown(x, y, 0);
        for (int i = 1 + pick(3); i > 0; --i) view->OnMouseMove(x += pick(41) - 20, y += pick(41) - 20, 0);
        view->OnLButtonUp(x, y, 0);
        actions.push_back("drag of the objects selected together, to (" + std::to_string(x) + "," +
                          std::to_string(y) + ")");
        selectAll(false);
    }

    // A page's handler: one bracket around the setter (pages::Change).
    void onPage(pnObject* object, const std::string& what, const std::function<void()>& change) {
        actions.push_back(what + " on the page of \"" + object->getName() + "\"");
        CEditScope edit(*view, object);
        change();
    }

    // The Name field of the object's page: a free name, or one another
    // object has (the page refuses it and suggests a free one).
    void rename() {
        pnObject* o = chooseObject();
        if (!o) return;
        const int n = scene().getNumObjects();
        std::string name = chance(20) ? scene().getObject(pick(n))->getName() : view->MakeUniqueObjectName("Renamed");
        if (!scene().isObjectNameFree(name.c_str())) name = view->MakeUniqueObjectName(name);
        actions.push_back("Name \"" + name + "\" on the page of \"" + o->getName() + "\"");
        view->RenameObject(o, name);
    }

    void pageEdit() {
        pnObject* o = chooseObject();
        if (!o) return;
        if (auto* t = pnKindCast<pnString>(o)) {
            textPage(t);
        } else if (auto* p = pnKindCast<pnPanel>(o)) {
            switch (pick(5)) {
            case 0: {
                // One of X, Y, Z typed; the taper follows a smaller X or Y.
                const int axis = pick(3);
                const float v = float(20 + pick(200));
                onPage(p, "Dimension " + std::to_string(axis) + " = " + std::to_string(v), [&] {
                    axis == 0 ? p->setDimensionX(v) : axis == 1 ? p->setDimensionY(v) : p->setDimensionZ(v);
                    bool cut = false;
                    const float taper = TaperAfterDimension(p->getBevel(), v, &cut);
                    if (axis < 2 && cut) p->setBevel(taper);
                });
                break;
            }
            case 1: onPage(p, "3D/2D", [&] { p->setKind(p->getKind() == 1 ? 0 : 1); }); break;
            case 2: {
                const sgVec3 d = p->getDimension();
                const float taper = ClampTaper(float(pick(40)), d[0], d[1]);
                if (taper != p->getBevel()) onPage(p, "Taper " + std::to_string(taper), [&] { p->setBevel(taper); });
                break;
            }
            default: textureRadio(o); break;
            }
        } else if (auto* m = pnKindCast<pnModel>(o)) {
            if (chance(50)) {
                // The model chooser: a stock model, stored under the program folder.
                static const char* const models[] = {"Models/1rect.3ds", "Models/2hemisph.3ds", "Models/1flag.3ds"};
                const std::string file = models[pick(3)];
                if (file != m->getFile()) onPage(m, "model file " + file, [&] { m->setFileName(file.c_str()); });
            } else {
                textureRadio(o);
            }
        } else if (o->isChart()) {
            chartEdit();
        } else {
            textureRadio(o);
        }
    }

    void textPage(pnString* t) {
        static const int sizes[] = {20, 24, 28, 32, 40, 48, 64, 72, 80, 96, 112};
        switch (pick(15)) {
        case 0: { const int s = sizes[pick(11)]; onPage(t, "Size " + std::to_string(s), [&] { t->setSize(float(s)); }); break; }
        case 1: { const int d = pick(60); onPage(t, "Extrusion " + std::to_string(d), [&] { t->setDepth(float(d)); }); break; }
        case 2: { const int g = pick(71) - 20; onPage(t, "Spacing " + std::to_string(g), [&] { t->setGap(float(g)); }); break; }
        case 3: onPage(t, "2D", [&] { t->setKind(t->getKind() == 1 ? 0 : 1); }); break;
        case 4: onPage(t, "Italic", [&] { t->setItalic(!t->getItalic()); }); break;
        case 5: { const int h = pick(3); onPage(t, "Origin " + std::to_string(h), [&] { t->setHJust(h); }); break; }
        case 6: {
            // The dialog's radio (none, edge, shadow), its values and, now
            // and then, a back material from the swatch.
            const int kind = pick(3);
            const EdgeShadowValues v = EdgeShadowApplied(kind, float(pick(4)), float(pick(7) - 3), float(pick(7) - 3));
            const int materials = scene().getNumMaterials();
            const std::string back = kind != 0 && materials > 0 && chance(50)
                                         ? scene().getMaterial(pick(materials))->getName() : std::string();
            onPage(t, "Edge/Shadow " + std::to_string(kind) + " OK" + (back.empty() ? "" : ", back \"" + back + "\""), [&] {
                t->setBorder(v.border);
                t->setHOffset(v.hOffset);
                t->setVOffset(v.vOffset);
                if (!back.empty()) t->setBackMaterial(back.c_str());
            });
            break;
        }
        case 7: { const int n = pick(100); onPage(t, "Input Text", [&] { t->setString(("Text " + std::to_string(n)).c_str()); }); break; }
        case 8: onPage(t, "Font", [&] { t->setFont(chance(50) ? "Arial" : "DejaVu Sans"); }); break;
        case 9: { const int r = 50 + pick(150); onPage(t, "Ratio " + std::to_string(r), [&] { t->setRatio(r * 0.01); }); break; }
        case 10: onPage(t, "Edge/Shadow Cancel", [] {}); break;
        case 11: { const int q = 1 + pick(10); onPage(t, "Quality " + std::to_string(q), [&] { t->setPrecision(PrecisionFromQuality(q)); }); break; }
        case 12: {
            const bool width = chance(50);
            const int position = pick(31);
            onPage(t, std::string(width ? "Bevel width" : "Bevel depth") + " spin " + std::to_string(position), [&] {
                width ? t->setBevelWidth(BevelOfSpin(position)) : t->setBevelDepth(BevelOfSpin(position));
            });
            break;
        }
        case 13: {
            // N Just. or W Just.: a box ticked with its value (the other
            // box's value goes with it), unticked, or a value typed.
            const bool n = chance(50);
            const int value = pick(3) == 0 ? 0 : 5 + pick(60);
            onPage(t, std::string(n ? "N Just. " : "W Just. ") + std::to_string(value), [&] {
                if (value != 0) n ? t->setWJust(0.0f) : t->setNJust(0.0f);
                n ? t->setNJust(float(value)) : t->setWJust(float(value));
            });
            break;
        }
        default: textureRadio(t); break;
        }
    }

    // The texture radios of the text, panel and model pages.
    void textureRadio(pnObject* o) {
        const int on = pick(2);
        if (pnIsKind(o, pnObjectKind::Panel)) {
            auto* p = static_cast<pnPanel*>(o);
            onPage(p, on ? "Texture On" : "Texture Off", [&] {
                p->setEachFaceFlag(on, on, on, on, on, on);
                if (on) p->setMode(1);
            });
        } else if (pnIsKind(o, pnObjectKind::String) || pnIsKind(o, pnObjectKind::Model)) {
            onPage(o, on ? "Texture On" : "Texture Off", [&] { o->setMode(on); });
        }
    }

    void materialEdit() {
        pnScene& s = scene();
        ChooserUi ui;
        CMaterialChooserLogic chooser(ui);
        chooser.SetOwner(false, 0);
        if (s.getNumMaterials() > 0) chooser.SetCurrentMaterial(pick(s.getNumMaterials()));
        // The editors change one of the material's values, or its name.
        const int value = pick(7), detailed = pick(2);
        const float r = between(0, 1), g = between(0, 1), b = between(0, 1);
        ui.answer = [&](MaterialEditValues& v) {
            float* colours[] = {v.ambient, v.diffuse, v.specular, v.emission};
            if (value < 4) colours[value][0] = r, colours[value][1] = g, colours[value][2] = b;
            if (value == 4) v.shininess = std::round(r * 128.0f);
            if (value == 5) v.alpha = std::round(r * 100.0f) / 100.0f;
            if (value < 6) v.flags[value] = 1;
            if (value == 6 || v.name.empty() || s.findMaterial(v.name.c_str())) v.name = view->MakeUniqueMaterialName("Mat");
        };
        switch (const int edit = pick(4)) {
        case 0:
        case 1: {
            const pnMaterial* current = s.getMaterial(chooser.GetMaterialIndex());
            actions.push_back(std::string("material chooser: ") + (edit == 0 ? "Add" : "Modify") + " from \"" +
                              (current ? current->getName() : std::string()) + "\", " +
                              (detailed ? "detailed, value " : "simple, value ") + std::to_string(value));
            edit == 0 ? chooser.Add(detailed) : chooser.Modify(detailed);
            break;
        }
        case 2: actions.push_back("material chooser: Delete"); chooser.Delete(); break;
        default: {
            pnObject* o = chooseObject();
            const pnMaterial* m = s.getNumMaterials() > 0 ? s.getMaterial(pick(s.getNumMaterials())) : nullptr;
            if (!o || !m) return;
            const std::string name = m->getName();
            // The chooser's message: the page sets a material the object lacks.
            if (name != o->getMaterialName()) onPage(o, "material \"" + name + "\"", [&] { o->setMaterial(name.c_str()); });
        }
        }
    }

    // The texture window of an object's page: 1 text, 3 model, 4 panel
    // (0: the object has none).
    static int textureWindowKind(const pnObject* o) {
        if (pnIsKind(o, pnObjectKind::String)) return 1;
        if (pnIsKind(o, pnObjectKind::Model)) return 3;
        if (pnIsKind(o, pnObjectKind::Panel)) return 4;
        return 0;
    }

    // The page's Texture button: the window loads the object's values as it
    // opens and works on that object until it closes or the view moves on.
    void openTextureWindow(pnObject* o, int kind) {
        if (window && window->IsOpen()) window->Close();
        window = std::make_unique<CTextureWindowModel>(kind);
        CTextureWindowModel& w = *window;
        w.m_strPath = o->getTexture();
        w.m_nFrames = std::max(1, o->getNumIndex());
        w.m_nTexMode = o->getTexMode() == 1 ? 1 : 0;
        const int mapping = o->getMode();
        if (auto* panel = pnKindCast<pnPanel>(o)) {
            panel->getFaceFlags(w.m_faces);
            w.m_bWrapping = mapping != 0 ? 1 : 0;
            const bool none = std::count(w.m_faces, w.m_faces + 6, 0) == 6;
            if (w.m_bWrapping || w.m_strPath.empty() || none) std::fill(w.m_faces, w.m_faces + 6, 1);
        }
        w.m_nMapping = mapping >= 1 && mapping <= 4 ? mapping : 1;
        w.Open(*view, *o);
        actions.push_back("Texture window of \"" + o->getName() + "\"");
    }

    void textureEdit() {
        // Mostly on in the window left open (its object is the selection).
        pnObject* o = window && window->IsOpen() && chance(70) ? window->Object() : chooseObject();
        const int kind = o ? textureWindowKind(o) : 0;
        if (!kind) return;
        // A window left open on the selection stays; another object's closed
        // with the selection change.
        if (!window || !window->IsOpen() || window->Object() != o || chance(15)) openTextureWindow(o, kind);
        CTextureWindowModel& w = *window;
        auto apply = [&](const std::string& what) {
            actions.push_back("texture window: " + what);
            w.Apply();
        };
        int edit = pick(kind == 4 ? 12 : 10);
        // The tools move nothing without a wrapping: give the object one often.
        if (o->getMode() == 0 && chance(40)) edit = pick(2);
        switch (edit) {
        case 0: w.m_strPath = texture; apply("image file chosen"); break;
        case 1: w.m_nMapping = 1 + pick(4); apply("wrapping " + std::to_string(w.m_nMapping)); break;
        case 2: w.m_nTexMode = pick(2); apply(w.m_nTexMode ? "Sequence" : "Single"); break;
        case 3: w.m_nFrames = 1 + pick(30); apply("frames " + std::to_string(w.m_nFrames)); break;
        case 4: apply("frame spin at its end, or focus loss"); break;
        case 5: {
            const auto tool = static_cast<CTextureWindowModel::Tool>(1 + pick(3));
            w.SetTool(tool, true);
            actions.push_back("texture window: tool " + std::to_string(tool) + " on");
            drag();
            w.SetTool(tool, false);
            break;
        }
        case 6: {
            const auto tool = static_cast<CTextureWindowModel::Tool>(1 + pick(3));
            const float u = typed(-1, 1), v = typed(-1, 1);
            w.SetTool(tool, true);
            actions.push_back("texture window: tool " + std::to_string(tool) + ", U " + std::to_string(u) +
                              " V " + std::to_string(v) + " typed");
            w.SetTerms(u, v);
            break;
        }
        case 7: actions.push_back("texture window: Reset"); w.Reset(); break;
        case 8:
        case 9: actions.push_back("texture window: Close"); w.Close(); return;
        case 10: w.m_bWrapping = pick(2); apply(w.m_bWrapping ? "Wrapping" : "Per Face"); break;
        default: {
            const int face = pick(6);
            w.m_faces[face] = !w.m_faces[face];
            w.m_bWrapping = 0;
            apply("face " + std::to_string(face) + (w.m_faces[face] ? " on" : " off"));
            break;
        }
        }
        if (w.IsOpen() && chance(25)) {
            actions.push_back("texture window: Close");
            w.Close();
        }
    }

    void cameraEdit() {
        CCameraPageLogic camera;
        camera.LoadViewpoint();
        switch (pick(7)) {
        case 0: { const int fov = 5 + pick(80); actions.push_back("camera FOV " + std::to_string(fov)); camera.OnFovCommit(std::to_string(fov)); break; }
        case 1: { const int w = 100 + pick(1500); actions.push_back("camera width " + std::to_string(w)); camera.OnWidthCommit(std::to_string(w)); break; }
        case 2: { const int d = 200 + pick(2000); actions.push_back("camera distance " + std::to_string(d)); camera.OnDistanceCommit(std::to_string(d)); break; }
        case 3: actions.push_back("camera Reset"); camera.OnReset(); break;
        case 4: actions.push_back("camera Orthographic"); camera.OnOrthographic(); break;
        case 5: actions.push_back("camera Perspective"); camera.OnPerspective(); break;
        default: {
            const int moves = pick(3);
            actions.push_back("camera FOV slider held, " + std::to_string(moves) + " moves");
            camera.OnSliderPressed();
            for (int i = 0; i < moves; ++i) camera.OnFovScroll(5 + pick(80));
            camera.OnSliderReleased();
            break;
        }
        }
    }

    void backgroundEdit() {
        if (chance(30)) {
            host.dialogPaths = {texture};
            actions.push_back("Background Texture");
            view->OnBackgroundTexture();
            host.dialogPaths.clear();
            return;
        }
        ColorDialogRequest answer;
        answer.color[0] = between(0, 1);
        answer.color[1] = between(0, 1);
        answer.color[2] = between(0, 1);
        answer.transparency = chance(70) ? 1.0f : between(0, 1);
        host.colorAnswers.push_back(answer);
        actions.push_back("Background Color");
        view->OnBackgroundColor();
        host.colorAnswers.clear();
    }

    void chartEdit() {
        std::vector<pnChart*> charts;
        for (int i = 0; i < scene().getNumObjects(); ++i)
            if (auto* c = pnKindCast<pnChart>(scene().getObject(i))) charts.push_back(c);
        if (charts.empty()) return;
        pnChart* chart = charts[pick(static_cast<int>(charts.size()))];
        if (selected() != chart) {
            actions.push_back("choose \"" + chart->getName() + "\"");
            view->OnObjectChosen(chart->getName());
        }
        const bool pie = pnIsKind(chart, pnObjectKind::PieChart);
        switch (pick(8)) {
        case 0:
            actions.push_back(pie ? "Add Slice" : "Add Column");
            pie ? AddSlice(*view, chart) : AddColumn(*view, chart);
            break;
        case 1:
            if (pie) {
                const int field = pick(4);
                const float value = float(pick(120));
                actions.push_back("pie ring field " + std::to_string(field) + " = " + std::to_string(value));
                ApplyPieRing(*view, chart, static_cast<PieRingField>(field), value);
            } else {
                const int lo = pick(50), hi = lo + 1 + pick(200);
                actions.push_back("Limit Height " + std::to_string(lo) + ".." + std::to_string(hi));
                LimitHeight(*view, chart, lo, hi);
            }
            break;
        case 2: {
            const int index = pick(scene().getNumMaterials());
            const bool joint = pnIsKind(chart, pnObjectKind::LineChart) && chance(40);
            actions.push_back(std::string(joint ? "joint" : "chart") + " material " + std::to_string(index));
            SetChartMaterial(*view, chart, index, joint);
            break;
        }
        case 3:
            if (pie && chance(50)) {
                // The pie page's check box.
                const int on = !chart->getShowSide();
                actions.push_back(on ? "Side Faces on" : "Side Faces off");
                EditChart(*view, chart, [&] { chart->setShowSide(on); });
            } else if (!pie) {
                actions.push_back("Delete Column");
                doc->m_nSelectedDataPt = pick(chart->getNumDataPts());
                view->OnDeleteColumn();
            }
            break;
        case 4: chartPage(chart); break;
        case 5: chartData(chart); break;
        default: labelProperty(chart); break;
        }
    }

    // A field, choice or shape of the chart's page, as its type shows them.
    void chartPage(pnChart* chart) {
        const pnObjectKind kind = pnKindOf(chart);
        const bool pie = kind == pnObjectKind::PieChart, line = kind == pnObjectKind::LineChart;
        const bool area = kind == pnObjectKind::VolumeChart, bar = kind == pnObjectKind::BarChart;
        auto edit = [&](const std::string& what, const std::function<void()>& change) {
            actions.push_back(what + " on the page of \"" + chart->getName() + "\"");
            EditChart(*view, chart, change);
        };
        const float v = typed(0.2f, 3.0f);
        switch (pick(7)) {
        case 0:
            if (pie) {
                const int angle = pick(360);
                edit("Start Angle " + std::to_string(angle), [&] { chart->setStartAngle(angle); });
            } else {
                const float d = float(pick(60));
                edit("Spacing " + std::to_string(d), [&] { chart->setSpacingDistance(d); });
            }
            break;
        case 1:
            if (!pie) edit("Scale Ht. " + std::to_string(v), [&] { chart->setHeightScale(v); });
            break;
        case 2:
            if (bar || line) edit("Width " + std::to_string(v), [&] { chart->setBaseScaleX(v); });
            else if (area) edit("Depth " + std::to_string(v * 20), [&] { chart->setDepth(v * 20); });
            break;
        case 3:
            if (bar || line) edit("Depth " + std::to_string(v), [&] { chart->setBaseScaleZ(v); });
            break;
        case 4: {
            const int index = pick(pie ? 2 : 3);
            if (pie) edit("Direction " + std::to_string(index), [&] { chart->setRotDirection(index); });
            else if (const int e = pick(4); bar && chance(50)) edit("Direction " + std::to_string(e), [&] { chart->setExpansion(e); });
            else edit("Origin " + std::to_string(index), [&] { chart->setHJust(index); });
            break;
        }
        case 5:
            if (line) edit("Joint Scale " + std::to_string(v), [&] { chart->setJointScaleXYZ(v, v, v); });
            break;
        default:
            if (bar || line) {
                // The Cut Shape or Joint chooser's pick.
                static const char* const shapes[] = {"5gon.3ds", "heart.3ds", "cyl5x.3ds", "circle.3ds"};
                const bool joint = line && chance(40);
                const std::string file = app.GetProgramDir() + "/ChartSlices/" + shapes[pick(4)];
                actions.push_back(std::string(joint ? "Joint" : "Cut Shape") + " " + file);
                SetChartShape(*view, chart, app.GetStartDir(), file, joint);
            }
            break;
        }
    }

    // The Graph Data dialog of the chart's point (a double-click on one of
    // its parts): a few fields change, then OK.
    void chartData(pnChart* chart) {
        const int points = chart->getNumDataPts();
        if (points == 0) return;
        const pnObjectKind kind = pnKindOf(chart);
        const DataDialogKind dialog = kind == pnObjectKind::PieChart    ? DataDialogKind::Pie
                                      : kind == pnObjectKind::LineChart ? DataDialogKind::Line
                                      : kind == pnObjectKind::VolumeChart ? DataDialogKind::Area
                                                                          : DataDialogKind::Bar;
        const int point = pick(points);
        const int field = pick(6);
        const int materials = scene().getNumMaterials();
        const std::string material = materials > 0 ? scene().getMaterial(pick(materials))->getName() : std::string();
        const std::string number = std::to_string(pick(90) + 1);
        const int column = pick(2);
        host.duringChartDialog = [&](ChartDialog which) {
            if (which != ChartDialog::Data) return;
            ChartDataForm form;
            if (!LoadChartData(*chart, doc->m_nSelectedDataPt, dialog, form)) return;
            const int c = form.p[1] >= 0 ? column : 0;
            switch (field) {
            case 0: form.label[c].text = "L" + number; break;
            case 1: form.value[c].text = number; break;
            case 2: form.height[c].text = number; break;
            case 3:
                if (dialog == DataDialogKind::Line || dialog == DataDialogKind::Pie) form.offset[c][pick(3)].text = number;
                else form.spacing[c].text = number;
                break;
            case 4:
                if (dialog == DataDialogKind::Pie) {
                    form.depthOn = !form.depthOn;
                    form.depth.text = number;
                } else if (dialog == DataDialogKind::Line && !material.empty()) {
                    form.jointMaterial = material;
                }
                break;
            default:
                if (!material.empty()) form.material = material;
                break;
            }
            ChartDataOk(*view, *chart, form);
        };
        doc->m_nSelectedDataPt = point;
        actions.push_back("Graph Data of point " + std::to_string(point) + ", field " + std::to_string(field) + " = " +
                          number + " (column " + std::to_string(column) + ", material \"" + material + "\"), OK");
        view->OnChartDialog(ChartDialog::Data);
        host.duringChartDialog = nullptr;
    }

    // The Label or Value Property dialog from the view's command: it loads, a
    // few fields change (its Edge/Shadow button writes at once), then OK or
    // Cancel.
    void labelProperty(pnChart* chart) {
        const int kind = 1 + pick(2);
        const bool ok = chance(80);
        const int field = pick(12);
        const int size = 12 + pick(40);
        const int materials = scene().getNumMaterials();
        const std::string material = materials > 0 ? scene().getMaterial(pick(materials))->getName() : std::string();
        const int value = pick(60);
        host.duringChartDialog = [&](ChartDialog) {
            // The dialog's step is open from before it loads to its end.
            CEditScope dialog(*view, chart);
            LabelPropertyForm form;
            LoadLabelProperty(scene(), *chart, kind, form);
            switch (field) {
            case 0: form.size = std::to_string(size); break;
            case 1: form.italic = !form.italic; break;
            case 2: form.twoD = !form.twoD; break;
            case 3: form.show = !form.show; break;
            case 4: form.font = form.font == "Arial" ? "DejaVu Sans" : "Arial"; break;
            case 5: form.spacing = value - 20; break;
            case 6: form.bevelWidth = std::to_string(value / 10) + ".0", form.bevelHeight = std::to_string(value % 7) + ".5"; break;
            case 7: form.quality = std::to_string(1 + value % 10), form.ratio = 50 + value; break;
            case 8: form.extrusion = value, form.origin = value % 3; break;
            case 9: TickJust(form, value % 2 == 0, true), (value % 2 == 0 ? form.nValue : form.wValue) = 5 + value; break;
            case 10:
                if (!material.empty()) form.material = material, form.materialChosen = true;
                break;
            default:
                // Edge/Shadow: the style's edge or shadow and the chart's back
                // material, written as the button's dialog closes.
                if (form.style) {
                    const EdgeShadowValues v = EdgeShadowApplied(1 + value % 2, float(value % 4), float(value % 5 - 2), 2.0f);
                    form.style->setBorder(v.border);
                    form.style->setHOffset(v.hOffset);
                    form.style->setVOffset(v.vOffset);
                    form.style->setKind(0);
                    if (!material.empty())
                        kind == 1 ? chart->setLabelBackMaterialName(material.c_str())
                                  : chart->setDataBackMaterialName(material.c_str());
                    scene().updateStringsUsingProperty(form.style);
                }
                break;
            }
            ok ? LabelPropertyOk(*view, *chart, form) : LabelPropertyCancel(*view, *chart, form);
        };
        actions.push_back(std::string(kind == 1 ? "Label" : "Value") + " Property, field " + std::to_string(field) +
                          " (size " + std::to_string(size) + ", value " + std::to_string(value) + ", material \"" +
                          material + "\")" + (ok ? ", OK" : ", Cancel"));
        view->OnCommand(kind == 1 ? kv::ID_LABEL_PROPERTY : kv::ID_VALUE_PROPERTY);
        host.duringChartDialog = nullptr;
    }

    RecordingFrame frame;
    PanelCreator creator;
    TempDir files{"kv-undo-model"};
    std::string texture;
    std::unique_ptr<CTextureWindowModel> window;
    std::mt19937 rng;
    std::vector<std::string> actions;
    std::vector<std::string> texts;  // the saved text after each recorded step
    int at = 0;                      // the model's current step
    int stepsRecorded = 0, stepsApplied = 0, pictures = 0;
    int pictureEvery = 0;
};

}  // namespace

// Each scene's sequences run as a few tests, so that no one test runs long.
#define UNDO_SCENE(name, file, sequences)                                                      \
    TEST_F(UndoModelTest, name##FirstHalf) { runScene(file, 0, 2, sequences); }              \
    TEST_F(UndoModelTest, name##SecondHalf) { runScene(file, 1, 2, sequences); }

UNDO_SCENE(AllCharts, "data/scenes/allcharts.apn", 46)
UNDO_SCENE(BarChart, "data/scenes/barchart.apn", 46)
UNDO_SCENE(Counter, "data/scenes/counter.apn", 46)
UNDO_SCENE(LineChart, "data/scenes/linechart.apn", 46)
UNDO_SCENE(Pie, "data/scenes/pie.apn", 46)
UNDO_SCENE(Pyramid, "data/scenes/pyramid.apn", 46)
UNDO_SCENE(Titles, "data/scenes/titles.apn", 46)
// A model whose file is missing, with an event of other objects under its own.
UNDO_SCENE(MissingModel, "tests/properties/scenes/missing-model.apn", 40)
// Every field of every object kind and chart kind away from its default: a
// copy that forgets one fails at the first Undo or Redo of a step on it.
UNDO_SCENE(CanonicalObjects, "tests/scenefile/canonical/objects.apn", 50)
UNDO_SCENE(CanonicalCharts, "tests/scenefile/canonical/charts.apn", 40)
