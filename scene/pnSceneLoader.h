// Opening a scene file, written once for the view, the render tool, the
// benchmarks, the fuzz target and the tests: open, read with a lexer of the
// read's own, close; then point the model and texture look-ups at the scene's
// folder and the program's data folders, and build the graph on the roots.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class pnScene;
struct SceneGraphRoots;

class pnSceneLoader {
public:
    // programDir: the folder the program's data folders ("ChartSlices",
    // "Textures", "Backgrounds") sit in; empty when there is none.
    explicit pnSceneLoader(std::string programDir = std::string());

    // Reads the scene file into scene (normally an empty one) and sets the
    // folders for the file's folder. 0, with nothing changed, when the file
    // cannot be opened.
    int readFile(pnScene& scene, const std::string& path) const;
    // Reads an open file from where it stands; the caller closes it.
    static void readStream(pnScene& scene, FILE* file);

    // Relative model names are found beside the scene, then in the program's
    // folder and its "ChartSlices" (where the charts' default part names
    // live); texture names beside the scene, then in "Textures" and
    // "Backgrounds". Stored names are never rewritten.
    std::vector<std::string> modelFolders(const std::string& sceneFolder) const;
    std::vector<std::string> textureFolders(const std::string& sceneFolder) const;
    void setFolders(const std::string& sceneFolder) const;

    // Hangs the scene on the roots and builds its graph at frame 0.
    static void buildSceneGraph(pnScene& scene, SceneGraphRoots& roots);

    const std::string& getProgramDir() const { return programDir; }

private:
    std::string programDir;
};
