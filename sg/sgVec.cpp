#include "sg/sgVec.h"

#include "sg/sgMatrix.h"

sgVec3 sgCross(const sgVec3& a, const sgVec3& b) {
    return sgVec3(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
}

float sgDot(const sgVec3& a, const sgVec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

float sgLength(const sgVec3& a) { return static_cast<float>(std::sqrt(sgDot(a, a))); }

sgVec3 sgCompMult(const sgVec3& a, const sgVec3& b) { return sgVec3(a[0] * b[0], a[1] * b[1], a[2] * b[2]); }

void sgQuatNormalize(sgVec4& q) {
    float n = static_cast<float>(std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]));
    if (n != 0.0f)
        for (int i = 0; i < 4; ++i) q[i] /= n;
}

sgVec4 sgQuatFromAngleAxis(float angle, const sgVec3& axis) {
    double h = angle * 0.5 * SG_PI / 180.0;
    float s = static_cast<float>(std::sin(h));
    sgVec4 q(static_cast<float>(std::cos(h)), s * axis[0], s * axis[1], s * axis[2]);
    sgQuatNormalize(q);
    return q;
}

sgVec4 sgQuatMult(const sgVec4& a, const sgVec4& b) {
    sgVec4 r(a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3],
             a[0] * b[1] + a[1] * b[0] + a[2] * b[3] - a[3] * b[2],
             a[0] * b[2] - a[1] * b[3] + a[2] * b[0] + a[3] * b[1],
             a[0] * b[3] + a[1] * b[2] - a[2] * b[1] + a[3] * b[0]);
    sgQuatNormalize(r);
    return r;
}

sgVec4 sgQuatInverse(const sgVec4& q) {
    float n = q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3];
    if (n > 0.0f) return sgVec4(q[0] / n, -q[1] / n, -q[2] / n, -q[3] / n);
    return sgVec4(q[0], -q[1], -q[2], -q[3]);
}

sgVec3 sgQuatToAngleAxis(const sgVec4& q, float* angle) {
    // After normalisation w can land a hair above 1; acos would give NaN.
    float w = q[0];
    if (w > 1.0f) w = 1.0f;
    if (w < -1.0f) w = -1.0f;
    if (std::isnan(w)) w = 1.0f;
    double a = std::acos(static_cast<double>(w));
    if (angle) *angle = static_cast<float>(a * 360.0 / SG_PI);
    sgVec3 axis(q[1], q[2], q[3]);
    if (sgLength(axis) > 0.0f) axis.normalize();
    return axis;
}

void sgQuatToMatrix(const sgVec4& q, sgMatrix& m) {
    float w = q[0], x = q[1], y = q[2], z = q[3];
    float* a = m.data();
    a[0] = 1 - (2 * y * y + 2 * z * z);
    a[1] = 2 * x * y - 2 * w * z;
    a[2] = 2 * x * z + 2 * w * y;
    a[3] = 0;
    a[4] = 2 * x * y + 2 * w * z;
    a[5] = 1 - (2 * z * z + 2 * x * x);
    a[6] = 2 * y * z - 2 * w * x;
    a[7] = 0;
    a[8] = 2 * x * z - 2 * w * y;
    a[9] = 2 * y * z + 2 * w * x;
    a[10] = 1 - (2 * y * y + 2 * x * x);
    a[11] = 0;
    a[12] = a[13] = a[14] = 0;
    a[15] = 1;
}
