// Writing ".apn" scene files: the file order, the scene block and the save
// that never damages the file it replaces.
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/AtomicFile.h"
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
    for (const pnEvent* event : eventsParentsFirst()) ok &= event->write(f);
    return ok && pnWriteOk(f);
}

int pnScene::save(const char* path, int convertPaths, std::string* why) {
    static const char* kWho = "[pnScene::save] ";
    AtomicFile out;
    if (!path || !*path || !out.open(path)) {
        debugPrint2(kWho, "file cannot be opened for writing");
        if (why) *why = out.reason().empty() ? std::string(std::strerror(ENOENT)) : out.reason();
        return 0;
    }
    // The old file is replaced only once all of the scene is written.
    errno = 0;
    const bool written = writeScene(out.file(), convertPaths) != 0;
    const int writeError = errno;
    if (!written || !out.commit()) {
        out.discard();
        debugPrint2(kWho, "file could not be written");
        if (why) *why = !written ? std::strerror(writeError ? writeError : EIO) : out.reason();
        return 0;
    }
    return 1;
}
