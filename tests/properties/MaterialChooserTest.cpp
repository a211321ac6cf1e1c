// The material chooser's rules and the colour editors' rules on a headless
// view: pages, choosing, Enter, Add/Modify/Delete as undo steps, the editors'
// sliders, palette and edits, and the background colour command.
#include "editor/CUndoHistory.h"
#include "charts/pnBarChart.h"
#include "charts/pnLineChart.h"
#include "scene/pnBackground.h"
#include "scene/pnCounter.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnString.h"
#include "tests/app/ViewFixture.h"
#include "ui/properties/rules/CMaterialChooserLogic.h"
#include "ui/properties/rules/ColorEditLogic.h"
#include "ui/properties/rules/PrivateMessages.h"

#include <functional>
#include <tuple>

namespace {

struct FakeChooserUi : CMaterialChooserUi {
    void HideChooser() override { shown = false; }
    void ShowChooser() override { shown = true; }
    bool EnterKeyDown() const override { return enterDown; }
    bool RunSimpleEditor(MaterialEditValues& v) override { return run(v, "simple"); }
    bool RunDetailedEditor(MaterialEditValues& v) override { return run(v, "detailed"); }
    void NotifyOwner(int message, int id, int index) override { notes.emplace_back(message, id, index); }
    void RefreshChooser() override { ++refreshes; }
    bool run(MaterialEditValues& v, const char* which) {
        editors.push_back(which);
        given = v;
        if (!answer) return false;
        answer(v);
        return true;
    }
    bool shown = true;
    bool enterDown = false;  // the editor closed with Enter, still held
    int refreshes = 0;
    std::vector<std::tuple<int, int, int>> notes;
    std::vector<std::string> editors;
    MaterialEditValues given;
    std::function<void(MaterialEditValues&)> answer;  // empty: Cancel
};

class ChooserTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        create();
        logic.SetOwner(true, 1234);
    }
    // Exactly n materials "M0".."Mn-1", M0 oldest.
    void materials(int n) {
        while (scene().getNumMaterials() > 0) {
            pnMaterial* m = scene().getMaterial(0);
            scene().deleteAMaterialFromScene(m);
            delete m;
        }
        for (int i = 0; i < n; ++i) {
            auto* m = new pnMaterial;
            m->setName(("M" + std::to_string(i)).c_str());
            m->setDiffuse(i / 40.0f, 0.5f, 0.5f);
            ASSERT_TRUE(scene().addAMaterialToScene(m));
        }
    }
    std::string nameAt(int index) { return scene().getMaterial(index)->getName(); }
    // The centre of a cell of the page shown.
    static int cx(int cell) { return 40 * (cell % 4) + 20; }
    static int cy(int cell) { return 40 * (cell / 4) + 20; }
    // A click on the cell of the material at a list index.
    void select(int index) {
        const int grid = logic.MaterialIndexOfGrid(0) - index;
        logic.m_nPage = grid / CMaterialChooserLogic::kCellsPerPage;
        const int cell = grid % CMaterialChooserLogic::kCellsPerPage;
        ASSERT_TRUE(logic.Click(cx(cell), cy(cell))) << index;
    }

    FakeChooserUi ui;
    CMaterialChooserLogic logic{ui};
};

}  // namespace

TEST_F(ChooserTest, PagesShowNewestFirstAndEmptyCellsChangeNothing) {
    for (int n : {16, 17, 33}) {
        materials(n);
        logic.m_nPage = 0;
        logic.SetCurrentMaterial(-1);
        EXPECT_EQ(logic.m_strName, "M" + std::to_string(n - 1)) << n;
        EXPECT_EQ(logic.GetMaterialIndex(), n - 1) << "newest top left";
        EXPECT_EQ(logic.CanGoOn(), n > 16) << n;
        int pages = 1;
        while (logic.CanGoOn()) {
            logic.NextPage();
            ++pages;
        }
        EXPECT_EQ(pages, (n + 15) / 16);
        EXPECT_FALSE(logic.CanGoOn());
        // The last page: its first cell is the oldest materials' page.
        ASSERT_TRUE(logic.Click(cx(0), cy(0)));
        EXPECT_EQ(logic.GetMaterialIndex(), n - 16 * (pages - 1) - 1);
        EXPECT_EQ(logic.m_strName, nameAt(logic.GetMaterialIndex()));
        const int selected = logic.m_nSelected;
        const int emptyCell = n - 16 * (pages - 1);
        if (emptyCell < 16) {
            EXPECT_FALSE(logic.Click(cx(emptyCell), cy(emptyCell))) << n;
            EXPECT_FALSE(logic.DoubleClick(cx(emptyCell), cy(emptyCell))) << n;
            EXPECT_EQ(logic.m_nSelected, selected);
        }
        EXPECT_TRUE(ui.notes.empty());
    }
}

TEST_F(ChooserTest, ChoosingTellsTheOwnerOnlyOfAnotherMaterialAndEnterChoosesOncePerPress) {
    materials(20);
    logic.SetCurrentMaterial(12);
    EXPECT_EQ(logic.m_nSelected, 7);
    EXPECT_EQ(logic.m_strName, "M12");
    ASSERT_TRUE(logic.DoubleClick(cx(7), cy(7)));
    EXPECT_TRUE(ui.notes.empty()) << "the owner's own material";
    EXPECT_FALSE(ui.shown);

    ui.shown = true;
    ASSERT_TRUE(logic.DoubleClick(cx(2), cy(2)));
    ASSERT_EQ(ui.notes.size(), 1u);
    EXPECT_EQ(ui.notes[0], std::make_tuple(int(WM_MATERIAL_CHOSEN), 1234, 17));

    // Down (with the character it makes) and up: one choice.
    ui.notes.clear();
    logic.Click(cx(3), cy(3));
    EXPECT_TRUE(logic.OnEnterKey(false));
    EXPECT_FALSE(logic.OnEnterKey(true));
    EXPECT_EQ(ui.notes.size(), 1u);

    // Enter closing a nested editor chooses nothing, its repeat neither; the
    // next Enter does.
    ui.notes.clear();
    ui.answer = [](MaterialEditValues& v) { v.name = "Fresh"; };
    ui.enterDown = true;
    logic.Add(0);
    EXPECT_FALSE(logic.OnEnterKey(false)) << "a repeat of the editor's Enter";
    EXPECT_FALSE(logic.OnEnterKey(true)) << "the release of the editor's Enter";
    EXPECT_TRUE(ui.notes.empty());
    EXPECT_TRUE(logic.OnEnterKey(false));
    EXPECT_EQ(ui.notes.size(), 1u);

    // An editor closed with the mouse leaves no press: the first Enter chooses.
    ui.notes.clear();
    ui.enterDown = false;
    ui.answer = [](MaterialEditValues& v) { v.name = "Clicked"; };
    logic.Modify(0);
    ASSERT_TRUE(ui.shown);
    ui.notes.clear();  // the owner heard of the modified material
    logic.Click(cx(2), cy(2));
    EXPECT_TRUE(logic.OnEnterKey(false)) << "the Enter after an editor closed with the mouse was swallowed";
    ASSERT_EQ(ui.notes.size(), 1u);
    EXPECT_EQ(std::get<0>(ui.notes[0]), int(WM_MATERIAL_CHOSEN));

    // Without an owner nothing is sent and the chooser stays.
    CMaterialChooserLogic lone(ui);
    lone.SetCurrentMaterial(3);
    lone.Click(cx(0), cy(0));
    ui.shown = true;
    ui.notes.clear();
    lone.Choose();
    EXPECT_TRUE(ui.notes.empty());
    EXPECT_TRUE(ui.shown);
}

TEST_F(ChooserTest, AddModifyAndDeleteAreUndoStepsThatKeepListPositions) {
    materials(17);
    logic.SetCurrentMaterial(-1);
    const int steps = doc->GetUndoHistory().GetCount();

    // Simple Add from the newest material.
    ui.answer = [](MaterialEditValues& v) {
        v.diffuse[0] = 0.5f, v.diffuse[1] = 0.4f, v.diffuse[2] = 1.0f;
        v.alpha = 0.25f;
        v.name = "Fresh";
    };
    logic.Add(0);
    EXPECT_EQ(ui.editors.back(), "simple");
    EXPECT_EQ(ui.given.name, "M16") << "the editor starts from the source";
    ASSERT_EQ(scene().getNumMaterials(), 18);
    pnMaterial* fresh = scene().getMaterial(17);
    EXPECT_EQ(fresh->getName(), "Fresh");
    EXPECT_FLOAT_EQ(fresh->getAmbient()[2], 0.1f);
    EXPECT_FLOAT_EQ(fresh->getSpecular()[0], 1.0f);
    EXPECT_FLOAT_EQ(fresh->getShininess(), 60.0f);
    EXPECT_FLOAT_EQ(fresh->getAlpha(), 0.25f);
    EXPECT_EQ(logic.GetMaterialIndex(), 17);
    EXPECT_EQ(logic.m_nPage, 0);
    EXPECT_TRUE(ui.shown);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);

    // A taken name is refused: nothing added, nothing recorded.
    ui.answer = [](MaterialEditValues& v) { v.name = "M3"; };
    logic.Add(1);
    EXPECT_EQ(scene().getNumMaterials(), 18);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);
    EXPECT_TRUE(ui.shown);

    // Detailed Modify of M5: only diffuse given; the rest take the defaults.
    logic.Click(cx(12), cy(12));  // grid 12 = index 5
    ASSERT_EQ(logic.GetMaterialIndex(), 5);
    ui.answer = [](MaterialEditValues& v) {
        for (int& f : v.flags) f = 0;
        v.flags[MaterialEditValues::DIFFUSE] = 1;
        v.diffuse[0] = 0.9f, v.diffuse[1] = 0.1f, v.diffuse[2] = 0.2f;
        v.name = "ignored";
    };
    logic.Modify(1);
    pnMaterial* m5 = scene().getMaterial(5);
    EXPECT_EQ(m5->getName(), "M5");
    EXPECT_FLOAT_EQ(m5->getDiffuse()[0], 0.9f);
    EXPECT_FLOAT_EQ(m5->getAmbient()[0], 0.2f);
    EXPECT_FLOAT_EQ(m5->getSpecular()[1], 0.0f) << "what a saved scene gives an unticked specular";
    EXPECT_EQ(m5->getSetFlag(pnMaterial::DIFFUSE_FLAG), 1);
    EXPECT_EQ(m5->getSetFlag(pnMaterial::SPECULAR_FLAG), 0);
    ASSERT_FALSE(ui.notes.empty());
    EXPECT_EQ(ui.notes.back(), std::make_tuple(int(WM_MATERIAL_MODIFIED), 1234, 5));

}

// What the detailed editor previews for a component left unticked is what its
// Modify then stores: the editor run inside the chooser's Modify, every box
// unticked.
TEST_F(ChooserTest, DetailedModifyStoresWhatThePreviewShowed) {
    materials(3);
    logic.SetCurrentMaterial(-1);
    logic.Click(cx(0), cy(0));  // the newest
    const int index = logic.GetMaterialIndex();
    ASSERT_GE(index, 0);
    MaterialPreviewState shown;
    ui.answer = [&](MaterialEditValues& v) {
        CMaterialDetailLogic d;
        d.SetColor(CMaterialDetailLogic::AMBIENT, v.ambient[0], v.ambient[1], v.ambient[2]);
        d.SetColor(CMaterialDetailLogic::DIFFUSE, v.diffuse[0], v.diffuse[1], v.diffuse[2]);
        d.SetColor(CMaterialDetailLogic::SPECULAR, 0.1f, 0.2f, 0.3f);
        d.SetColor(CMaterialDetailLogic::EMISSION, 0.3f, 0.2f, 0.1f);
        d.Init();
        for (int c = 0; c < CMaterialDetailLogic::NUM; ++c) d.OnFlag(c, 0);
        shown = d.m_preview;
        for (int& f : v.flags) f = 0;
    };
    logic.Modify(1);
    const pnMaterial* m = scene().getMaterial(index);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(m->getAmbient()[i], shown.ambient[i]) << i;
        EXPECT_FLOAT_EQ(m->getDiffuse()[i], shown.diffuse[i]) << i;
        EXPECT_FLOAT_EQ(m->getSpecular()[i], shown.specular[i]) << i;
        EXPECT_FLOAT_EQ(m->getEmission()[i], shown.emission[i]) << i;
    }
    EXPECT_FLOAT_EQ(m->getShininess(), shown.shininess);
    EXPECT_FLOAT_EQ(m->getAlpha(), shown.opacity);
}

TEST_F(ChooserTest, DeletingPagesBackAndUndoRestoresPositions) {
    materials(17);
    logic.SetCurrentMaterial(-1);
    logic.NextPage();
    ASSERT_TRUE(logic.Click(cx(0), cy(0)));
    ASSERT_EQ(nameAt(logic.GetMaterialIndex()), "M0");
    logic.Delete();
    EXPECT_EQ(scene().getNumMaterials(), 16);
    EXPECT_EQ(logic.m_nPage, 0) << "the last page's only material went";
    // The oldest material left takes the selection: Add and Modify go on.
    EXPECT_EQ(nameAt(logic.GetMaterialIndex()), "M1");
    EXPECT_EQ(logic.m_strName, "M1");
    EXPECT_FALSE(logic.CanGoOn());

    // Delete in the middle, then undo and redo both: positions hold.
    ASSERT_TRUE(logic.Click(cx(10), cy(10)));  // index 5 of 16 = M6
    ASSERT_EQ(nameAt(logic.GetMaterialIndex()), "M6");
    logic.Delete();
    EXPECT_EQ(nameAt(5), "M7");
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(nameAt(5), "M6");
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(nameAt(0), "M0") << "the first deletion undone in place";
    ASSERT_EQ(view->OnEditRedo(), 1);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(nameAt(5), "M7");
    EXPECT_EQ(scene().getNumMaterials(), 15);
}

TEST_F(ChooserTest, UndoTakesAnAddedMaterialOutAndAModificationBack) {
    materials(3);
    logic.SetCurrentMaterial(1);
    ui.answer = [](MaterialEditValues& v) { v.diffuse[0] = 0.0f, v.diffuse[1] = 1.0f, v.diffuse[2] = 0.0f; };
    logic.Modify(0);
    EXPECT_FLOAT_EQ(scene().getMaterial(1)->getDiffuse()[1], 1.0f);
    ui.answer = [](MaterialEditValues& v) { v.name = "Added"; };
    logic.Add(0);
    ASSERT_EQ(scene().getNumMaterials(), 4);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().getNumMaterials(), 3);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(scene().getMaterial(1)->getDiffuse()[1], 0.5f);
    EXPECT_EQ(nameAt(1), "M1");
    ASSERT_EQ(view->OnEditRedo(), 1);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(nameAt(3), "Added");
    // Cancel changes nothing and the chooser shows again.
    ui.answer = nullptr;
    logic.Modify(1);
    EXPECT_TRUE(ui.shown);
    EXPECT_EQ(doc->GetUndoHistory().GetCurrentIndex(), doc->GetUndoHistory().GetCount() - 1);
}

TEST_F(ChooserTest, MaterialsInUseAreNotDeletedAndTheUserIsTold) {
    materials(4);
    addSlantedPlate();
    scene().findObject("plate")->setMaterial("M3");
    ASSERT_GT(scene().getNumLights(), 0);
    pnLight* light = scene().getLight(0);
    light->setMaterial("M3");
    struct Case {
        const char* material;
        std::string message;
    };
    // Used by the plate and the light: the object is named; by the light
    // alone: the light.
    const Case cases[] = {
        {"M3", "Not deleted due to being used by an Object."},
        {"M2", "Not deleted due to being used by the Light, " + light->getName() + "."},
    };
    for (const Case& c : cases) {
        light->setMaterial(c.material);
        logic.SetCurrentMaterial(scene().findMaterialIndex(c.material));
        host.messages.clear();
        logic.Delete();
        ASSERT_EQ(host.messages.size(), 1u) << c.material;
        EXPECT_EQ(host.messages[0].text, c.message);
        EXPECT_EQ(host.messages[0].caption, "Error");
        EXPECT_EQ(host.messages[0].style, KV_MB_ICONWARNING);
        EXPECT_TRUE(scene().materialExists(c.material));
        EXPECT_TRUE(ui.shown);
    }
}

TEST_F(ChooserTest, DetailedEditorSlidersPaletteAndEdits) {
    CMaterialDetailLogic d;
    d.SetColor(CMaterialDetailLogic::AMBIENT, 0, 0, 0);
    d.SetColor(CMaterialDetailLogic::DIFFUSE, 0.4f, 0.2f, 0.0f);
    d.m_fShininess = 128;
    d.m_fTransparency = 0.5f;
    d.Init();
    EXPECT_EQ(d.m_pos[CMaterialDetailLogic::AMBIENT], 0);
    EXPECT_EQ(d.m_text[CMaterialDetailLogic::AMBIENT], "0.00");
    EXPECT_FLOAT_EQ(d.m_norm[CMaterialDetailLogic::AMBIENT][1], 1.0f) << "black normalises to white";
    EXPECT_EQ(d.m_pos[CMaterialDetailLogic::DIFFUSE], 400);
    EXPECT_EQ(d.m_pos[CMaterialDetailLogic::SHININESS], 1000);
    EXPECT_EQ(d.m_text[CMaterialDetailLogic::SHININESS], "128");
    EXPECT_EQ(d.m_pos[CMaterialDetailLogic::TRANSPARENCY], 500);

    // A later brightness move brightens white.
    d.OnRamp(9531, 300);
    EXPECT_FLOAT_EQ(d.m_raw[CMaterialDetailLogic::AMBIENT][2], 0.3f);
    d.OnRamp(9535, 500);
    EXPECT_FLOAT_EQ(d.m_fShininess, 64.0f);
    EXPECT_EQ(d.m_text[CMaterialDetailLogic::SHININESS], "64");
    d.OnRamp(9536, 250);
    EXPECT_EQ(d.m_text[CMaterialDetailLogic::TRANSPARENCY], "0.250000");

    // No palette target: a pick changes no colour.
    const float blue[3] = {0, 0, 1};
    const float before = d.m_raw[CMaterialDetailLogic::DIFFUSE][0];
    d.OnPalettePick(blue);
    EXPECT_FLOAT_EQ(d.m_raw[CMaterialDetailLogic::DIFFUSE][0], before);
    d.m_target[CMaterialDetailLogic::DIFFUSE] = 1;
    d.OnPalettePick(blue);
    EXPECT_FLOAT_EQ(d.m_raw[CMaterialDetailLogic::DIFFUSE][2], 0.4f);
    EXPECT_FLOAT_EQ(d.m_raw[CMaterialDetailLogic::DIFFUSE][0], 0.0f);

    // The preview shows given components, defaults otherwise (black specular).
    d.OnFlag(CMaterialDetailLogic::SPECULAR, 0);
    EXPECT_FLOAT_EQ(d.m_preview.specular[0], 0.0f);
    d.OnFlag(CMaterialDetailLogic::DIFFUSE, 1);
    EXPECT_FLOAT_EQ(d.m_preview.diffuse[2], 0.4f);
    d.OnFlag(CMaterialDetailLogic::DIFFUSE, 0);
    EXPECT_FLOAT_EQ(d.m_preview.diffuse[2], 0.8f);

    // Enter in a value edit closes with OK; in the name edit with a taken
    // name it does not, and a unique name is offered.
    std::string suggestion;
    EXPECT_EQ(d.OnCommit(1223, "32", true, suggestion), EditCommit::CloseOk);
    EXPECT_EQ(d.m_pos[CMaterialDetailLogic::SHININESS], 250);
    EXPECT_EQ(d.OnCommit(1189, "0.5", false, suggestion), EditCommit::Changed);
    EXPECT_FLOAT_EQ(d.m_raw[CMaterialDetailLogic::DIFFUSE][2], 0.5f);
    EXPECT_EQ(d.OnCommit(1740, "Color3", true, suggestion), EditCommit::NameTaken);
    EXPECT_EQ(suggestion, "Color3001");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "\"Color3\" is already used!");
    EXPECT_EQ(host.messages[0].caption, "Kelvano");
    EXPECT_TRUE(d.m_bNameCheck);
    EXPECT_EQ(d.OnCommit(1740, "Unused", true, suggestion), EditCommit::CloseOk);
}

TEST_F(ChooserTest, SimpleEditorFollowsItsSlidersPaletteAndEdits) {
    CColorDlgLogic c;
    c.SetColor(0.5f, 0.25f, 0.0f);
    c.Init();
    EXPECT_EQ(c.m_pos[CColorDlgLogic::BRIGHTNESS], 500);
    EXPECT_EQ(c.m_text[CColorDlgLogic::GREEN], "0.25");
    EXPECT_TRUE(c.m_bMoveMarker);
    c.OnRamp(9207, 1000);
    EXPECT_FLOAT_EQ(c.m_color[0], 1.0f) << "full brightness makes the largest component 1";
    EXPECT_FLOAT_EQ(c.m_color[1], 0.5f);
    std::string suggestion;
    for (int id : {1431, 1201, 1210}) EXPECT_EQ(c.OnCommit(id, "0", false, suggestion), EditCommit::Changed);
    EXPECT_EQ(c.m_pos[CColorDlgLogic::BRIGHTNESS], 0);
    const float cyan[3] = {0, 1, 1};
    c.OnPalettePick(cyan);
    EXPECT_FLOAT_EQ(c.m_color[1], 0.0f) << "black until the brightness moves";
    c.OnRamp(9207, 500);
    EXPECT_FLOAT_EQ(c.m_color[2], 0.5f);
    EXPECT_EQ(c.OnCommit(1215, "0.30", true, suggestion), EditCommit::CloseOk);
    EXPECT_FLOAT_EQ(c.m_fTransparency, 0.3f);

    c.m_bMakeUnique = true;
    c.SetName("Color1");
    EXPECT_EQ(c.m_strName, "Color1001");
    c.m_bMakeUnique = false;
    c.SetName("Color1");
    EXPECT_EQ(c.m_strName, "Color1");
    EXPECT_EQ(view->MakeUniqueObjectName("Camera"), "Camera001") << "the camera holds its name";
    addSlantedPlate();
    EXPECT_EQ(view->MakeUniqueObjectName("plate"), "plate001");
}

TEST_F(ChooserTest, BackgroundColourIsOneUndoStep) {
    auto* bg = dynamic_cast<pnBackground*>(scene().getBackground());
    ASSERT_NE(bg, nullptr);
    const sgVec4 old = bg->getColor();
    ColorDialogRequest answer;
    answer.color[0] = 0.5f, answer.color[1] = 0.25f, answer.color[2] = 0.0f;
    answer.transparency = old[3];
    host.colorAnswers.push_back(answer);
    ASSERT_EQ(view->OnBackgroundColor(), 1);
    ASSERT_EQ(host.colorRequests.size(), 1u);
    EXPECT_FALSE(host.colorRequests[0].makeUnique) << "no name for a background";
    EXPECT_FLOAT_EQ(host.colorRequests[0].color[2], old[2]);
    bg = dynamic_cast<pnBackground*>(scene().getBackground());
    EXPECT_FLOAT_EQ(bg->getColor()[0], 0.5f);
    EXPECT_FLOAT_EQ(bg->getColor()[1], 0.25f);
    EXPECT_EQ(bg->getUseTexture(), 0);
    ASSERT_EQ(view->OnEditUndo(), 1);
    bg = dynamic_cast<pnBackground*>(scene().getBackground());
    EXPECT_FLOAT_EQ(bg->getColor()[0], old[0]);
    // Cancel records nothing.
    const int steps = doc->GetUndoHistory().GetCount();
    EXPECT_EQ(view->OnBackgroundColor(), 0);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps);

    // A scene that comes in while the editor is up keeps its own colour.
    host.duringColorDialog = [this] {
        view->m_bModified = 0;
        ASSERT_EQ(view->OnFileNew(), 1);
    };
    host.colorAnswers.push_back(answer);
    EXPECT_EQ(view->OnBackgroundColor(), 0);
    EXPECT_FLOAT_EQ(dynamic_cast<pnBackground*>(scene().getBackground())->getColor()[1], kSceneBackground[1]);
}

// Every name an object keeps for a material is a use: a text's and a
// counter's back material, a chart's label, data, label back, data back and
// joint materials and a point's joint material. Deleting any of them is
// refused as for an object's own material; a material nothing names goes.
TEST_F(ChooserTest, MaterialsNamedAsBackLabelDataOrJointMaterialsAreNotDeleted) {
    materials(9);
    auto* text = new pnString;
    text->setName("title");
    text->setBackMaterial("M0");
    auto* counter = new pnCounter;
    counter->setName("count");
    counter->setBackMaterial("M1");
    auto* bars = new pnBarChart;
    bars->setName("bars");
    bars->setLabelMaterialName("M2");
    bars->setDataMaterialName("M3");
    bars->setLabelBackMaterialName("M4");
    bars->setDataBackMaterialName("M5");
    auto* line = new pnLineChart;
    line->setName("line");
    line->setNumDataPts(2);
    line->setJointMaterialName("M6");
    line->setDataPtJointMaterialName(1, "M7");
    for (pnObject* o : std::initializer_list<pnObject*>{text, counter, bars, line}) ASSERT_TRUE(scene().addObject(o));
    for (int i = 0; i < 8; ++i) {
        const std::string name = "M" + std::to_string(i);
        EXPECT_EQ(scene().isMaterialUsed(name.c_str()), 1) << name;
        logic.SetCurrentMaterial(scene().findMaterialIndex(name.c_str()));
        host.messages.clear();
        logic.Delete();
        ASSERT_EQ(host.messages.size(), 1u) << name;
        EXPECT_EQ(host.messages[0].text, "Not deleted due to being used by an Object.");
        EXPECT_TRUE(scene().materialExists(name.c_str())) << name;
    }
    logic.SetCurrentMaterial(scene().findMaterialIndex("M8"));
    host.messages.clear();
    logic.Delete();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(scene().materialExists("M8"));
}

// The owner's material is known by name: after a Delete moves the list, a
// material that took its old position is a choice like any other, and the
// owner's own is still no news.
TEST_F(ChooserTest, ChoosingAfterADeleteComparesMaterialsNotPositions) {
    materials(8);
    logic.SetCurrentMaterial(5);  // the owner has M5
    select(scene().findMaterialIndex("M2"));
    logic.Delete();
    ASSERT_EQ(nameAt(5), "M6") << "M6 took M5's old position";
    select(5);
    logic.Choose();
    ASSERT_EQ(ui.notes.size(), 1u);
    EXPECT_EQ(ui.notes[0], std::make_tuple(int(WM_MATERIAL_CHOSEN), 1234, 5));
    ui.notes.clear();
    select(scene().findMaterialIndex("M5"));
    logic.Choose();
    EXPECT_TRUE(ui.notes.empty()) << "the owner's own material chosen again";
}

// After a Delete the chooser keeps a selection, so Add and Modify still
// work; a list emptied whole still takes a new material, made from a new
// material's values. A nameless material is never added.
TEST_F(ChooserTest, AddAndModifyWorkAfterDeletesAndInAnEmptyList) {
    materials(3);
    logic.SetCurrentMaterial(1);
    logic.Delete();
    ASSERT_EQ(scene().getNumMaterials(), 2);
    ASSERT_GE(logic.GetMaterialIndex(), 0);
    ui.answer = [](MaterialEditValues& v) { v.diffuse[2] = 0.25f; };
    const std::string modified = nameAt(logic.GetMaterialIndex());
    logic.Modify(0);
    EXPECT_FLOAT_EQ(scene().findMaterial(modified.c_str())->getDiffuse()[2], 0.25f);
    ui.answer = [](MaterialEditValues& v) { v.name = "After"; };
    logic.Add(0);
    EXPECT_TRUE(scene().materialExists("After"));

    doc->ClearUndoHistory();  // its steps hold the materials taken out
    materials(0);
    logic.SetCurrentMaterial(-1);
    EXPECT_EQ(logic.GetMaterialIndex(), -1);
    ui.answer = [](MaterialEditValues&) {};
    logic.Add(1);
    ASSERT_EQ(scene().getNumMaterials(), 1);
    EXPECT_FALSE(nameAt(0).empty());
    EXPECT_FLOAT_EQ(ui.given.diffuse[0], 0.8f) << "a new material's values";

    ui.answer = [](MaterialEditValues& v) { v.name.clear(); };
    logic.Add(0);
    EXPECT_EQ(scene().getNumMaterials(), 1) << "a nameless material was added";
}

// The editors refuse an emptied name as they refuse a taken one: the user
// is told and a free name is suggested.
TEST_F(ChooserTest, EditorsRefuseAnEmptyName) {
    materials(2);
    CColorNameRules rules;
    std::string suggestion;
    host.messages.clear();
    EXPECT_EQ(rules.CommitName("", false, suggestion), EditCommit::NameTaken);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "A material needs a name.");
    EXPECT_FALSE(suggestion.empty());
    EXPECT_FALSE(scene().materialExists(suggestion.c_str()));
}
