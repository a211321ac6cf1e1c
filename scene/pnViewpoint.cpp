#include "scene/pnViewpoint.h"

#include "sg/sgRuntime.h"

int pnViewpoint::copy(const pnViewpoint* other) {
    if (!other) return 0;
    if (other == this) return 1;
    name = other->name;
    perspective = other->perspective;
    near = other->near;
    far = other->far;
    fov = other->fov;
    width = other->width;
    position = other->position;
    direction = other->direction;
    return 1;
}

void pnViewpoint::setName(const char* n) { name = sgCutName(n); }
