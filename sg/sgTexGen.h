// Texture-coordinate generation for s, t, r, q: mode 0 off, 1 object linear,
// 2 eye linear, 3 sphere map, each with a plane of four floats.
#pragma once

#include "sg/sgStateAttribute.h"

class sgTexGen : public sgStateAttribute {
public:
    sgTexGen();
    const char* getTypeName() const override { return "sgTexGen"; }
    sgStateAttribute* clone() const override { return new sgTexGen(*this); }
    int getKey() const override { return SG_TEXGEN_KEY; }
    // Copies, for each coordinate whose mode is not 0, the mode and its plane.
    void writeInto(sgGeoState& state) const override;

    // An index outside 0..3 means 0; a mode outside 0..3 means 0.
    void setMode(int i, int mode);
    int getMode(int i) const;
    void setPlane(int i, float a, float b, float c, float d);
    void getPlane(int i, float out[4]) const;

private:
    static int clampIndex(int i) { return i < 0 || i > 3 ? 0 : i; }
    int modes_[4] = {0, 0, 0, 0};
    float planes_[4][4];
};
