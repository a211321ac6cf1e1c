// The sound cues of a scene as the movie's sound list.
#include "export/CAviWriter.h"
#include "platform/PathParts.h"
#include "platform/PathResolver.h"
#include "scene/pnScene.h"

AviSoundList SceneSoundList(const pnScene& scene, int first, int last, const std::string& sceneFile,
                            const std::vector<std::string>& folders) {
    AviSoundList list;
    std::vector<std::string> searchDirs;
    const std::string sceneDir = sceneFile.empty() ? std::string() : pathFolder(sceneFile);
    if (!sceneDir.empty()) searchDirs.push_back(sceneDir);
    searchDirs.insert(searchDirs.end(), folders.begin(), folders.end());
    // The cues are kept in frame order.
    for (int i = 0; i < scene.getNumSounds() && list.size() < kAviMaxSounds; ++i) {
        const pnSound sound = scene.getSound(i);
        if (sound.frame > last) break;
        if (sound.frame < first || sound.file.empty()) continue;
        std::string path;
        // A relative name means the scene's folder before the current one.
        const std::string stored = normalizeStoredPath(sound.file);
        if (!sceneDir.empty() && !stored.empty() && stored[0] != '/') path = findStoredPath(sceneDir + "/" + stored);
        if (path.empty()) path = findStoredPath(sound.file, searchDirs);
        if (path.empty()) path = resolvePath(sound.file, searchDirs);
        list.push_back({path, int64_t(sound.frame) - first});
    }
    return list;
}
