// An effect's values as a window last showed or left them, and which of the
// value groups (move, scale, rotate, colour) differ from another such
// snapshot: how the effect windows tell a change made in another window.
#pragma once

#include "scene/pnEffect.h"
#include "sg/sgVec.h"

#include <cmath>
#include <string>

struct EffectValues {
    // The groups' bits, 1 << group: the order of the effect windows' groups.
    enum Group { kMove, kScale, kRotate, kColor };

    sgVec3 move{0, 0, 0}, scale{1, 1, 1}, axis{0, 1, 0};
    float angle = 0.0f;
    std::string color;
    bool colorOn = false;

    static EffectValues Of(const pnEffect& e) {
        return {e.getTrans(), e.getScale(), e.getRotAxis(), e.getRotAngle(), e.getColor(),
                e.getFlag(pnEffect::COLOR_FLAG) != 0};
    }

    // The groups whose values differ from other's, as bits 1 << Group.
    int GroupsApart(const EffectValues& other) const {
        int groups = 0;
        if (!Same(move, other.move)) groups |= 1 << kMove;
        if (!Same(scale, other.scale)) groups |= 1 << kScale;
        if (!Same(angle, other.angle) || !Same(axis, other.axis)) groups |= 1 << kRotate;
        if (color != other.color || colorOn != other.colorOn) groups |= 1 << kColor;
        return groups;
    }

private:
    // A NaN from a file is the same NaN: it must not count as a change at every look.
    static bool Same(float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); }
    static bool Same(const sgVec3& a, const sgVec3& b) { return Same(a[0], b[0]) && Same(a[1], b[1]) && Same(a[2], b[2]); }
};
