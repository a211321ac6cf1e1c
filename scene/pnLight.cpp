#include "scene/pnLight.h"

#include <GL/gl.h>

#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "sg/sgLightSource.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"
#include "sg/sgTexture.h"

pnLight::pnLight() = default;
pnLight::~pnLight() = default;

int pnLight::copy(const pnLight* other) {
    if (!other) return 0;
    if (other == this) return 1;
    if (!other->name.empty()) name = other->name;
    position = other->position;
    attenuation = other->attenuation;
    spotCone = other->spotCone;
    spotDirection = other->spotDirection;
    material = other->material;
    intensity = other->intensity;
    file = other->file;
    on = other->on;
    scene = other->scene;
    for (int i = 0; i < NUM_FLAGS; ++i) setFlags[i] = other->setFlags[i];
    // The copy is an unbuilt light: it owns no texture and no nodes.
    releaseNodes();
    texture.reset();
    built = 0;
    return 1;
}

void pnLight::setName(const char* n) {
    if (n) name = sgCutName(n);
}

void pnLight::sendPosition() {
    if (live()) lightNode->setPosition(position[0], position[1], position[2], positional ? 1.0f : 0.0f);
}

void pnLight::sendSpot() {
    if (live()) lightNode->setSpot(spotCone[0], spotCone[1]);
}

void pnLight::sendMaterialColors() {
    if (!lightNode || !scene || material.empty()) return;
    const pnMaterial* m = scene->findMaterial(material.c_str());
    if (!m) return;  // a name the scene lacks leaves the colours as they are
    sgVec3 a = m->getAmbient(), d = m->getDiffuse(), s = m->getSpecular();
    lightNode->setColor(GL_AMBIENT, a[0], a[1], a[2]);
    lightNode->setColor(GL_DIFFUSE, d[0], d[1], d[2]);
    lightNode->setColor(GL_SPECULAR, s[0], s[1], s[2]);
}

void pnLight::setPosition(float x, float y, float z) {
    position.set(x, y, z);
    sendPosition();
}

void pnLight::setAttenuation(const sgVec3& v) {
    attenuation = v;
    setFlags[ATTENUATION_FLAG] = 1;
    if (live()) lightNode->setAttenuation(v[0], v[1], v[2]);
}

void pnLight::setIntensity(float f) {
    intensity = f;
    setFlags[INTENSITY_FLAG] = 1;
    if (live()) lightNode->setIntensity(-1, f);
}

void pnLight::setSpotDirection(const sgVec3& v) {
    spotDirection = v;
    setFlags[SPOTDIRECTION_FLAG] = 1;
    if (live()) lightNode->setSpotDirection(v[0], v[1], v[2]);
}

void pnLight::setSpotDirectionX(float f) { setSpotDirection(sgVec3(f, spotDirection[1], spotDirection[2])); }
void pnLight::setSpotDirectionY(float f) { setSpotDirection(sgVec3(spotDirection[0], f, spotDirection[2])); }
void pnLight::setSpotDirectionZ(float f) { setSpotDirection(sgVec3(spotDirection[0], spotDirection[1], f)); }

void pnLight::setSpotCone(float exponent, float cutoff) {
    // GL accepts an exponent of 0..128 and a cutoff of 0..90 or exactly 180.
    if (!(exponent >= 0.0f)) exponent = 0.0f;
    if (exponent > 128.0f) exponent = 128.0f;
    if (cutoff != 180.0f) {
        if (!(cutoff >= 0.0f)) cutoff = 0.0f;
        if (cutoff > 90.0f) cutoff = 90.0f;
    }
    spotCone.set(exponent, cutoff);
    setFlags[SPOTCONE_FLAG] = 1;
    sendSpot();
}

void pnLight::setSpotExponent(float f) {
    spotCone[0] = f;
    setFlags[SPOTCONE_FLAG] = 1;
    sendSpot();
}

void pnLight::setSpotCutoff(float f) {
    spotCone[1] = f;
    setFlags[SPOTCONE_FLAG] = 1;
    sendSpot();
}

void pnLight::setMaterial(const char* n) {
    if (!n || !*n) {
        material.clear();
        return;
    }
    material = sgCutName(n);
    setFlags[MATERIAL_FLAG] = 1;
    if (built) sendMaterialColors();
}

void pnLight::setFile(const char* n) { file = n ? n : ""; }

void pnLight::setOn(int v) {
    on = v;
    if (!built || !switchNode || !lightNode) return;
    switchNode->setEnabled(v);
    if (v)
        lightNode->on();
    else
        lightNode->off();
}

void pnLight::setPositional(int v) {
    positional = v != 0;
    sendPosition();
}

void pnLight::releaseNodes() {
    // The switch owns the light node; deleting it unlinks it from its parent.
    delete switchNode;
    switchNode = nullptr;
    lightNode = nullptr;
}

sgSwitch* pnLight::buildNodes() {
    if (lightNode) {
        delete lightNode;  // unlinks itself from the switch
        lightNode = nullptr;
    }
    releaseNodes();
    lightNode = new sgLightSource();
    switchNode = new sgSwitch();
    lightNode->setName(name);
    switchNode->setName(name);
    lightNode->setPosition(position[0], position[1], position[2], positional ? 1.0f : 0.0f);
    if (setFlags[ATTENUATION_FLAG]) lightNode->setAttenuation(attenuation[0], attenuation[1], attenuation[2]);
    if (setFlags[SPOTCONE_FLAG]) lightNode->setSpot(spotCone[0], spotCone[1]);
    if (setFlags[SPOTDIRECTION_FLAG])
        lightNode->setSpotDirection(spotDirection[0], spotDirection[1], spotDirection[2]);
    if (!file.empty()) {
        texture = std::make_unique<sgTexture>();
        texture->loadFile(file);
    }
    if (setFlags[INTENSITY_FLAG]) lightNode->setIntensity(-1, intensity);
    if (setFlags[MATERIAL_FLAG]) sendMaterialColors();
    switchNode->setEnabled(on);
    switchNode->addChild(lightNode);
    return switchNode;
}
