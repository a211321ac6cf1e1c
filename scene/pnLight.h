// A named scene light. It keeps its settings as plain values and, once built,
// mirrors every change at once into its scene-graph nodes: a light source under
// a switch that turns it on and off.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "sg/sgVec.h"

class pnScene;
class sgLightSource;
class sgSwitch;
class sgTexture;

class pnLight {
public:
    // Set flags, in file order.
    enum { ATTENUATION_FLAG = 0, SPOTDIRECTION_FLAG, SPOTCONE_FLAG, INTENSITY_FLAG, MATERIAL_FLAG, NUM_FLAGS };

    pnLight();
    ~pnLight();
    pnLight(const pnLight&) = delete;
    pnLight& operator=(const pnLight&) = delete;

    // Copies the settings; the copy keeps its own positional value, has no
    // texture and no nodes and is not built. 0 for null.
    int copy(const pnLight* other);

    // Cut at the name limit; null is ignored.
    void setName(const char* name);
    const std::string& getName() const { return name; }

    void setPosition(float x, float y, float z);
    void setPosition(const sgVec3& v) { setPosition(v[0], v[1], v[2]); }
    sgVec3 getPosition() const { return position; }
    void setAttenuation(const sgVec3& v);
    sgVec3 getAttenuation() const { return attenuation; }
    void setIntensity(float f);
    float getIntensity() const { return intensity; }
    void setSpotDirection(const sgVec3& v);
    void setSpotDirectionX(float f);
    void setSpotDirectionY(float f);
    void setSpotDirectionZ(float f);
    sgVec3 getSpotDirection() const { return spotDirection; }
    // Exponent clamped to 0..128; cutoff 180 (no spot) stays, else 0..90.
    void setSpotCone(float exponent, float cutoff);
    // One value each, unclamped.
    void setSpotExponent(float f);
    void setSpotCutoff(float f);
    sgVec2 getSpotCone() const { return spotCone; }
    // Name of the scene material whose colours the light takes; null (or "")
    // means none and leaves the flag as it was.
    void setMaterial(const char* name);
    const std::string& getMaterial() const { return material; }
    bool hasMaterial() const { return !material.empty(); }
    // Texture image of the light; null clears it.
    void setFile(const char* name);
    const std::string& getFile() const { return file; }
    void setOn(int v);
    int getOn() const { return on; }
    void setPositional(int v);
    int isPositional() const { return positional != 0; }

    // Flag i, 0 outside 0..NUM_FLAGS-1.
    int getSetFlag(int i) const { return (i >= 0 && i < NUM_FLAGS) ? setFlags[i] : 0; }
    int getNumFlags() const { return NUM_FLAGS; }

    void setScene(pnScene* s) { scene = s; }
    pnScene* getScene() const { return scene; }
    // Set by the scene once the switch hangs in its light group.
    void setBuilt(int b) { built = b; }
    int getBuilt() const { return built; }

    // Makes the switch and light nodes afresh (the old ones are unlinked and
    // deleted) and returns the switch; the caller hangs it.
    sgSwitch* buildNodes();
    // Deletes the switch with its light node.
    void releaseNodes();
    sgSwitch* getSwitchNode() const { return switchNode; }
    sgLightSource* getLightNode() const { return lightNode; }
    sgTexture* getTexture() const { return texture.get(); }

    // Writes the "light" block: position, positional and on always, the
    // flagged fields when set. 0 when a write failed.
    int write(FILE* f) const;

private:
    bool live() const { return built && lightNode; }
    void sendPosition();
    void sendSpot();
    void sendMaterialColors();

    std::string name;
    sgVec3 position{0, 0, 0};
    sgVec3 attenuation{0, 0, 0};
    sgVec3 spotDirection{0, 0, -1};
    sgVec2 spotCone{0, 180};
    std::string material;
    float intensity = 1.0f;
    int positional = 1;
    int setFlags[NUM_FLAGS] = {};
    std::string file;
    std::unique_ptr<sgTexture> texture;
    sgLightSource* lightNode = nullptr;
    sgSwitch* switchNode = nullptr;
    int built = 0;
    int on = 1;
    pnScene* scene = nullptr;
};
