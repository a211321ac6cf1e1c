#include "scene/pnSceneLoader.h"

#include <filesystem>
#include <utility>

#include "assets/sgModelTable.h"
#include "scene/pnLexer.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgTextureFileTable.h"

pnSceneLoader::pnSceneLoader(std::string dir) : programDir(std::move(dir)) {}

int pnSceneLoader::readFile(pnScene& scene, const std::string& path) const {
    FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "r");
    if (!file) return 0;
    readStream(scene, file);
    std::fclose(file);
    setFolders(std::filesystem::path(path).parent_path().string());
    return 1;
}

void pnSceneLoader::readStream(pnScene& scene, FILE* file) {
    pnLexer lexer(file);
    scene.read(lexer);
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
    }
    return folders;
}

void pnSceneLoader::setFolders(const std::string& sceneFolder) const {
    sgModelTable::instance().setFolders(modelFolders(sceneFolder));
    sgSetTextureFolders(textureFolders(sceneFolder));
}

void pnSceneLoader::buildSceneGraph(pnScene& scene, SceneGraphRoots& roots) {
    scene.setRoots(&roots);
    roots.currentFrame = 0;
    scene.buildSceneGraph();
}
