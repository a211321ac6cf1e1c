// Material attribute: colour records and an alpha. Written into a state, each
// record becomes the matching state colour with the material's alpha as its
// fourth value.
#pragma once

#include <vector>

#include "sg/sgStateAttribute.h"

class sgMaterial : public sgStateAttribute {
public:
    const char* getTypeName() const override { return "sgMaterial"; }
    sgStateAttribute* clone() const override { return new sgMaterial(*this); }
    int getKey() const override;  // GL_FRONT
    void writeInto(sgGeoState& state) const override;

    // GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION or GL_SHININESS (else 0):
    // records (r, g, b, 1), replacing an earlier record of the name.
    int setColor(int name, float r, float g, float b);
    // The recorded values; 0 when the name was never recorded.
    int getColor(int name, float* r, float* g, float* b) const;
    void setAlpha(float a) { alpha_ = a; }
    float getAlpha() const { return alpha_; }

private:
    struct Record {
        int name;
        float v[4];
    };
    std::vector<Record> records_;
    float alpha_ = 1.0f;
};
