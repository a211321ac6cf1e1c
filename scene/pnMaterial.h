// A named surface material of the scene: four colours, shininess and alpha,
// each with a flag saying whether the author gave it. Objects, data points,
// lights and colour effects refer to materials by name.
#pragma once

#include <cstdio>
#include <string>

#include "sg/sgVec.h"

class sgNode;
class sgGeode;
class sgGeoState;

class pnMaterial {
public:
    // Set flags, in file order.
    enum {
        DIFFUSE_FLAG = 0,
        AMBIENT_FLAG,
        EMISSION_FLAG,
        SPECULAR_FLAG,
        SHININESS_FLAG,
        ALPHA_FLAG,
        FILE_FLAG,
        NUM_FLAGS
    };

    pnMaterial() = default;
    pnMaterial(const pnMaterial&) = delete;
    pnMaterial& operator=(const pnMaterial&) = delete;

    // Copies everything; an unnamed source leaves this name alone. 0 for null.
    int copy(const pnMaterial* other);

    // Cut at the name limit; null is ignored.
    void setName(const char* name);
    const std::string& getName() const { return name; }

    // Colour components are clamped to 0..1, shininess to 0..128, alpha to
    // 0..1; anything that is not >= 0 (NaN included) becomes 0. Each setter
    // sets its own flag.
    void setDiffuse(float r, float g, float b);
    void setDiffuse(const sgVec3& c) { setDiffuse(c[0], c[1], c[2]); }
    void setAmbient(float r, float g, float b);
    void setAmbient(const sgVec3& c) { setAmbient(c[0], c[1], c[2]); }
    void setEmission(float r, float g, float b);
    void setEmission(const sgVec3& c) { setEmission(c[0], c[1], c[2]); }
    void setSpecular(float r, float g, float b);
    void setSpecular(const sgVec3& c) { setSpecular(c[0], c[1], c[2]); }
    void setShininess(float s);
    void setAlpha(float a);
    // Image file of the material (kept and written back); "" or null clears it.
    void setFile(const char* file);

    sgVec3 getDiffuse() const { return diffuse; }
    sgVec3 getAmbient() const { return ambient; }
    sgVec3 getEmission() const { return emission; }
    sgVec3 getSpecular() const { return specular; }
    float getShininess() const { return shininess; }
    float getAlpha() const { return alpha; }
    const std::string& getFile() const { return file; }

    // Flag i, 0 outside 0..NUM_FLAGS-1.
    int getSetFlag(int i) const;
    int getNumFlags() const { return NUM_FLAGS; }
    // Sets or clears flag i alone (the value stays); ignored outside the range.
    void setSetFlag(int i, int on) {
        if (i >= 0 && i < NUM_FLAGS) setFlags[i] = on ? 1 : 0;
    }

    // Gives every geometry set below node this material's GL state; textured
    // sets take only the alpha. A null node does nothing.
    void apply(sgNode* node) const;
    // The same for the geometry sets of one geode.
    void applyToGeode(sgGeode* geode) const;
    // A colour fade: the sets below node draw this material (textured sets
    // only its alpha) over their own colours, which clearFade shows again.
    void fade(sgNode* node) const;
    static void clearFade(sgNode* node);
    // The same for one geometry state; a null state does nothing.
    void applyToState(sgGeoState* state) const;

    // Writes the "material" block: the name, and each field whose flag is
    // set. 0 when a write failed.
    int write(FILE* f) const;

private:
    std::string name;
    sgVec3 diffuse{0.8f, 0.8f, 0.8f};
    sgVec3 ambient{0.2f, 0.2f, 0.2f};
    sgVec3 emission{0, 0, 0};
    sgVec3 specular{0, 0, 0};
    float shininess = 60.0f;
    float alpha = 1.0f;
    std::string file;
    int setFlags[NUM_FLAGS] = {};
};
