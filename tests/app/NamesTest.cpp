// One rule for the name an object takes, whatever gives it: rename, paste,
// the numbered names of the creation dialogs and the wizard. A name is free
// only when no object, event, light or the camera holds it; every object
// then keeps its own event, and a saved scene draws it again. A renamed
// chart keeps hanging what is added to it.
#include "charts/pnBarChart.h"
#include "editor/CUndoHistory.h"
#include "scene/pnLight.h"
#include "scene/pnSceneLoader.h"
#include "scene/pnViewpoint.h"
#include "sg/sgNode.h"
#include "tests/app/ViewFixture.h"

namespace {

class NamesTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
        view->OnFileNew();
    }
    pnObject* addPanel(const std::string& name, const std::string& eventName) {
        return addShownPanel(name, 40, 4, eventName);
    }
    // Every object is shown by an event (its own name's, or one named
    // otherwise that names it), also once the scene was saved and opened.
    void expectEveryObjectShown(const pnScene& s, const std::string& what) {
        for (int i = 0; i < s.getNumObjects(); ++i) {
            const std::string name = s.getObject(i)->getName();
            int showing = 0;
            for (int e = 0; e < s.getNumEvents(); ++e) {
                const char* first = s.getEvent(e)->getObjectName(0);
                if (first && name == first) ++showing;
            }
            EXPECT_EQ(showing, 1) << what << ": " << name;
            EXPECT_EQ(s.findEvent(name.c_str()) != nullptr || name == "lid", true) << what << ": " << name;
        }
    }

    RecordingFrame frame;
};

}  // namespace

TEST_F(NamesTest, ANameIsFreeOnlyWhenNoObjectEventLightOrTheCameraHoldsIt) {
    addPanel("plate", "plate");
    addPanel("lid", "slide in");
    ASSERT_GT(scene().getNumLights(), 1);
    const std::string light = scene().getLight(1)->getName();
    ASSERT_TRUE(scene().findEvent("Camera"));
    for (const std::string& taken : {std::string("plate"), std::string("slide in"), light, std::string("Camera"),
                                     std::string("")})
        EXPECT_FALSE(scene().isObjectNameFree(taken.c_str())) << taken;
    EXPECT_TRUE(scene().isObjectNameFree("Plate"));
    // The numbered names skip every holder.
    EXPECT_EQ(view->MakeUniqueObjectName("Camera"), "Camera001");
    EXPECT_EQ(view->MakeUniqueObjectName(light), light + "001");
    EXPECT_EQ(view->MakeUniqueObjectName("slide in"), "slide in001");
    EXPECT_FALSE(scene().isMaterialNameFree(""));
    EXPECT_FALSE(scene().isMaterialNameFree("Color1"));
    EXPECT_EQ(scene().freeMaterialName("Color1"), "Color1001");
}

// Renamed "Camera", "Light1" or an event's name, an object lost its event:
// after Save and Open it was listed but not drawn. Such renames are refused,
// and a scene saved after the renames that are allowed shows every object.
TEST_F(NamesTest, RenamesThatWouldTakeAnEventsNameAreRefusedAndTheSavedSceneShowsEveryObject) {
    pnObject* plate = addPanel("plate", "plate");
    addPanel("lid", "slide in");
    const std::string light = scene().getLight(0)->getName();
    const int before = doc->GetUndoHistory().GetCount();
    for (const std::string& taken : {std::string("Camera"), light, std::string("slide in"), std::string("lid")})
        EXPECT_EQ(view->RenameObject(plate, taken), 0) << taken;
    EXPECT_EQ(plate->getName(), "plate");
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), before);
    ASSERT_EQ(view->RenameObject(plate, "tray"), 1);
    expectEveryObjectShown(scene(), "renamed");

    const std::string path = folder() + "/renamed.apn";
    ASSERT_EQ(scene().save(path.c_str(), 0), 1);
    pnScene again;
    ASSERT_EQ(pnSceneLoader::readScene(again, path), pnSceneLoader::READ);
    expectEveryObjectShown(again, "reopened");
    EXPECT_TRUE(again.findObject("tray"));
}

// Pasting an object named "Light0" gave "Light1", the name of a light's
// event: the paste had no event and was never drawn.
TEST_F(NamesTest, PasteSkipsEventNames) {
    const std::string light = scene().getLight(0)->getName();  // "Light1"
    ASSERT_EQ(light, "Light1");
    pnObject* source = addPanel("Light0", "Light0");
    doc->m_pSelectedObject = source;
    ASSERT_EQ(view->OnEditCopy(), 1);
    ASSERT_EQ(view->OnEditPaste(), 1);
    pnObject* pasted = doc->m_pSelectedObject;
    ASSERT_NE(pasted, source);
    EXPECT_NE(pasted->getName(), light);
    EXPECT_TRUE(scene().isObjectNameFree("Light1") == 0);
    const pnEvent* event = scene().findEvent(pasted->getName().c_str());
    ASSERT_NE(event, nullptr) << pasted->getName();
    ASSERT_NE(pasted->getSwitchNode(), nullptr);
    EXPECT_NE(pasted->getSwitchNode()->getParent(), nullptr) << "the paste hangs in the scene graph";
    expectEveryObjectShown(scene(), "pasted");
}

// A renamed chart kept the old name as the parent of what it makes later:
// an added column was not drawn until the file was opened again.
TEST_F(NamesTest, ColumnsAddedToARenamedChartHangInTheGraph) {
    auto* chart = new pnBarChart;
    chart->setName("bars");
    chart->setNumDataPts(2);
    chart->setDataPtGrowValue(0, 10);
    chart->setDataPtGrowValue(1, 20);
    ASSERT_NE(view->InsertNewObject(std::unique_ptr<pnObject>(chart)), nullptr);
    ASSERT_EQ(view->RenameObject(chart, "Sales"), 1);
    ASSERT_TRUE(chart->appendDataPt());
    ASSERT_EQ(chart->getNumDataPts(), 3);
    int parts = 0;
    for (int i = 0; i < chart->getNumChartParts(); ++i) {
        const pnObject* part = chart->getChartPart(i);
        if (!part || !part->getSwitchNode()) continue;
        ++parts;
        EXPECT_NE(part->getSwitchNode()->getParent(), nullptr) << part->getName() << " does not hang";
    }
    EXPECT_GE(parts, 3);
    for (int i = 0; i < chart->getNumChartEvents(); ++i)
        EXPECT_EQ(chart->getChartEvent(i)->getParent(), "Sales") << chart->getChartEvent(i)->getName();
}
