// Objects leaving the scene (Cut, Delete, Undo) while events still hold their
// nodes under names they no longer carry; each sequence ends in a repaint,
// which the sanitizer build checks for freed nodes.
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "charts/pnChart.h"
#include "tests/app/ViewFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

class ObjectRemovalTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
        app.InitSceneServices();
        // The chart sample with events that are not named after their
        // objects ("titleEvent" shows "title"), as older scenes have them.
        std::ifstream in(std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/data/scenes/allcharts.apn");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (const char* name : {"title", "total", "bars", "shares", "trend", "area"}) {
            const std::string shown = std::string("name\t\"") + name + "\"\n    objectName";
            ASSERT_NE(text.find(shown), std::string::npos) << name;
            text.replace(text.find(shown), shown.size(), std::string("name\t\"") + name + "Event\"\n    objectName");
        }
        for (size_t at; (at = text.find("\"../ChartSlices/")) != std::string::npos;) text.replace(at, 4, "\"");
        scenePath = folder() + "/allcharts.apn";
        write(scenePath, text);
        ASSERT_EQ(view->OnDropFiles({scenePath}), 1);
    }
    // Every scene event that holds the object's switch node.
    std::vector<std::string> holders(const pnObject* object) {
        std::vector<std::string> names;
        for (int i = 0; i < scene().getNumEvents(); ++i)
            if (object->getSwitchNode() && scene().getEvent(i)->getNode() == object->getSwitchNode())
                names.push_back(scene().getEvent(i)->getName());
        return names;
    }
    RecordingFrame frame;
    std::string scenePath;
};

}  // namespace

// The text is shown by "titleEvent": after a rename that event shows the new
// name, so Cut takes it out with the text and Undo brings both back.
TEST_F(ObjectRemovalTest, ACutAfterARenameTakesTheEventThatShowsTheText) {
    pnObject* title = scene().findObject("title");
    ASSERT_TRUE(title);
    view->SelectObject(title);
    ASSERT_EQ(view->RenameObject(title, "heading"), 1);
    ASSERT_TRUE(scene().findEvent("titleEvent"));
    EXPECT_STREQ(scene().findEvent("titleEvent")->getObjectName(0), "heading");

    ASSERT_EQ(view->OnEditCut(), 1);
    EXPECT_FALSE(scene().findObject("heading"));
    EXPECT_FALSE(scene().findEvent("titleEvent"));
    draw();

    ASSERT_EQ(view->OnEditUndo(), 1);
    pnObject* back = scene().findObject("heading");
    ASSERT_TRUE(back);
    EXPECT_EQ(holders(back), std::vector<std::string>{"titleEvent"});
    draw();
    ASSERT_EQ(view->OnEditRedo(), 1);
    draw();
    // The paste of the cut text is shown by an event of its own.
    ASSERT_EQ(view->OnEditPaste(), 1);
    ASSERT_TRUE(doc->m_pSelectedObject);
    EXPECT_EQ(holders(doc->m_pSelectedObject), std::vector<std::string>{doc->m_pSelectedObject->getName()});
    draw();
}

// Saved after the rename, the scene still shows the text when read again.
TEST_F(ObjectRemovalTest, ARenamedObjectIsStillShownWhenTheSceneIsReadAgain) {
    ASSERT_EQ(view->RenameObject(scene().findObject("total"), "sum"), 1);
    const std::string path = folder() + "/renamed.apn";
    ASSERT_EQ(scene().save(path.c_str(), 0), 1);
    view->m_bModified = 0;
    ASSERT_EQ(view->OnDropFiles({path}), 1);
    pnObject* sum = scene().findObject("sum");
    ASSERT_TRUE(sum);
    EXPECT_EQ(holders(sum), std::vector<std::string>{"totalEvent"});
}

// An event may still hold the nodes of an object that was renamed behind its
// back: whatever removes the object (Delete, Cut, the change step's Undo)
// takes the nodes out of that event too, a chart's parts and events with them.
TEST_F(ObjectRemovalTest, RemovalTakesTheNodesFromEveryEventThatHoldsThem) {
    for (const char* command : {"delete", "cut", "undo"}) {
        SCOPED_TRACE(command);
        view->m_bModified = 0;
        ASSERT_EQ(view->OnDropFiles({scenePath}), 1);
        auto* bars = static_cast<pnChart*>(scene().findObject("bars"));
        ASSERT_TRUE(bars);
        ASSERT_GT(bars->getNumChartEvents(), 0);
        bars->setName("renamed");
        ASSERT_EQ(holders(bars), std::vector<std::string>{"barsEvent"});
        view->SelectObject(bars);
        if (std::string(command) == "delete") {
            view->OnCommand(kv::ID_EDIT_DELETE);
        } else if (std::string(command) == "cut") {
            ASSERT_EQ(view->OnEditCut(), 1);
        } else {
            doc->RecordUndoBefore(bars, UNDO_CHANGE);
            bars->setPositionX(40);
            doc->RecordUndoAfter(bars);
            ASSERT_EQ(view->OnEditUndo(), 1);
        }
        pnEvent* event = scene().findEvent("barsEvent");
        ASSERT_TRUE(event) << "the event stays: it names another object";
        EXPECT_EQ(event->getNode(), nullptr);
        draw();
        view->SetCurrentFrame(0);
        view->m_bAnimationMode = 1;
        draw();
        view->m_bAnimationMode = 0;
    }
}
