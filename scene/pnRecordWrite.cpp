// The ".apn" blocks of the scene's records: materials, lights, the viewpoint,
// effects and events. Each writes only what its flags say was given, so a
// file read back sets the same flags.
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnViewpoint.h"
#include "scene/pnWriteUtil.h"

int pnMaterial::write(FILE* f) const {
    pnWriteBlockBegin(f, "material");
    pnWriteQuoted(f, "name", name);
    if (setFlags[FILE_FLAG] && !file.empty()) pnWriteQuoted(f, "file", file);
    if (setFlags[DIFFUSE_FLAG]) pnWriteVec3(f, "diffuse", diffuse);
    if (setFlags[AMBIENT_FLAG]) pnWriteVec3(f, "ambient", ambient);
    if (setFlags[EMISSION_FLAG]) pnWriteVec3(f, "emission", emission);
    if (setFlags[SPECULAR_FLAG]) pnWriteVec3(f, "specular", specular);
    if (setFlags[SHININESS_FLAG]) pnWriteFloat(f, "shininess", shininess);
    if (setFlags[ALPHA_FLAG]) pnWriteFloat(f, "alpha", alpha);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}

int pnLight::write(FILE* f) const {
    pnWriteBlockBegin(f, "light");
    pnWriteQuoted(f, "name", name);
    pnWriteVec3(f, "position", position);
    if (setFlags[ATTENUATION_FLAG]) pnWriteVec3(f, "attenuation", attenuation);
    if (setFlags[SPOTCONE_FLAG]) pnWriteVec2(f, "spotCone", spotCone[0], spotCone[1]);
    if (setFlags[SPOTDIRECTION_FLAG]) pnWriteVec3(f, "spotDirection", spotDirection);
    if (setFlags[MATERIAL_FLAG] && !material.empty()) pnWriteQuoted(f, "material", material);
    if (setFlags[INTENSITY_FLAG]) pnWriteFloat(f, "intensity", intensity);
    // The light's image; the reader has always taken it, so it survives a save.
    if (!file.empty()) pnWriteQuoted(f, "file", file);
    pnWriteInt(f, "positional", positional ? 1 : 0);
    pnWriteInt(f, "on", on);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}

int pnViewpoint::write(FILE* f) const {
    pnWriteBlockBegin(f, "viewpoint");
    pnWriteQuoted(f, "name", name);
    pnWriteVec3(f, "position", position);
    pnWriteVec3(f, "direction", direction);
    pnWriteFloat(f, "near", near);
    pnWriteFloat(f, "far", far, "\t\t");
    pnWriteFloat(f, "fov", fov, "\t\t");
    pnWriteFloat(f, "width", width, "\t\t");
    pnWriteInt(f, "perspective", perspective, "\t\t");
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}

int pnEffect::write(FILE* f) const {
    pnWriteBlockBegin(f, "effect");
    pnWriteQuoted(f, "name", name);
    if (flags[TRANS_FLAG]) pnWriteVec3(f, "trans", trans);
    // An axis without an angle turns nothing, so it is written only with one.
    if (flags[ROTANGLE_FLAG] && rotAngle != 0.0f) {
        pnWriteFloat(f, "rotAngle", rotAngle);
        if (flags[ROTAXIS_FLAG]) pnWriteVec3(f, "rotAxis", rotAxis);
    }
    if (flags[PIVOTANGLE_FLAG]) pnWriteFloat(f, "pivotAngle", pivotAngle);
    if (flags[PIVOTAXIS_FLAG]) pnWritef(f, "    pivotAxis\t(%f %f %f)\n", pivotAxis[0], pivotAxis[1], pivotAxis[2]);
    if (flags[SCALE_FLAG]) pnWriteVec3(f, "scale", scale);
    if (flags[CENTER_FLAG]) pnWriteVec3(f, "center", center);
    if (flags[COLOR_FLAG] && !color.empty()) pnWriteQuoted(f, "color", color);
    if (flags[GROW_FLAG]) pnWritef(f, "    grow\t(%d %d %d)\n", growShrink[0], growShrink[1], growShrink[2]);
    if (flags[SHRINK_FLAG]) pnWritef(f, "    shrink\t(%d %d %d)\n", growShrink[0], growShrink[1], growShrink[2]);
    // The motion path and its easing are read back from these keys; without
    // them a saved scene would lose its paths. Point 0 is the implicit start.
    for (int i = 1; i < numPathPoints && i < MAX_PATH_POINTS; ++i)
        pnWritef(f, "    bezier\t(%f %f %f)\n", path.points[i][0], path.points[i][1], path.points[i][2]);
    if (path.easeInPercent) pnWriteInt(f, "in", path.easeInPercent);
    if (path.easeOutPercent) pnWriteInt(f, "out", path.easeOutPercent);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}

int pnEvent::write(FILE* f) const {
    pnWriteBlockBegin(f, "event");
    pnWriteQuoted(f, "name", name);
    if (objectNames.empty()) {
        pnWriteQuoted(f, "objectName", "");
        std::fprintf(stderr, "WARNING: no object assigned to event, %s\n", name.c_str());
    } else if (objectNames.size() == 1) {
        pnWriteQuoted(f, "objectName", objectNames[0]);
    } else {
        pnWritef(f, "    objectName\t(");
        for (const std::string& n : objectNames) pnWritef(f, " \"%s\"", pnQuotable(n).c_str());
        pnWritef(f, " )\n");
    }
    if (hasParent) pnWriteQuoted(f, "parent", parent);
    for (const auto& p : plays)
        pnWritef(f, "    play\t( \"%s\" %d %d %d )\n", pnQuotable(p->effect).c_str(), p->start, p->end, p->visible);
    // What the reader takes the file keeps: each key only where it differs
    // from a new event's, after the plays that a repeat counts from.
    if (delay != 0) pnWriteInt(f, "delay", delay);
    if (disappear != -1) pnWriteInt(f, "disappear", disappear);
    if (nonStop != 0) pnWriteInt(f, "nonStop", nonStop);
    if (repeat != 1) pnWriteInt(f, "repeat", repeat);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}
