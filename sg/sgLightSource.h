// Light node: owns one of the eight GL lights. Every setter records its values
// under the GL parameter name and sends them at once; colours go out scaled by
// the intensity. Its children are never drawn.
#pragma once

#include <vector>

#include "sg/sgNode.h"

class sgLightSource : public sgNode {
public:
    // Takes the next light number (0..7); once all eight were handed out, the
    // first number no light in the channel's scene uses, or -1 (no GL light).
    // Records ambient (0.2, 0.2, 0.2), diffuse and specular (1, 1, 1); stays off.
    sgLightSource();
    // Switches the light off.
    ~sgLightSource() override;

    const char* getTypeName() const override { return "sgLightSource"; }
    // A new light (own number) with a copy of every record; nothing is sent.
    sgNode* copy() override;
    void draw(int pass) override {}

    // Records (a, b, c, d) under key, replacing an earlier record; sends nothing.
    int setAttr(int key, float a, float b, float c, float d);
    // GL_AMBIENT, GL_DIFFUSE or GL_SPECULAR (else 0): records (r, g, b, 1) and
    // sends (r*I, g*I, b*I, I), I the intensity.
    int setColor(int which, float r, float g, float b);
    void setPosition(float x, float y, float z, float w);
    void setSpotDirection(float x, float y, float z);
    void setSpot(float exponent, float cutoff);
    void setAttenuation(float constant, float linear, float quadratic);
    // Stores both; mode -1 sends every recorded colour again scaled by intensity.
    void setIntensity(int mode, float intensity);

    // Recorded values (zeros when never recorded); null outputs are skipped.
    void getColor(int which, float* r, float* g, float* b) const;
    void getPosition(float* x, float* y, float* z, float* w) const;
    void getSpotDirection(float* x, float* y, float* z) const;
    void getSpot(float* exponent, float* cutoff) const;
    void getAttenuation(float* constant, float* linear, float* quadratic) const;
    // The recorded four values of key; 0 when never recorded.
    int getAttr(int key, float out[4]) const;

    float getIntensity() const { return intensity_; }
    int getLightNumber() const { return number_; }
    int isOn() const { return on_; }

    // Enable or disable the GL light when it has a number and GL's state differs.
    void on();
    void off();
    // Sends the recorded position and spot direction again: GL takes them
    // through the model-view matrix that stands now.
    void place() const;

private:
    struct Record {
        int key;
        float v[4];
    };
    const Record* find(int key) const;
    void send(int key, const float v[4]) const;
    void sendColor(const Record& r) const;

    std::vector<Record> attrs_;
    int intensityMode_ = 0;
    float intensity_ = 1.0f;
    int number_ = -1;
    int on_ = 0;
};

// Light pass: enables exactly the GL lights of the light nodes that are on and
// reachable through enabled nodes and the children switches select; disables
// the others. Runs after the scene is converted; callers may run it again after
// switching lights.
void sgLightPass(sgNode* root);

// Places every light node below node (whatever its switches) through the
// model-view matrix that stands: the channel does it under the camera at the
// start of each frame, so light positions are scene coordinates, whatever
// was drawn before or where the light was when it was moved.
void sgPlaceLights(sgNode* node);

// The first light number 0..7 that no light node below the channel's scene
// uses (switches, enabled and on flags ignored), or -1 when all are used.
int sgFirstFreeLight();

// Resets the light counter and the record of the last light pass (default GL
// state set-up: all lights off).
void sgResetLights();
