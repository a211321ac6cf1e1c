#include <gtest/gtest.h>

#include <cmath>

#include "sg/sgMatrix.h"
#include "sg/sgVec.h"

TEST(Vec, ArithmeticAndProducts) {
    sgVec3 a(1, 2, 3), b(4, 5, 6);
    EXPECT_EQ(a + b, sgVec3(5, 7, 9));
    EXPECT_EQ(b - a, sgVec3(3, 3, 3));
    EXPECT_EQ(2.0f * a, sgVec3(2, 4, 6));
    EXPECT_EQ(-a, sgVec3(-1, -2, -3));
    EXPECT_EQ(sgCross(sgVec3(1, 0, 0), sgVec3(0, 1, 0)), sgVec3(0, 0, 1));
    EXPECT_FLOAT_EQ(sgDot(a, b), 32.0f);
    EXPECT_EQ(sgCompMult(a, b), sgVec3(4, 10, 18));
    sgVec3 c = a;
    c += b;
    c /= 2.0f;
    EXPECT_EQ(c, sgVec3(2.5f, 3.5f, 4.5f));
    sgVec3 s;
    s.setSum(a, b);
    EXPECT_NE(s, a);
}

TEST(Vec, NormalizeReturnsLengthAndLeavesZeroVectorsAlone) {
    sgVec3 v(3, 0, 4);
    EXPECT_FLOAT_EQ(v.normalize(), 5.0f);
    EXPECT_FLOAT_EQ(v[0], 0.6f);
    EXPECT_FLOAT_EQ(v[2], 0.8f);

    sgVec2 z2;
    sgVec3 z3;
    sgVec4 z4;
    EXPECT_EQ(z2.normalize(), 0.0f);
    EXPECT_EQ(z3.normalize(), 0.0f);
    EXPECT_EQ(z4.normalize(), 0.0f);
    EXPECT_EQ(z3, sgVec3(0, 0, 0));
    EXPECT_FALSE(std::isnan(z4[0]));
}

TEST(Quat, AngleAxisRoundTripAndIdentity) {
    sgVec4 q = sgQuatFromAngleAxis(90.0f, sgVec3(0, 0, 1));
    float angle = 0;
    sgVec3 axis = sgQuatToAngleAxis(q, &angle);
    EXPECT_NEAR(angle, 90.0f, 1e-3);
    EXPECT_NEAR(axis[2], 1.0f, 1e-6);

    axis = sgQuatToAngleAxis(sgVec4(1, 0, 0, 0), &angle);
    EXPECT_EQ(angle, 0.0f);
    EXPECT_EQ(axis, sgVec3(0, 0, 0));
}

TEST(Quat, AngleIsFiniteWhenWDriftsAboveOne) {
    float angle = -1;
    sgQuatToAngleAxis(sgVec4(1.0000002f, 0, 0, 0), &angle);
    EXPECT_FALSE(std::isnan(angle));
    EXPECT_EQ(angle, 0.0f);
    sgQuatToAngleAxis(sgVec4(-1.0000002f, 0, 0, 0), &angle);
    EXPECT_NEAR(angle, 360.0f, 1e-3);
}

TEST(Quat, MultInverseAndNormalize) {
    sgVec4 a = sgQuatFromAngleAxis(30.0f, sgVec3(0, 1, 0));
    sgVec4 b = sgQuatFromAngleAxis(60.0f, sgVec3(0, 1, 0));
    float angle = 0;
    sgVec3 axis = sgQuatToAngleAxis(sgQuatMult(a, b), &angle);
    EXPECT_NEAR(angle, 90.0f, 1e-3);
    EXPECT_NEAR(axis[1], 1.0f, 1e-6);

    sgVec4 id = sgQuatMult(a, sgQuatInverse(a));
    EXPECT_NEAR(id[0], 1.0f, 1e-6);

    sgVec4 zero = sgQuatInverse(sgVec4(0, 0, 0, 0));
    EXPECT_EQ(zero[0], 0.0f);
    EXPECT_TRUE(std::signbit(zero[1]));

    sgVec4 z(0, 0, 0, 0);
    sgQuatNormalize(z);
    EXPECT_EQ(z, sgVec4(0, 0, 0, 0));
}

TEST(Matrix, RotateOverwritesAsGLQuarterTurn) {
    sgMatrix m;
    m.translate(5, 6, 7);
    m.rotate(90.0f, 0, 0, 1);
    EXPECT_NEAR(m[0], 0.0f, 1e-6);
    EXPECT_NEAR(m[1], 1.0f, 1e-6);
    EXPECT_NEAR(m[4], -1.0f, 1e-6);
    EXPECT_NEAR(m[5], 0.0f, 1e-6);
    EXPECT_EQ(m[12], 0.0f);  // the translation is gone: rotate replaces
    // A point on +x turns to +y, as GL applies it.
    sgVec3 p = m.transformPoint(sgVec3(1, 0, 0));
    EXPECT_NEAR(p[0], 0.0f, 1e-6);
    EXPECT_NEAR(p[1], 1.0f, 1e-6);
}

TEST(Matrix, TranslateAndScaleCombine) {
    sgMatrix m;
    m.translate(1, 2, 3);
    m.translate(1, 0, 0);
    EXPECT_EQ(m[12], 2.0f);
    EXPECT_EQ(m.get(3, 1), 2.0f);
    sgMatrix s;
    s.scale(2, 3, 4);
    s.translate(1, 1, 1);  // post-multiplied: [12] = 1 * 2
    sgVec3 p = s.transformPoint(sgVec3(1, 1, 1));
    EXPECT_EQ(p, sgVec3(3, 4, 5));

    sgMatrix a, b, r;
    a.set(0, 1, 2.0f);
    b.set(1, 2, 3.0f);
    sgMatrix::multiply(r, a, b);
    EXPECT_EQ(r.get(0, 2), 6.0f);
    sgMatrix sum = a.add(b);
    EXPECT_EQ(sum[0], 2.0f);
    EXPECT_EQ(sum.get(0, 1), 2.0f);
    a.makeIdent();
    EXPECT_EQ(a.get(0, 1), 0.0f);
}

TEST(Matrix, QuatToMatrixMatchesRotate) {
    sgMatrix fromQuat, viaRotate;
    sgQuatToMatrix(sgQuatFromAngleAxis(-37.0f, sgVec3(1, 2, 3)), fromQuat);
    viaRotate.rotate(37.0f, 1, 2, 3);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(fromQuat[i], viaRotate[i]) << i;
}
