// Component-wise vector comparison for tests: within tol, or with tol < 0
// equal as EXPECT_FLOAT_EQ has it (4 units in the last place).
#pragma once

#include <gtest/gtest.h>

#include "sg/sgVec.h"

inline void expectVec(const sgVec3& v, const sgVec3& want, float tol = -1.0f, const char* what = "") {
    for (int k = 0; k < 3; ++k) {
        if (tol < 0)
            EXPECT_FLOAT_EQ(v[k], want[k]) << what << " component " << k;
        else
            EXPECT_NEAR(v[k], want[k], tol) << what << " component " << k;
    }
}

inline void expectVec(const sgVec3& v, float x, float y, float z, float tol = -1.0f, const char* what = "") {
    expectVec(v, sgVec3(x, y, z), tol, what);
}
