#include "editor/SceneLights.h"

#include "editor/CViewHost.h"
#include "scene/pnLight.h"
#include "scene/pnScene.h"

#include <string>

const sgVec3 kLightSlotPositions[kNumLightSlots] = {
    sgVec3(150, 150, 500), sgVec3(-500, 500, -100), sgVec3(-500, -500, 100), sgVec3(500, -500, 100)};

int InitSceneLights(pnScene& scene, int keep, CViewHost* host) {
    if (scene.getNumLights() > kNumLightSlots && host)
        host->MessageBox("Exceeded the maximum number of light: 4.\nOnly the first 4 lights can be modified.",
                         "Error", KV_MB_OK | KV_MB_ICONWARNING);
    int number = 1;
    for (int slot = scene.getNumLights(); slot < kNumLightSlots; ++slot) {
        std::string name;
        do {
            name = "Light" + std::to_string(number++);
        } while (scene.lightExists(name.c_str()));
        auto* light = new pnLight;
        light->setName(name.c_str());
        light->setPosition(kLightSlotPositions[slot]);
        light->setPositional(0);
        light->setOn(0);
        light->setSpotExponent(10.0f);
        // The name is free, so the scene takes it.
        if (!scene.addLight(light)) {
            delete light;
            break;
        }
    }
    if (!keep && scene.getNumLights() > 0) scene.getLight(0)->setOn(1);
    for (int i = 0; i < scene.getNumLights() && i < kNumLightSlots; ++i)
        if (scene.getLight(i)->getOn()) return i;
    return -1;
}
