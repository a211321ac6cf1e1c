// The view's file commands: New, Open from every source, the 1.2 conversion,
// Save and Save As with their failures, the ".bpn" saves, dropped files,
// Highlight Selected and the scene alignment.
#include "editor/KelvanoIds.h"
#include "sg/sgNode.h"
#include "tests/app/ViewFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class FileCommandsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        create();
        dir = folder();
    }
    std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // A scene of two panels in the given format version.
    std::string twoPanels(int version) {
        std::ostringstream s;
        s << "scene {\n name \"old\"\n width 320\n height 240\n version " << version << "\n}\n";
        for (const char* name : {"p1", "p2"})
            s << "panel {\n name \"" << name << "\"\n dimension ( 10 10 1 )\n}\n";
        return s.str();
    }
    std::string dir;
};

}  // namespace

TEST_F(FileCommandsTest, OldFormatVersionsOnOpen) {
    const struct {
        int version;
        int answer;  // 0: no question expected
        bool dropped;
        int expected;
        int events;  // events after opening
    } table[] = {
        {120, KV_IDNO, false, 120, 0},
        {120, KV_IDYES, false, 250, 1 + 4 + 2},
        {120, KV_IDYES, true, 250, 1 + 4 + 2},
        {200, 0, false, 250, 0},
        {210, 0, false, 250, 0},
        {200, 0, true, 250, 0},
        {210, 0, true, 210, 0},
        {250, 0, false, 250, 0},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message() << row.version << (row.dropped ? " dropped" : ""));
        const std::string path = dir + "/v" + std::to_string(row.version) + ".apn";
        write(path, twoPanels(row.version));
        host.messages.clear();
        if (row.answer) host.answers = {row.answer};
        if (row.dropped) {
            ASSERT_EQ(view->OnDropFiles({path}), 1);
        } else {
            view->m_strPendingOpen = path;
            ASSERT_EQ(view->OnFileOpen(), 1);
        }
        EXPECT_EQ(scene().getVersion(), row.expected);
        EXPECT_EQ(scene().getNumEvents(), row.events);
        if (row.answer) {
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].text, row.dropped ? "The version of the scene file is 1.2.\n"
                                                           "Do you want to convert file to 2.6?"
                                                         : "This version of the scene file is 1.2.\n"
                                                           "Do you want to convert file to the recent version?");
            EXPECT_EQ(host.messages[0].caption, "Kelvano");
            EXPECT_EQ(host.messages[0].style & KV_MB_YESNO, KV_MB_YESNO);
        } else {
            EXPECT_TRUE(host.messages.empty());
        }
        if (row.events) {
            for (const char* name : {"Camera", "Light1", "Light2", "Light3", "Light4", "p1", "p2"})
                EXPECT_NE(scene().findEvent(name), nullptr) << name;
        }
        // The first object is the selection; the file names the window.
        EXPECT_EQ(doc->m_pSelectedObject, scene().findObject("p1"));
        EXPECT_EQ(host.titles.back(), path);
        EXPECT_EQ(view->m_bModified, 0);
    }
}

TEST_F(FileCommandsTest, WhatCannotBeOpenedKeepsTheSceneWithAMessageNamingTheFile) {
    fs::create_directories(dir + "/x.apn");
    std::string noise(4096, '\0');
    std::mt19937 random(23);
    for (char& c : noise) c = static_cast<char>(random());
    std::ofstream(dir + "/noise.apn", std::ios::binary) << noise;
    write(dir + "/empty.apn", "");
    write(dir + "/words.apn", "not a scene at all { }\n");

    const struct {
        std::string path;
        bool dropped;
        std::string message;
    } table[] = {
        {dir + "/absent.apn", false, "\"" + dir + "/absent.apn\" is not found."},
        {dir + "/absent.apn", true, "\"" + dir + "/absent.apn\": not found"},
        {dir + "/x.apn", false, "\"" + dir + "/x.apn\" is not a scene file."},
        {"/dev/zero", false, "\"/dev/zero\" is not a scene file."},
        {"/dev/zero", true, "\"/dev/zero\" is not a scene file."},
        {dir + "/noise.apn", false, "\"" + dir + "/noise.apn\" is not a scene file."},
        {dir + "/empty.apn", true, "\"" + dir + "/empty.apn\" is not a scene file."},
        {dir + "/words.apn", false, "\"" + dir + "/words.apn\" is not a scene file."},
    };
    addSlantedPlate();
    view->m_strPathName = dir + "/mine.apn";
    pnScene* before = view->GetScene();
    for (const auto& row : table) {
        SCOPED_TRACE(row.path);
        host.messages.clear();
        app.m_strOpenFile = row.path;
        view->m_bOpenGivenFile = !row.dropped;
        EXPECT_EQ(row.dropped ? view->OnDropFiles({row.path}) : view->OnFileOpen(), 0);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, row.message);
        EXPECT_EQ(host.messages[0].caption, "File open error");
        EXPECT_EQ(view->GetScene(), before);
        EXPECT_EQ(view->m_strPathName, dir + "/mine.apn");
        EXPECT_EQ(view->m_bOpenGivenFile, 0);
    }
    EXPECT_NE(scene().findObject("plate"), nullptr);
    EXPECT_TRUE(app.recentAdded.empty());
    EXPECT_TRUE(app.recentRemoved.empty()) << "only a recent entry leaves the list";
}

TEST_F(FileCommandsTest, TheOpenDialogTestsAndRemembersItsPath) {
    app.SetSceneDir(dir);
    host.dialogPaths = {""};
    EXPECT_EQ(view->OnFileOpen(), 0);
    ASSERT_EQ(host.dialogs.size(), 1u);
    const FileDialogRequest& r = host.dialogs[0];
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.title, "Open");
    EXPECT_EQ(r.filter, "Scene File(*.apn) |*.apn|");
    EXPECT_EQ(r.defaultExtension, ".apn");
    EXPECT_EQ(r.initialDir, dir);

    fs::create_directories(dir + "/sub");
    const std::string path = dir + "/sub/one.apn";
    write(path, twoPanels(250));
    host.dialogPaths = {path};
    ASSERT_EQ(view->OnFileOpen(), 1);
    EXPECT_EQ(app.recentAdded, std::vector<std::string>{path});
    EXPECT_EQ(app.GetSceneDir(), dir + "/sub");
    EXPECT_EQ(host.sceneSizes.back(), (std::pair<int, int>{320, 240}));
    EXPECT_EQ(view->m_strPathName, path);

    // A modified scene asks first; Cancel keeps everything.
    view->m_bModified = 1;
    host.answers = {KV_IDCANCEL};
    const size_t dialogs = host.dialogs.size();
    EXPECT_EQ(view->OnFileOpen(), 0);
    EXPECT_EQ(host.dialogs.size(), dialogs);
    EXPECT_EQ(view->m_bModified, 1);
}

TEST_F(FileCommandsTest, ThreeDroppedFilesOpenOnlyTheFirst) {
    std::vector<std::string> paths;
    for (const char* name : {"a", "b", "c"}) {
        paths.push_back(dir + "/" + name + ".apn");
        write(paths.back(), "scene {\n name \"" + std::string(name) + "\"\n version 250\n}\n");
    }
    ASSERT_EQ(view->OnDropFiles(paths), 1);
    EXPECT_EQ(view->m_strPathName, paths[0]);
    EXPECT_EQ(scene().getName(), "a");
    EXPECT_EQ(app.recentAdded, std::vector<std::string>{paths[0]});
    EXPECT_EQ(view->OnDropFiles({}), 0);
    // A dropped name of any length is used whole.
    const std::string deep = dir + "/" + std::string(200, 'd') + "/" + std::string(120, 'e') + ".apn";
    fs::create_directories(fs::path(deep).parent_path());
    write(deep, "scene {\n name \"deep\"\n}\n");
    ASSERT_EQ(view->OnDropFiles({deep}), 1);
    EXPECT_EQ(view->m_strPathName, deep);
}

TEST_F(FileCommandsTest, NewStartsAnUntitledSceneUnlessTheSaveIsCancelled) {
    const std::string path = dir + "/some.apn";
    write(path, twoPanels(250));
    view->m_strPendingOpen = path;
    ASSERT_EQ(view->OnFileOpen(), 1);

    // Save on an untitled... here titled scene, the prompt: Yes with a
    // cancelled Save As stops New.
    view->m_bModified = 1;
    view->m_strPathName.clear();
    host.answers = {KV_IDYES};
    host.dialogPaths = {""};
    EXPECT_EQ(view->OnFileNew(), 0);
    EXPECT_NE(scene().findObject("p1"), nullptr);
    EXPECT_EQ(view->m_bModified, 1);

    host.answers = {KV_IDNO};
    view->m_bAnimationMode = 1;
    ASSERT_EQ(view->OnFileNew(), 1);
    EXPECT_EQ(view->m_bAnimationMode, 0);
    EXPECT_EQ(scene().getNumObjects(), 0);
    EXPECT_EQ(scene().getNumMaterials(), 28);
    EXPECT_EQ(scene().getNumEvents(), 5);
    EXPECT_EQ(host.titles.back(), "Untitled");
    EXPECT_TRUE(view->m_strPathName.empty());
    EXPECT_EQ(view->m_bModified, 0);
    EXPECT_EQ(doc->m_pSelectedObject, nullptr);
}

TEST_F(FileCommandsTest, SaveAsWritesWhatOpenReadsAndAFailedSaveKeepsTheChanges) {
    const std::string first = dir + "/demo.apn";
    write(first, twoPanels(250));
    view->m_strPendingOpen = first;
    ASSERT_EQ(view->OnFileOpen(), 1);
    const std::string second = dir + "/demo2.apn";
    host.dialogPaths = {second};
    ASSERT_EQ(view->OnFileSaveAs(), 1);
    EXPECT_EQ(host.dialogs.back().title, "Save As");
    EXPECT_EQ(host.dialogs.back().filter, "Scene File (*.apn) |*.apn|");
    EXPECT_TRUE(host.dialogs.back().overwritePrompt);
    EXPECT_EQ(scene().getName(), "demo2");
    // Read back and saved again: the same bytes.
    view->m_strPendingOpen = second;
    ASSERT_EQ(view->OnFileOpen(), 1);
    const std::string third = dir + "/demo3.apn";
    host.dialogPaths = {third};
    ASSERT_EQ(view->OnFileSaveAs(), 1);
    std::string a = read(second), b = read(third);
    const auto unname = [](std::string& s) {
        const size_t at = s.find("demo");
        if (at != std::string::npos) s.erase(at, 5);
    };
    unname(a);
    unname(b);
    EXPECT_EQ(a, b);

    // A folder nobody may write to: the save fails visibly, nothing is
    // written, the document stays modified.
    view->m_bModified = 1;
    view->m_strPathName = "/proc/kelvano-test.apn";
    host.messages.clear();
    EXPECT_EQ(view->OnFileSave(), 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind("\"/proc/kelvano-test.apn\" could not be saved.\n", 0), 0u)
        << host.messages[0].text;
    EXPECT_EQ(host.messages[0].style & KV_MB_ICONERROR, KV_MB_ICONERROR);
    EXPECT_EQ(view->m_bModified, 1);
    EXPECT_FALSE(fs::exists("/proc/kelvano-test.apn"));

    // The ".bpn" saves write the same text under their own name.
    const std::string binary = dir + "/demo.bpn";
    host.dialogPaths = {binary};
    ASSERT_EQ(view->OnSaveBinaryAs(), 1);
    EXPECT_EQ(host.dialogs.back().filter, "Binary File (*.bpn) |*.bpn|");
    EXPECT_EQ(host.dialogs.back().defaultExtension, ".bpn");
    EXPECT_EQ(view->m_strPathName, binary);
    EXPECT_EQ(view->m_bModified, 0);
    EXPECT_NE(read(binary).find("panel"), std::string::npos);
}

TEST_F(FileCommandsTest, TheSaveDialogProposesAWritableFolder) {
    const std::string home = dir + "/home";
    fs::create_directories(home + "/Documents");
    const char* oldHome = std::getenv("HOME");
    const std::string saved = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(CKelvanoView::SaveDialogFolder(dir), dir);
    EXPECT_EQ(CKelvanoView::SaveDialogFolder("/proc"), home + "/Documents");
    EXPECT_EQ(CKelvanoView::SaveDialogFolder(""), home + "/Documents");
    fs::remove(home + "/Documents");
    EXPECT_EQ(CKelvanoView::SaveDialogFolder("/proc"), home);
    if (oldHome)
        setenv("HOME", saved.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST_F(FileCommandsTest, HighlightSelectedAndSceneAlignment) {
    write(dir + "/two.apn", twoPanels(250));
    view->m_strPendingOpen = dir + "/two.apn";
    ASSERT_EQ(view->OnFileOpen(), 1);
    pnObject* p1 = scene().findObject("p1");
    pnObject* p2 = scene().findObject("p2");
    auto checked = [this](int id) {
        CCmdUI ui;
        EXPECT_TRUE(view->OnUpdateCommand(id, ui));
        return ui.checked;
    };
    view->m_bHighlightSelected = 0;
    ASSERT_TRUE(view->OnCommand(kv::ID_HIGHLIGHT_SELECTED));
    EXPECT_EQ(view->m_bHighlightSelected, 1);
    EXPECT_EQ(doc->m_bHighlight, 1);
    EXPECT_EQ(checked(kv::ID_HIGHLIGHT_SELECTED), 1);
    EXPECT_EQ(p1->getHighlight(), 1);
    EXPECT_EQ(p2->getHighlight(), 0);
    view->OnCommand(kv::ID_HIGHLIGHT_SELECTED);
    EXPECT_EQ(p1->getHighlight(), 0);
    EXPECT_EQ(checked(kv::ID_HIGHLIGHT_SELECTED), 0);
    doc->m_selectedObjects = {p1, p2};
    view->OnCommand(kv::ID_HIGHLIGHT_SELECTED);
    EXPECT_EQ(p1->getHighlight(), 1);
    EXPECT_EQ(p2->getHighlight(), 1);

    for (int id = kv::ID_SCENE_ALIGN_FIRST; id <= kv::ID_SCENE_ALIGN_LAST; ++id) {
        ASSERT_TRUE(view->OnCommand(id));
        EXPECT_EQ(view->m_nSceneAlign, id - kv::ID_SCENE_ALIGN_FIRST);
        EXPECT_EQ(scene().getAlign(), id - kv::ID_SCENE_ALIGN_FIRST);
        EXPECT_EQ(checked(id), 1);
        EXPECT_EQ(checked(id == kv::ID_SCENE_ALIGN_FIRST ? id + 1 : kv::ID_SCENE_ALIGN_FIRST), 0);
    }
}

// A failed save says why, in the system's words: a folder that no longer
// exists, a folder that may not be written to. The document stays modified.
TEST_F(FileCommandsTest, AFailedSaveSaysWhy) {
    addSlantedPlate();
    struct Case {
        std::string path, reason;
    };
    std::vector<Case> cases = {{dir + "/gone/away/scene.apn", "No such file or directory."}};
    const std::string locked = dir + "/locked";
    fs::create_directories(locked);
    ::chmod(locked.c_str(), 0500);
    // The superuser writes anywhere: the locked folder only counts for others.
    if (::geteuid() != 0) cases.push_back({locked + "/scene.apn", "Permission denied."});
    for (const Case& c : cases) {
        view->m_bModified = 1;
        view->m_strPathName = c.path;
        host.messages.clear();
        EXPECT_EQ(view->OnFileSave(), 0) << c.path;
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, "\"" + c.path + "\" could not be saved.\n" + c.reason);
        EXPECT_EQ(view->m_bModified, 1);
    }
    ::chmod(locked.c_str(), 0700);
}

// A file cut off inside a block (a copy that stopped, a full disk) used to
// replace the scene without a word. The user is asked first: No keeps the
// scene on the screen, Yes opens what could be read.
TEST_F(FileCommandsTest, AFileCutOffInsideABlockAsksBeforeTheSceneGoes) {
    const std::string whole = twoPanels(250) + "material {\n name \"red\"\n diffuse ( 1 0 0 )\n}\n";
    const std::string path = dir + "/cut.apn";
    // Cut inside the material block, whose "{" stands on line 15 (6 lines of
    // scene, 4 of each panel).
    write(path, whole.substr(0, whole.find("diffuse")));
    addSlantedPlate();
    pnScene* before = view->GetScene();
    const std::string question = "\"" + path + "\" ends inside the \"material\" block at line 15.\n"
                                 "Open what could be read?";
    for (const int answer : {int(KV_IDNO), int(KV_IDYES)}) {
        host.messages.clear();
        host.answers = {answer};
        view->m_strPendingOpen = path;
        EXPECT_EQ(view->OnFileOpen(), answer == KV_IDYES ? 1 : 0);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, question);
        EXPECT_EQ(host.messages[0].style & KV_MB_YESNO, KV_MB_YESNO);
        if (answer == KV_IDNO) {
            EXPECT_EQ(view->GetScene(), before);
            EXPECT_NE(scene().findObject("plate"), nullptr);
        } else {
            EXPECT_NE(scene().findObject("p2"), nullptr);
            EXPECT_EQ(view->m_strPathName, path);
        }
    }
    // A whole file asks nothing.
    write(path, whole);
    host.messages.clear();
    view->m_strPendingOpen = path;
    EXPECT_EQ(view->OnFileOpen(), 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NE(scene().findMaterial("red"), nullptr);
}

// A recent file's open cancelled at "Save changes?" left its path pending:
// the next Ctrl+O opened that file without showing the Open dialog.
TEST_F(FileCommandsTest, ACancelledRecentOpenLeavesNothingPending) {
    const std::string recent = dir + "/recent.apn";
    write(recent, twoPanels(250));
    addSlantedPlate();
    view->m_bModified = 1;
    view->m_strPendingOpen = recent;
    host.answers = {KV_IDCANCEL};
    EXPECT_EQ(view->OnFileOpen(), 0);
    EXPECT_TRUE(view->m_strPendingOpen.empty());
    // Ctrl+O: after the prompt, the Open dialog (cancelled here), not the recent file.
    host.answers = {KV_IDNO};
    const size_t dialogs = host.dialogs.size();
    EXPECT_EQ(view->OnFileOpen(), 0);
    EXPECT_EQ(host.dialogs.size(), dialogs + 1);
    EXPECT_EQ(scene().findObject("p1"), nullptr);
    EXPECT_NE(scene().findObject("plate"), nullptr);
}

// A re-parenting drop changes only the parent names: a child event could
// stand before its parent in the list, be saved there, and after Open its
// object was not drawn. The file puts every parent first, and a scene read
// with a child first draws it all the same.
TEST_F(FileCommandsTest, AChildEventBeforeItsParentIsSavedAfterItAndDrawn) {
    const std::string path = dir + "/family.apn";
    write(path, "scene {\n version 250\n}\n"
                "panel {\n name \"kid\"\n dimension ( 10 10 1 )\n}\n"
                "panel {\n name \"mom\"\n dimension ( 20 20 1 )\n}\n"
                "event {\n name \"kid\"\n objectName \"kid\"\n parent \"mom\"\n}\n"
                "event {\n name \"mom\"\n objectName \"mom\"\n}\n");
    view->m_strPendingOpen = path;
    ASSERT_EQ(view->OnFileOpen(), 1);
    const pnObject* kid = scene().findObject("kid");
    ASSERT_NE(kid, nullptr);
    ASSERT_NE(kid->getSwitchNode(), nullptr);
    EXPECT_NE(kid->getSwitchNode()->getParent(), nullptr) << "the child hangs under its parent";
    EXPECT_EQ(scene().getEvent(0)->getName(), "kid") << "the list keeps the file's order";

    view->m_bModified = 1;
    ASSERT_EQ(view->OnFileSave(), 1);
    const std::string text = read(path);
    ASSERT_NE(text.find("name\t\"mom\"\n    objectName"), std::string::npos) << text;
    EXPECT_LT(text.find("name\t\"mom\"\n    objectName"), text.find("name\t\"kid\"\n    objectName"));
    view->m_strPendingOpen = path;
    ASSERT_EQ(view->OnFileOpen(), 1);
    kid = scene().findObject("kid");
    ASSERT_NE(kid->getSwitchNode(), nullptr);
    EXPECT_NE(kid->getSwitchNode()->getParent(), nullptr);
}
