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

// How a read file ended: whole, or inside a block (cut off while it was
// written or copied), named by the word before its "{" and that "{"'s line.
struct pnReadEnd {
    bool whole = true;
    std::string block;
    int line = 0;
};

class pnSceneLoader {
public:
    // programDir: the folder the program's data folders ("ChartSlices",
    // "Textures", "Backgrounds") sit in; empty when there is none.
    explicit pnSceneLoader(std::string programDir = std::string());

    // What readScene and readFile return.
    enum Result { NOT_FOUND = 0, READ = 1, NOT_A_SCENE = -1 };
    // The checks every open makes, the program's and the render tool's: a
    // path that names nothing readable is NOT_FOUND; a device, a pipe or a
    // folder is NOT_A_SCENE and never read (/dev/zero would never end); a
    // regular file is read into scene (an empty one), and is NOT_A_SCENE
    // when nothing of a scene came of it (a text file, random bytes): no
    // block of a known kind and nothing a block leaves behind.
    // end, when given, tells whether the file ended inside a block.
    static Result readScene(pnScene& scene, const std::string& path, pnReadEnd* end = nullptr);
    // readScene, then, when read, the folders for the file's folder.
    Result readFile(pnScene& scene, const std::string& path, pnReadEnd* end = nullptr) const;
    // Reads an open file from where it stands; the caller closes it. The
    // number of blocks of known kinds read.
    static int readStream(pnScene& scene, FILE* file, pnReadEnd* end = nullptr);
    // What every program says of a file that ends inside a block:
    // "PATH" ends inside the "material" block at line 212.
    static std::string cutShortMessage(const std::string& path, const pnReadEnd& end);
    // Whether a read left anything of a scene in a scene that was empty
    // before: a block of any kind leaves a record, a name, a size or a
    // version behind.
    static bool readAnything(const pnScene& scene);

    // Relative model names are found beside the scene, then in the program's
    // folder and its "ChartSlices" (where the charts' default part names
    // live); texture names beside the scene, then in "Textures",
    // "Backgrounds" and the program's folder; sound cues beside the scene,
    // then in "Sounds". Stored names are never rewritten.
    std::vector<std::string> modelFolders(const std::string& sceneFolder) const;
    std::vector<std::string> textureFolders(const std::string& sceneFolder) const;
    void setFolders(const std::string& sceneFolder) const;

    // Hangs the scene on the roots and builds its graph at frame 0.
    static void buildSceneGraph(pnScene& scene, SceneGraphRoots& roots);

    const std::string& getProgramDir() const { return programDir; }

private:
    std::string programDir;
};
