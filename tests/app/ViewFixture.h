// The view driven headless: an OSMesa context of the default scene size, a
// document, the application state and a recording host.
#pragma once

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnEvent.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "tests/app/RecordingHost.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

inline const RGBA kNewSceneBackground{36, 89, 171, 0};

// The application state with its recent-file list recorded.
class RecordingAppState : public CKelvanoAppState {
public:
    void AddToRecentFiles(const std::string& path) override { recentAdded.push_back(path); }
    void RemoveFromRecentFiles(const std::string& path) override { recentRemoved.push_back(path); }
    std::vector<std::string> recentAdded, recentRemoved;
};

class ViewTest : public GLTest {
protected:
    ViewTest() : GLTest(kDefaultSceneWidth, kDefaultSceneHeight) {}
    void SetUp() override {
        GLTest::SetUp();
        doc = std::make_unique<CKelvanoDoc>(nullptr);
        view = std::make_unique<CKelvanoView>(doc.get(), &host);
    }
    void TearDown() override {
        view.reset();
        GLTest::TearDown();
    }
    GLFormatInfo format(int alpha, int accum) {
        GLFormatInfo f;
        f.alphaBits = alpha;
        f.accumRedBits = accum;
        return f;
    }
    // The view as the canvas makes it: created, then sized.
    void create(int accum = 16) {
        view->OnCreate(format(8, accum));
        view->OnSize(kDefaultSceneWidth, kDefaultSceneHeight);
        view->OnInitialUpdate();
    }
    pnScene& scene() { return *view->GetScene(); }
    // A panel (side x side x depth) with an event that shows it, named
    // eventName or else after the panel, hung into the graph.
    pnPanel* addShownPanel(const std::string& name, float side, float depth, const std::string& eventName = "") {
        auto* panel = new pnPanel;
        panel->setName(name.c_str());
        panel->setDimension(side, side, depth);
        EXPECT_TRUE(scene().addObject(panel));
        auto* event = new pnEvent;
        event->setName(eventName.empty() ? name.c_str() : eventName.c_str());
        event->addObjectName(name.c_str());
        EXPECT_TRUE(scene().addEvent(event));
        scene().addObjectsToScene(event);
        return panel;
    }
    // A lit plate turned 20 degrees in the middle of the scene.
    void addSlantedPlate() {
        auto* panel = new pnPanel;
        panel->setName("plate");
        panel->setMaterial("Color18");
        panel->setDimension(260, 150, 10);
        panel->setRotAngle(20);
        panel->setRotAxis(sgVec3(0, 0, 1));
        ASSERT_TRUE(scene().addObject(panel));
        auto* event = new pnEvent;
        event->setName("plate");
        event->addObjectName("plate");
        ASSERT_TRUE(scene().addEvent(event));
        scene().addObjectsToScene(event);
    }
    Frame draw() {
        view->OnDraw();
        return readFrame(width_, height_);
    }
    // A scratch folder of its own for each test.
    std::string folder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::filesystem::path dir = std::filesystem::path(testOutputDir()) / "view" / info->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        return dir.string();
    }
    static void write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

    RecordingAppState app;
    RecordingHost host;
    std::unique_ptr<CKelvanoDoc> doc;
    std::unique_ptr<CKelvanoView> view;
};

