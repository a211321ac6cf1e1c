// The scene's camera: plain values that drawing hands to the channel.
#pragma once

#include <cstdio>
#include <string>

#include "sg/sgVec.h"

class pnViewpoint {
public:
    pnViewpoint() = default;
    pnViewpoint(const pnViewpoint&) = delete;
    pnViewpoint& operator=(const pnViewpoint&) = delete;

    // Copies name, projection and placement; lookAt and upVector are run-time
    // values and stay as they are. 0 for null.
    int copy(const pnViewpoint* other);

    // Cut at the name limit so events that target the camera match it; null
    // clears the name.
    void setName(const char* name);
    const std::string& getName() const { return name; }

    void setPosition(const sgVec3& v) { position = v; }
    void setPosition(float x, float y, float z) { position.set(x, y, z); }
    sgVec3 getPosition() const { return position; }
    void setDirection(const sgVec3& v) { direction = v; }
    void setDirection(float x, float y, float z) { direction.set(x, y, z); }
    sgVec3 getDirection() const { return direction; }
    void setLookAt(float x, float y, float z) { lookAt.set(x, y, z); }
    void setLookAt(const sgVec3& v) { lookAt = v; }
    sgVec3 getLookAt() const { return lookAt; }
    void setUpVector(float x, float y, float z) { upVector.set(x, y, z); }
    void setUpVector(const sgVec3& v) { upVector = v; }
    sgVec3 getUpVector() const { return upVector; }

    // Writes the "viewpoint" block (lookAt and upVector are run-time values
    // and stay out). 0 when a write failed.
    int write(FILE* f) const;

    int perspective = 1;     // 0 orthographic
    float near = 10.0f;
    float far = 5000.0f;
    float fov = 30.0f;       // degrees
    float width = 720.0f;    // width of the orthographic view

private:
    sgVec3 position{0, 0, 906};
    sgVec3 direction{0, 0, 0};
    sgVec3 lookAt{0, 0, 0};
    sgVec3 upVector{0, 1, 0};
    std::string name;
};
