// The four light slots of a scene. The property bar's Light page edits at
// most four lights; binding a scene to it first fills the slots up, so that a
// new or opened scene always has four lights to show and animate.
#pragma once

#include "sg/sgVec.h"

class CViewHost;
class pnScene;

constexpr int kNumLightSlots = 4;
// Where a light made for an empty slot stands.
extern const sgVec3 kLightSlotPositions[kNumLightSlots];

// Slot i takes scene light i. Each missing slot gets a new light named
// "Light%d" with the first number (counting on from slot to slot) that no
// scene light has, at the slot's position, directional, off, spot exponent 10
// and no material, added to the scene (before its graph is built). With keep
// 0 the first light is then switched on. More than four lights are told once
// through the host (when given) and the extra ones are left alone. Returns the
// index of the first light that is on, or -1.
int InitSceneLights(pnScene& scene, int keep, CViewHost* host);
