#include "editor/CKelvanoAppState.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "assets/ImageReaders.h"
#include "charts/pnChartRead.h"
#include "sg/sgTextureFileTable.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#include <unistd.h>

namespace {
CKelvanoAppState* g_pAppState = nullptr;
}

CKelvanoAppState::CKelvanoAppState() { g_pAppState = this; }

CKelvanoAppState::~CKelvanoAppState() {
    if (g_pAppState == this) g_pAppState = nullptr;
}

CKelvanoAppState* GetAppState() { return g_pAppState; }

CKelvanoView* CurrentView() { return g_pAppState ? g_pAppState->m_pCurrentView : nullptr; }

CKelvanoDoc* CurrentDocument() {
    const CKelvanoView* view = CurrentView();
    return view ? view->GetDocument() : nullptr;
}

pnScene* CurrentScene() {
    const CKelvanoView* view = CurrentView();
    return view ? view->GetScene() : nullptr;
}

pnObject* CurrentSelection() {
    const CKelvanoDoc* doc = CurrentDocument();
    return doc ? doc->m_pSelectedObject : nullptr;
}

std::string UserDocumentsFolder(const std::string& fallback) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (const char* docs = std::getenv("XDG_DOCUMENTS_DIR"); docs && *docs && fs::is_directory(docs, ec)) return docs;
    const char* home = std::getenv("HOME");
    if (!home || !*home) return fallback;
    if (fs::is_directory(fs::path(home) / "Documents", ec)) return (fs::path(home) / "Documents").string();
    return home;
}

void CKelvanoAppState::InitFolders(const std::string& programDir) {
    m_strStartDir = programDir;
    m_strProgramDir = programDir;
    m_strTextureDir = m_strTextureDir2 = programDir + "/Textures";
    m_strBackgroundDir = m_strBackgroundDir2 = programDir + "/Backgrounds";
    m_strSoundDir = m_strSoundDir2 = programDir + "/Sounds";
    m_strExportFolder = m_strExportFolder2 = UserDocumentsFolder(programDir);
    m_strModelDir = m_strModelDir2 = programDir;
    m_strImageDir = m_strImageDir2 = programDir;
    m_strSceneDir = programDir + "/scenes";
}

void CKelvanoAppState::InitSceneServices() const {
    installImageReaders();
    // Scene files hold charts; the chart kinds read their own blocks.
    installChartKinds();
    // Texture names are kept relative to these folders (or absolute); a
    // picture chosen elsewhere under the program folder is stored relative to it.
    sgSetTextureFolders({m_strTextureDir, m_strBackgroundDir, m_strProgramDir});
}

void CKelvanoAppState::FillTemplateTable(int primaryLanguage) {
    const bool second = primaryLanguage == LANG_PRIMARY_KOREAN || primaryLanguage == LANG_PRIMARY_JAPANESE;
    DialogTemplates& t = m_templates;
    auto pick = [second](int koreanJapanese, int other) { return second ? koreanJapanese : other; };
    t.m_iddModelSelect = pick(185, 156);
    t.m_iddAbout = pick(280, 278);
    t.m_iddBarGraphPage = pick(222, 131);
    t.m_iddLineGraphPage = pick(215, 128);
    t.m_iddCutShape = pick(218, 178);
    t.m_iddJointShape = pick(217, 179);
    t.m_iddPieGraphPage = pick(213, 129);
    t.m_iddAreaGraphPage = pick(228, 130);
    t.m_iddMaterial = pick(220, 126);
    t.m_iddColor = pick(219, 121);
    t.m_iddMaterialDetail = pick(221, 117);
    t.m_iddPanelTexture = pick(214, 181);
    t.m_iddAddText = pick(207, 161);
    t.m_iddEditBoxBar = pick(216, 105);
    t.m_iddGrowShrink = pick(206, 225);
    t.m_iddTimeLine = pick(226, 188);
    t.m_iddTimeLineBar = pick(227, 202);
    t.m_iddLightPage = pick(208, 112);
    t.m_iddCameraPage = pick(251, 113);
    t.m_iddTextPage = pick(255, 114);
    t.m_iddPanelPage = pick(252, 116);
    t.m_iddModelPage = pick(254, 122);
    t.m_iddJpegFileDlg = pick(256, 269);
    t.m_iddEffectList = 296;
    m_nLanguage = primaryLanguage;
    m_bPrimaryLang = primaryLanguage & 0xFF;
}

int CKelvanoAppState::GetComboDropWidth(const std::vector<int>& itemWidths, int barFlag, int scrollBarWidth) const {
    int widest = 0;
    for (int w : itemWidths) widest = std::max(widest, w);
    if (barFlag == 0) return widest + scrollBarWidth + 8;
    if (m_bPrimaryLang == LANG_PRIMARY_ENGLISH) return widest - 15;
    return widest + scrollBarWidth;
}

int PrimaryLanguageOfLocale(const std::string& localeName) {
    std::string lang;
    for (char c : localeName) {
        if (!std::isalpha(static_cast<unsigned char>(c))) break;
        lang += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (lang == "ko") return LANG_PRIMARY_KOREAN;
    if (lang == "ja") return LANG_PRIMARY_JAPANESE;
    // The C and POSIX locales speak English.
    if (lang == "en" || lang == "c" || lang == "posix") return LANG_PRIMARY_ENGLISH;
    return LANG_PRIMARY_OTHER;
}

int SystemPrimaryLanguage() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value) return PrimaryLanguageOfLocale(value);
    }
    return LANG_PRIMARY_ENGLISH;
}

std::string ResolveCommandLinePath(const std::string& argument, const std::string& currentDir) {
    if (argument.empty()) return argument;
    std::filesystem::path p(argument);
    if (p.is_relative()) p = std::filesystem::path(currentDir) / p;
    return p.lexically_normal().string();
}

CommandLineRequest ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineRequest request;
    bool options = true;
    for (const std::string& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && a.size() > 1 && a[0] == '-') {
            if (a == "--help" || a == "-h") request.help = true;
            else if (request.unknownOption.empty()) request.unknownOption = a;
        } else if (request.file.empty() && !a.empty()) {
            request.file = a;
        }
    }
    return request;
}

std::string CommandLineUsage(const std::string& program) {
    return "Usage: " + program + " [scene.apn]\n"
           "Starts Kelvano and opens the scene file when one is named.\n"
           "\n"
           "  -h, --help   show this help and exit\n"
           "  --           end of options: a scene file whose name starts with '-' follows\n";
}

bool SettingsFolderWritable(const std::string& settingsFile, std::string& folder) {
    namespace fs = std::filesystem;
    folder = fs::path(settingsFile).parent_path().string();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) return false;
    // The settings are written beside the file and renamed over it: the
    // folder must take a new file (permission bits alone do not tell, for
    // example on a read-only file system).
    std::string probe = (fs::path(folder) / ".kelvano-XXXXXX").string();
    const int fd = mkstemp(probe.data());
    if (fd < 0) return false;
    close(fd);
    unlink(probe.c_str());
    // A folder standing where the file belongs cannot be replaced by it.
    return !fs::exists(settingsFile, ec) || fs::is_regular_file(settingsFile, ec);
}

std::string SettingsFolderMessage(const std::string& folder) {
    return "The settings folder \"" + folder +
           "\" cannot be written.\nKelvano runs with the settings it could read; changes to them are not kept.";
}

void makeVec4Point(const sgVec3& point, float out[4]) {
    out[0] = point[0];
    out[1] = point[1];
    out[2] = point[2];
    out[3] = 1.0f;
}
