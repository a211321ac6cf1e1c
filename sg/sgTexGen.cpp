#include "sg/sgTexGen.h"

#include "sg/sgGeoState.h"

sgTexGen::sgTexGen() {
    const float defaults[4][4] = {{0.003f, 0, 0.003f, 0}, {0, 0.003f, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) planes_[i][j] = defaults[i][j];
}

void sgTexGen::setMode(int i, int mode) { modes_[clampIndex(i)] = mode < 0 || mode > 3 ? 0 : mode; }

int sgTexGen::getMode(int i) const { return modes_[clampIndex(i)]; }

void sgTexGen::setPlane(int i, float a, float b, float c, float d) {
    float* p = planes_[clampIndex(i)];
    p[0] = a, p[1] = b, p[2] = c, p[3] = d;
}

void sgTexGen::getPlane(int i, float out[4]) const {
    const float* p = planes_[clampIndex(i)];
    for (int j = 0; j < 4; ++j) out[j] = p[j];
}

void sgTexGen::writeInto(sgGeoState& state) const {
    for (int i = 0; i < 4; ++i)
        if (modes_[i] != 0) state.setTexGen(i, modes_[i], planes_[i]);
}
