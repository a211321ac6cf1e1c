// Writing ".apn" scene files: the file order, the scene block and the save
// that never damages the file it replaces.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnPortablePath.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgRuntime.h"

namespace {

const char* alignWord(int align) {
    switch (align) {
        case 0: return "Top";
        case 2: return "Center";
        case 3: return "Left";
        case 4: return "Right";
        default: return "Bottom";
    }
}

// The file a save replaces: a link is followed, so the link stays and its
// target gets the new scene.
std::string saveTarget(const char* path) {
    struct stat st;
    if (lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(path, nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return path;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Permissions of the new file: those of the file it replaces, else what a
// plain create would give.
mode_t newFileMode(const std::string& target) {
    struct stat st;
    if (stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

int pnScene::writeSceneBlock(FILE* f, int convertPaths) const {
    pnWriteBlockBegin(f, "scene");
    pnWriteQuoted(f, "name", name);
    pnWriteInt(f, "width", width);
    pnWriteInt(f, "height", height);
    pnWriteInt(f, "version", version);
    if (setFlags[POSITION_FLAG]) pnWriteVec3(f, "position", position);
    if (setFlags[ROTANGLE_FLAG]) pnWriteFloat(f, "rotAngle", rotAngle);
    if (setFlags[ROTAXIS_FLAG]) pnWriteVec3(f, "rotAxis", rotAxis);
    if (setFlags[SCALE_FLAG]) pnWriteVec3(f, "scale", scale, true);
    for (int p : pauses) pnWriteInt(f, "pause", p);
    for (const pnSound& s : sounds) {
        std::string file = s.file;
        if (convertPaths && !pnPortableSoundPath(s.file, file)) continue;
        pnWritef(f, "    sound\t(%d \"%s\")\n", s.frame, pnQuotable(file).c_str());
    }
    if (animScale != 1.0f) pnWriteFloat(f, "animScale", animScale);
    pnWriteWord(f, "align", alignWord(align));
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}

int pnScene::writeScene(FILE* f, int convertPaths) const {
    if (!f) return 0;
    int ok = writeSceneBlock(f, convertPaths);
    if (viewpoint) ok &= viewpoint->write(f);
    if (background) ok &= background->write(f, convertPaths);
    for (int i = 0; i < getNumMaterials(); ++i) ok &= getMaterial(i)->write(f);
    for (int i = 0; i < getNumLights(); ++i) ok &= getLight(i)->write(f);
    for (int i = 0; i < getNumStringProperties(); ++i) ok &= getStringProperty(i)->write(f);
    for (int i = 0; i < getNumObjects(); ++i) ok &= getObject(i)->write(f, convertPaths);
    for (int i = 0; i < getNumEffects(); ++i) ok &= getEffect(i)->write(f);
    for (int i = 0; i < getNumEvents(); ++i) ok &= getEvent(i)->write(f);
    return ok && pnWriteOk(f);
}

int pnScene::save(const char* path, int convertPaths) {
    static const char* kWho = "[pnScene::save] ";
    if (!path || !*path) {
        debugPrint2(kWho, "file cannot be opened for writing");
        return 0;
    }
    std::string target = saveTarget(path);
    // A file the user may not change stays as it is, as it would for a
    // program that writes in place.
    if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0) {
        debugPrint2(kWho, "file cannot be opened for writing");
        return 0;
    }
    // The scene goes to a new file beside the target, which replaces the
    // target only once all of it is written: a failed save leaves the old
    // file whole.
    std::string temp = folderOf(target) + "/." + baseOf(target) + ".XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0) {
        debugPrint2(kWho, "file cannot be opened for writing");
        return 0;
    }
    fchmod(fd, newFileMode(target));
    FILE* f = fdopen(fd, "w");
    if (!f) {
        close(fd);
        unlink(temp.c_str());
        debugPrint2(kWho, "file cannot be opened for writing");
        return 0;
    }
    int ok = writeScene(f, convertPaths);
    if (std::fflush(f) != 0 || fsync(fileno(f)) != 0) ok = 0;
    if (std::fclose(f) != 0) ok = 0;
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) ok = 0;
    if (!ok) {
        unlink(temp.c_str());
        debugPrint2(kWho, "file could not be written");
        return 0;
    }
    return 1;
}
