#include "editor/AboutLinks.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CRecentFileList.h"
#include "assets/writePNG.h"
#include "scene/pnSceneLoader.h"
#include "scene/pnScene.h"
#include "sg/sgImage.h"
#include "sg/sgTextureFileTable.h"
#include "tests/app/MemoryProfile.h"
#include "tests/support/ImageCheck.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

TEST(AppStateTest, LayoutTableFollowsThePrimaryLanguage) {
    CKelvanoAppState app;
    for (int lang : {LANG_PRIMARY_KOREAN, LANG_PRIMARY_JAPANESE}) {
        app.FillTemplateTable(lang);
        const DialogTemplates& t = app.m_templates;
        EXPECT_EQ(t.m_iddModelSelect, 185);
        EXPECT_EQ(t.m_iddAbout, 280);
        EXPECT_EQ(t.m_iddEditBoxBar, 216);
        EXPECT_EQ(t.m_iddGrowShrink, 206);
        EXPECT_EQ(t.m_iddTimeLineBar, 227);
        EXPECT_EQ(t.m_iddJpegFileDlg, 256);
        EXPECT_EQ(t.m_iddEffectList, 296);
    }
    for (int lang : {LANG_PRIMARY_ENGLISH, LANG_PRIMARY_OTHER}) {
        app.FillTemplateTable(lang);
        const DialogTemplates& t = app.m_templates;
        EXPECT_EQ(t.m_iddModelSelect, 156);
        EXPECT_EQ(t.m_iddAbout, 278);
        EXPECT_EQ(t.m_iddEditBoxBar, 105);
        EXPECT_EQ(t.m_iddGrowShrink, 225);
        EXPECT_EQ(t.m_iddTimeLineBar, 202);
        EXPECT_EQ(t.m_iddJpegFileDlg, 269);
        EXPECT_EQ(t.m_iddEffectList, 296);
    }
}

TEST(AppStateTest, PrimaryLanguageFromTheLocale) {
    EXPECT_EQ(PrimaryLanguageOfLocale("ko_KR.UTF-8"), LANG_PRIMARY_KOREAN);
    EXPECT_EQ(PrimaryLanguageOfLocale("ja"), LANG_PRIMARY_JAPANESE);
    EXPECT_EQ(PrimaryLanguageOfLocale("en_GB.UTF-8"), LANG_PRIMARY_ENGLISH);
    EXPECT_EQ(PrimaryLanguageOfLocale("C"), LANG_PRIMARY_ENGLISH);
    EXPECT_EQ(PrimaryLanguageOfLocale("de_DE@euro"), LANG_PRIMARY_OTHER);
    EXPECT_EQ(PrimaryLanguageOfLocale("kok_IN"), LANG_PRIMARY_OTHER);  // Konkani, not Korean

    // LC_ALL wins over LC_MESSAGES, which wins over LANG.
    setenv("LANG", "ja_JP.UTF-8", 1);
    setenv("LC_MESSAGES", "ko_KR.UTF-8", 1);
    setenv("LC_ALL", "", 1);
    EXPECT_EQ(SystemPrimaryLanguage(), LANG_PRIMARY_KOREAN);
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(SystemPrimaryLanguage(), LANG_PRIMARY_JAPANESE);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(SystemPrimaryLanguage(), LANG_PRIMARY_OTHER);
    unsetenv("LC_ALL");
    unsetenv("LANG");
    EXPECT_EQ(SystemPrimaryLanguage(), LANG_PRIMARY_ENGLISH);
}

TEST(AppStateTest, ComboDropWidth) {
    CKelvanoAppState app;
    const std::vector<int> items = {40, 112, 87};
    app.FillTemplateTable(LANG_PRIMARY_ENGLISH);
    EXPECT_EQ(app.GetComboDropWidth(items, 1, 17), 112 - 15);
    EXPECT_EQ(app.GetComboDropWidth(items, 0, 17), 112 + 17 + 8);
    app.FillTemplateTable(LANG_PRIMARY_KOREAN);
    EXPECT_EQ(app.GetComboDropWidth(items, 1, 17), 112 + 17);
    EXPECT_EQ(app.GetComboDropWidth({}, 0, 17), 25);
}

TEST(AppStateTest, FoldersLieNextToTheProgram) {
    CKelvanoAppState app;
    app.InitFolders("/opt/kelvano");
    EXPECT_EQ(app.GetStartDir(), "/opt/kelvano");
    EXPECT_EQ(app.GetProgramDir(), "/opt/kelvano");
    EXPECT_EQ(app.m_strTextureDir, "/opt/kelvano/Textures");
    EXPECT_EQ(app.m_strTextureDir2, "/opt/kelvano/Textures");
    EXPECT_EQ(app.m_strBackgroundDir, "/opt/kelvano/Backgrounds");
    EXPECT_EQ(app.m_strSoundDir, "/opt/kelvano/Sounds");
    EXPECT_EQ(app.GetSceneDir(), "/opt/kelvano/scenes");
    EXPECT_EQ(app.GetModelDir(), "/opt/kelvano");
    EXPECT_EQ(app.m_strImageDir, "/opt/kelvano");
}

TEST(AppStateTest, ExportsStartInTheUsersDocuments) {
    namespace fs = std::filesystem;
    const fs::path home = fs::temp_directory_path() / ("kv-home-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::unsetenv("XDG_DOCUMENTS_DIR");
    ::setenv("HOME", home.c_str(), 1);
    CKelvanoAppState app;
    app.InitFolders("/opt/kelvano");
    EXPECT_EQ(app.GetExportFolder(), home.string());
    fs::create_directories(home / "Documents");
    app.InitFolders("/opt/kelvano");
    EXPECT_EQ(app.GetExportFolder(), (home / "Documents").string());
    ::unsetenv("HOME");
    EXPECT_EQ(UserDocumentsFolder("/opt/kelvano"), "/opt/kelvano");
    ::setenv("HOME", oldHome.c_str(), 1);
    fs::remove_all(home);
}

TEST(AppStateTest, TexturesAreFoundInTheProgramsFoldersAndRead) {
    const std::string dir = testOutputDir() + "/appstate-program";
    std::filesystem::create_directories(dir + "/Textures");
    const uint8_t pixels[2 * 2 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    ASSERT_TRUE(writePNG(dir + "/Textures/tile.png", pixels, 2, 2, 24, 0, 1.0));
    CKelvanoAppState app;
    app.InitFolders(dir);
    app.InitSceneServices();
    EXPECT_EQ(sgGetTextureFolders(), (std::vector<std::string>{dir + "/Textures", dir + "/Backgrounds", dir}));
    const std::string found = sgResolveTexturePath("tile.png");
    EXPECT_EQ(found, dir + "/Textures/tile.png");
    int components = 0;
    sgImagePtr image = sgReadImage(4, found, &components);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(components, 3);
}

TEST(AppStateTest, TheSampleScenesChartsAreReadOnceServicesAreInstalled) {
    CKelvanoAppState app;
    app.InitFolders(testOutputDir());
    app.InitSceneServices();
    const std::string path = std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/data/scenes/allcharts.apn";
    pnScene scene;
    ASSERT_EQ(pnSceneLoader().readFile(scene, path), 1) << path;
    EXPECT_EQ(scene.getNumCharts(), 4);
}

TEST(AppStateTest, TheNewestStateIsCurrentUntilDestroyed) {
    EXPECT_EQ(GetAppState(), nullptr);
    {
        CKelvanoAppState app;
        EXPECT_EQ(GetAppState(), &app);
        EXPECT_EQ(app.m_nColorBits, 24);
        EXPECT_EQ(app.m_nAlphaBits, 0);
        EXPECT_EQ(app.m_pCurrentDoc, nullptr);
    }
    EXPECT_EQ(GetAppState(), nullptr);
}

TEST(AppStateTest, CommandLinePathsBecomeAbsoluteAgainstTheStartFolder) {
    EXPECT_EQ(ResolveCommandLinePath("scenes/demo.apn", "/home/ann/work"), "/home/ann/work/scenes/demo.apn");
    EXPECT_EQ(ResolveCommandLinePath("../demo.apn", "/home/ann/work"), "/home/ann/demo.apn");
    EXPECT_EQ(ResolveCommandLinePath("./a b.apn", "/tmp"), "/tmp/a b.apn");
    EXPECT_EQ(ResolveCommandLinePath("/data/x.apn", "/home/ann"), "/data/x.apn");
    EXPECT_EQ(ResolveCommandLinePath("", "/home/ann"), "");
}

TEST(AppStateTest, CommandLineAsksForTheUsageOrAFile) {
    struct Case {
        std::vector<std::string> args;
        bool help;
        const char* file;
        const char* unknown;
    };
    for (const Case& c : {Case{{}, false, "", ""},
                          Case{{"demo.apn"}, false, "demo.apn", ""},
                          Case{{"--help"}, true, "", ""},
                          Case{{"a.apn", "-h"}, true, "a.apn", ""},
                          Case{{"--size", "a.apn", "b.apn"}, false, "a.apn", "--size"},
                          Case{{"--", "-dash.apn", "--help"}, false, "-dash.apn", ""},
                          Case{{"-"}, false, "-", ""}}) {
        const CommandLineRequest r = ParseCommandLine(c.args);
        EXPECT_EQ(r.help, c.help) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.file, c.file) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.unknownOption, c.unknown) << ::testing::PrintToString(c.args);
    }
    EXPECT_EQ(CommandLineUsage("kelvano").rfind("Usage: kelvano [scene.apn]\n", 0), 0u);
}

TEST(AppStateTest, ASettingsFolderThatCannotBeWrittenIsNamed) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(testOutputDir()) / "settings-folder";
    fs::remove_all(dir);
    std::string folder;
    // Made when missing.
    EXPECT_TRUE(SettingsFolderWritable((dir / "kelvano" / "kelvano.conf").string(), folder));
    EXPECT_EQ(folder, (dir / "kelvano").string());
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));  // the probe file is gone
    // Under a plain file no folder can be made, whoever runs the test.
    std::ofstream(dir / "file") << "x";
    EXPECT_FALSE(SettingsFolderWritable((dir / "file" / "kelvano" / "kelvano.conf").string(), folder));
    EXPECT_EQ(folder, (dir / "file" / "kelvano").string());
    EXPECT_NE(SettingsFolderMessage(folder).find("\"" + folder + "\""), std::string::npos);
    // A folder where the file belongs.
    fs::create_directories(dir / "kelvano" / "kelvano.conf");
    EXPECT_FALSE(SettingsFolderWritable((dir / "kelvano" / "kelvano.conf").string(), folder));
}

TEST(AppStateTest, HomogeneousPoint) {
    sgVec3 p;
    p[0] = 1.5f;
    p[1] = -2.0f;
    p[2] = 300.0f;
    float out[4] = {9, 9, 9, 9};
    makeVec4Point(p, out);
    EXPECT_FLOAT_EQ(out[0], 1.5f);
    EXPECT_FLOAT_EQ(out[1], -2.0f);
    EXPECT_FLOAT_EQ(out[2], 300.0f);
    EXPECT_FLOAT_EQ(out[3], 1.0f);
}

TEST(RecentFileListTest, NewestFirstWithoutRepeatsAtMostFive) {
    CRecentFileList list(5);
    for (const char* p : {"/a.apn", "/b.apn", "/c.apn", "/d.apn", "/e.apn", "/f.apn"}) list.Add(p);
    ASSERT_EQ(list.GetSize(), 5);
    EXPECT_EQ(list.GetEntry(0), "/f.apn");
    EXPECT_EQ(list.GetEntry(4), "/b.apn");
    list.Add("/d.apn");
    EXPECT_EQ(list.GetEntry(0), "/d.apn");
    EXPECT_EQ(list.GetEntry(1), "/f.apn");
    EXPECT_EQ(list.GetSize(), 5);
    EXPECT_EQ(list.GetEntry(5), "");
    EXPECT_EQ(list.GetEntry(-1), "");

    list.Add("/R&D/plan.apn");
    EXPECT_EQ(list.GetMenuText(0), "&1 /R&&D/plan.apn");

    MemoryProfile profile;
    list.WriteList(profile);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1", ""), "/R&D/plan.apn");
    CRecentFileList read(5);
    read.ReadList(profile);
    ASSERT_EQ(read.GetSize(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(read.GetEntry(i), list.GetEntry(i));

    // Removing entries writes empty places, which read back as absent.
    list.Remove(0);
    list.Remove(0);
    list.WriteList(profile);
    read.ReadList(profile);
    EXPECT_EQ(read.GetSize(), 3);
}

TEST(AboutLinksTest, MailLinkCarriesTheSubject) {
    EXPECT_EQ(kv::SupportMailUrl(), "mailto:support@example.com?subject=Kelvano%20support%20needed");
    EXPECT_EQ(kv::PercentEncode("a&b=c?"), "a%26b%3Dc%3F");
}
