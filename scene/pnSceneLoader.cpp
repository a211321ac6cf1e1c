#include "scene/pnSceneLoader.h"

#include <sys/stat.h>

#include <filesystem>
#include <utility>

#include "assets/sgModelTable.h"
#include "platform/SoundPlayer.h"
#include "scene/pnLexer.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgTextureFileTable.h"

pnSceneLoader::pnSceneLoader(std::string dir) : programDir(std::move(dir)) {}

pnSceneLoader::Result pnSceneLoader::readScene(pnScene& scene, const std::string& path, pnReadEnd* end) {
    if (end) *end = pnReadEnd();
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return NOT_FOUND;
    if (!S_ISREG(st.st_mode)) return NOT_A_SCENE;
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return NOT_FOUND;
    // The file may have been swapped for a device between the two looks.
    if (::fstat(::fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(file);
        return NOT_A_SCENE;
    }
    const int blocks = readStream(scene, file, end);
    std::fclose(file);
    // A scene block of default values is a scene all the same: the writer
    // writes one for a new, empty scene.
    return blocks > 0 || readAnything(scene) ? READ : NOT_A_SCENE;
}

pnSceneLoader::Result pnSceneLoader::readFile(pnScene& scene, const std::string& path, pnReadEnd* end) const {
    const Result result = readScene(scene, path, end);
    if (result == READ) setFolders(std::filesystem::path(path).parent_path().string());
    return result;
}

bool pnSceneLoader::readAnything(const pnScene& s) {
    const pnScene fresh;
    return s.getNumObjects() || s.getNumMaterials() || s.getNumLights() || s.getNumEvents() || s.getNumEffects() ||
           s.getNumStringProperties() || s.getNumCharts() || s.getNumPauses() || s.getNumSounds() ||
           s.getBackground() || s.getViewpoint() || !s.getName().empty() || s.getVersion() != fresh.getVersion() ||
           s.getWidth() != fresh.getWidth() || s.getHeight() != fresh.getHeight() ||
           s.getAlign() != fresh.getAlign() || s.getSetFlag(pnScene::POSITION_FLAG) ||
           s.getSetFlag(pnScene::ROTANGLE_FLAG) || s.getSetFlag(pnScene::ROTAXIS_FLAG) ||
           s.getSetFlag(pnScene::SCALE_FLAG);
}

int pnSceneLoader::readStream(pnScene& scene, FILE* file, pnReadEnd* end) {
    pnLexer lexer(file);
    const int blocks = scene.read(lexer);
    if (end) {
        end->whole = !lexer.endedInsideBlock();
        end->block = end->whole ? std::string() : lexer.openBlockWord();
        end->line = end->whole ? 0 : lexer.openBlockLine();
    }
    return blocks;
}

std::string pnSceneLoader::cutShortMessage(const std::string& path, const pnReadEnd& end) {
    if (end.whole) return std::string();
    return "\"" + path + "\" ends inside the \"" + end.block + "\" block at line " + std::to_string(end.line) + ".";
}

std::vector<std::string> pnSceneLoader::modelFolders(const std::string& sceneFolder) const {
    std::vector<std::string> folders;
    if (!sceneFolder.empty()) folders.push_back(sceneFolder);
    if (!programDir.empty()) {
        folders.push_back(programDir);
        folders.push_back(programDir + "/ChartSlices");
    }
    return folders;
}

std::vector<std::string> pnSceneLoader::textureFolders(const std::string& sceneFolder) const {
    std::vector<std::string> folders;
    if (!sceneFolder.empty()) folders.push_back(sceneFolder);
    if (!programDir.empty()) {
        folders.push_back(programDir + "/Textures");
        folders.push_back(programDir + "/Backgrounds");
        // Pictures chosen elsewhere under the program folder are stored relative to it.
        folders.push_back(programDir);
    }
    return folders;
}

void pnSceneLoader::setFolders(const std::string& sceneFolder) const {
    sgModelTable::instance().setFolders(modelFolders(sceneFolder));
    sgSetTextureFolders(textureFolders(sceneFolder));
    setSoundFolders(sceneFolder, programDir.empty() ? std::vector<std::string>() : std::vector<std::string>{programDir + "/Sounds"});
}

void pnSceneLoader::buildSceneGraph(pnScene& scene, SceneGraphRoots& roots) {
    scene.setRoots(&roots);
    roots.currentFrame = 0;
    scene.buildSceneGraph();
}
