// The sound cues of a scene as the movie's sound list.
#include "export/CAviWriter.h"
#include "platform/PathParts.h"
#include "platform/PathResolver.h"
#include "scene/pnScene.h"

AviSoundList SceneSoundList(const pnScene& scene, int first, int last, const std::string& sceneFile,
                            const std::vector<std::string>& folders) {
    AviSoundList list;
    const std::string sceneDir = sceneFile.empty() ? std::string() : pathFolder(sceneFile);
    // The cues are kept in frame order.
    for (int i = 0; i < scene.getNumSounds() && list.size() < kAviMaxSounds; ++i) {
        const pnSound sound = scene.getSound(i);
        if (sound.frame > last) break;
        if (sound.frame < first || sound.file.empty()) continue;
        list.push_back({resolveSceneFile(sound.file, sceneDir, folders), int64_t(sound.frame) - first});
    }
    return list;
}
