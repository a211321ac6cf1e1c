// Texture-environment attribute: one mode word (GL_MODULATE, GL_DECAL, ...).
#pragma once

#include "sg/sgStateAttribute.h"

class sgTexEnv : public sgStateAttribute {
public:
    const char* getTypeName() const override { return "sgTexEnv"; }
    sgStateAttribute* clone() const override { return new sgTexEnv(*this); }
    int getKey() const override;  // GL_TEXTURE_ENV
    void writeInto(sgGeoState& state) const override;

    void setMode(int mode) { mode_ = mode; }
    int getMode() const { return mode_; }

private:
    int mode_ = 0x2100;  // GL_MODULATE
};
