// The state every window and dialog reaches through the application object:
// the current document and view, the pixel-format bits, the folders and the
// table of dialog layouts. It is kept free of wx so that the document, the view
// and their tests use it without a window system; the program's CKelvanoApp
// derives from it.
#pragma once

#include "sg/sgVec.h"

#include <string>
#include <vector>

class CKelvanoDoc;
class CKelvanoView;
class pnObject;
class pnScene;

// Dialog layouts exist twice; each dialog reads its layout number here.
struct DialogTemplates {
    int m_iddModelSelect = 0;
    int m_iddAbout = 0;
    int m_iddBarGraphPage = 0;
    int m_iddLineGraphPage = 0;
    int m_iddCutShape = 0;
    int m_iddJointShape = 0;
    int m_iddPieGraphPage = 0;
    int m_iddAreaGraphPage = 0;
    int m_iddMaterial = 0;
    int m_iddColor = 0;
    int m_iddMaterialDetail = 0;
    int m_iddPanelTexture = 0;
    int m_iddAddText = 0;
    int m_iddEditBoxBar = 0;
    int m_iddGrowShrink = 0;
    int m_iddTimeLine = 0;
    int m_iddTimeLineBar = 0;
    int m_iddLightPage = 0;
    int m_iddCameraPage = 0;
    int m_iddTextPage = 0;
    int m_iddPanelPage = 0;
    int m_iddModelPage = 0;
    int m_iddJpegFileDlg = 0;
    int m_iddEffectList = 0;
};

// Primary language numbers as the layout choice knows them.
enum : int { LANG_PRIMARY_OTHER = 0x00, LANG_PRIMARY_ENGLISH = 0x09, LANG_PRIMARY_JAPANESE = 0x11, LANG_PRIMARY_KOREAN = 0x12 };

class CKelvanoAppState {
public:
    // The newest state object becomes the current one; its destruction clears it.
    CKelvanoAppState();
    virtual ~CKelvanoAppState();
    CKelvanoAppState(const CKelvanoAppState&) = delete;
    CKelvanoAppState& operator=(const CKelvanoAppState&) = delete;

    // Start-up: the folder strings from the program's folder (no separator at
    // the end), and the layout table from the primary language.
    void InitFolders(const std::string& programDir);
    void FillTemplateTable(int primaryLanguage);
    // The scene libraries' program-wide settings: the texture image readers
    // and the folders texture names are found in. After InitFolders.
    void InitSceneServices() const;

    std::string GetStartDir() const { return m_strStartDir; }
    std::string GetProgramDir() const { return m_strProgramDir; }
    std::string GetSceneDir() const { return m_strSceneDir; }
    void SetSceneDir(const std::string& dir) { m_strSceneDir = dir; }
    std::string GetExportFolder() const { return m_strExportFolder; }
    void SetExportFolder(const std::string& dir) { m_strExportFolder = dir; }
    std::string GetModelDir() const { return m_strModelDir; }
    void SetModelDir(const std::string& dir) { m_strModelDir = dir; }
    // Adds a path to the recent-file list when the program keeps one.
    virtual void AddToRecentFiles(const std::string& path) {}
    // Takes a path off the recent-file list (an entry whose file is gone).
    virtual void RemoveFromRecentFiles(const std::string& path) {}

    // Width of a combo box's drop-down list from the measured item widths.
    // barFlag 0 (dialogs): widest + scroll bar + 8; otherwise widest - 15 on
    // English systems, widest + scroll bar on others.
    int GetComboDropWidth(const std::vector<int>& itemWidths, int barFlag, int scrollBarWidth) const;

    std::string m_strOpenFile;
    int m_nStartState = 0;
    int m_nColorBits = 24;
    int m_nAlphaBits = 0;
    int m_nLanguage = 0;      // the system language, as read at start-up
    int m_bPrimaryLang = 0;   // its primary language
    DialogTemplates m_templates;
    int m_bEmbedded = 0;
    CKelvanoDoc* m_pCurrentDoc = nullptr;
    CKelvanoView* m_pCurrentView = nullptr;
    std::string m_strProgramDir;
    std::string m_strSceneDir;
    std::string m_strTextureDir, m_strTextureDir2;
    std::string m_strBackgroundDir, m_strBackgroundDir2;
    std::string m_strSoundDir, m_strSoundDir2;
    std::string m_strExportFolder, m_strExportFolder2;
    std::string m_strModelDir, m_strModelDir2;
    std::string m_strImageDir, m_strImageDir2;
    std::string m_strStartDir;
};

// The current state object (the running program's application object, or the
// one a test made); null when none exists.
CKelvanoAppState* GetAppState();
// The current view: the one way windows and dialogs reach the view (and,
// through it, the document and the scene); null when there is none.
CKelvanoView* CurrentView();
// The current view's document, scene and selected object; null when there is
// no view (or no document) for them.
CKelvanoDoc* CurrentDocument();
pnScene* CurrentScene();
pnObject* CurrentSelection();
// The user's documents folder ($XDG_DOCUMENTS_DIR, ~/Documents), else the home
// folder, else fallback: where exports are first offered.
std::string UserDocumentsFolder(const std::string& fallback);

// Primary language of a locale name such as "ko_KR.UTF-8" or "ja".
int PrimaryLanguageOfLocale(const std::string& localeName);
// The system's primary language from LC_ALL, LC_MESSAGES and LANG, in the
// order the C library gives them precedence.
int SystemPrimaryLanguage();

// A file named on the command line, made absolute against the folder the user
// typed it in, so that nothing later depends on the current directory.
std::string ResolveCommandLinePath(const std::string& argument, const std::string& currentDir);

// What the command line asks for: the usage, or the program with an optional
// scene file (the first argument that is not an option; "--" ends the
// options). An option the program does not know is kept to be reported.
struct CommandLineRequest {
    bool help = false;
    std::string file;
    std::string unknownOption;
};
CommandLineRequest ParseCommandLine(const std::vector<std::string>& args);
// The text --help prints, for the program started as `program`.
std::string CommandLineUsage(const std::string& program);

// Whether the folder of the settings file exists (it is made when missing)
// and takes new files; folder receives the folder either way.
bool SettingsFolderWritable(const std::string& settingsFile, std::string& folder);
// The start-up message for a settings folder that cannot be written.
std::string SettingsFolderMessage(const std::string& folder);

// x, y, z of a point and 1: a homogeneous position for GL lights.
void makeVec4Point(const sgVec3& point, float out[4]);
