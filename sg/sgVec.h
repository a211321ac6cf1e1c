// Small single-precision value types for geometry: 2-, 3- and 4-component
// vectors (the 4-vector doubles as a quaternion, element 0 = w).
#pragma once

#include <cmath>

constexpr double SG_PI = 3.14159265359;

template <int N, class Derived>
struct sgVecBase {
    float v[N] = {};

    float& operator[](int i) { return v[i]; }
    float operator[](int i) const { return v[i]; }
    float get(int i) const { return v[i]; }

    void set(const Derived& o) { for (int i = 0; i < N; ++i) v[i] = o.v[i]; }
    void setSum(const Derived& a, const Derived& b) {
        for (int i = 0; i < N; ++i) v[i] = a.v[i] + b.v[i];
    }
    bool equals(const Derived& o) const {
        for (int i = 0; i < N; ++i)
            if (v[i] != o.v[i]) return false;
        return true;
    }
    bool operator==(const Derived& o) const { return equals(o); }
    bool operator!=(const Derived& o) const { return !equals(o); }

    Derived operator-() const { Derived r; for (int i = 0; i < N; ++i) r.v[i] = -v[i]; return r; }
    Derived operator+(const Derived& o) const { Derived r; for (int i = 0; i < N; ++i) r.v[i] = v[i] + o.v[i]; return r; }
    Derived operator-(const Derived& o) const { Derived r; for (int i = 0; i < N; ++i) r.v[i] = v[i] - o.v[i]; return r; }
    Derived operator*(float s) const { Derived r; for (int i = 0; i < N; ++i) r.v[i] = v[i] * s; return r; }
    Derived operator/(float s) const { Derived r; for (int i = 0; i < N; ++i) r.v[i] = v[i] / s; return r; }
    friend Derived operator*(float s, const Derived& a) { return a * s; }

    Derived& operator*=(float s) { for (int i = 0; i < N; ++i) v[i] *= s; return self(); }
    Derived& operator/=(float s) { for (int i = 0; i < N; ++i) v[i] /= s; return self(); }
    Derived& operator+=(const Derived& o) { for (int i = 0; i < N; ++i) v[i] += o.v[i]; return self(); }
    Derived& operator-=(const Derived& o) { for (int i = 0; i < N; ++i) v[i] -= o.v[i]; return self(); }

    // Divides by the Euclidean length and returns it. A zero (or non-finite)
    // length leaves the vector as it is and returns 0, so no NaN reaches GL.
    float normalize() {
        float sum = 0.0f;
        for (int i = 0; i < N; ++i) sum += v[i] * v[i];
        float len = static_cast<float>(std::sqrt(sum));
        if (!(len > 0.0f) || !std::isfinite(len)) return 0.0f;
        for (int i = 0; i < N; ++i) v[i] /= len;
        return len;
    }

private:
    Derived& self() { return static_cast<Derived&>(*this); }
};

struct sgVec2 : sgVecBase<2, sgVec2> {
    sgVec2() = default;
    sgVec2(float x, float y) { v[0] = x; v[1] = y; }
    void set(float x, float y) { v[0] = x; v[1] = y; }
    using sgVecBase::set;
};

struct sgVec3 : sgVecBase<3, sgVec3> {
    sgVec3() = default;
    sgVec3(float x, float y, float z) { v[0] = x; v[1] = y; v[2] = z; }
    void set(float x, float y, float z) { v[0] = x; v[1] = y; v[2] = z; }
    using sgVecBase::set;
};

struct sgVec4 : sgVecBase<4, sgVec4> {
    sgVec4() = default;
    sgVec4(float a, float b, float c, float d) { v[0] = a; v[1] = b; v[2] = c; v[3] = d; }
    void set(float a, float b, float c, float d) { v[0] = a; v[1] = b; v[2] = c; v[3] = d; }
    using sgVecBase::set;
};

sgVec3 sgCross(const sgVec3& a, const sgVec3& b);
float sgDot(const sgVec3& a, const sgVec3& b);
float sgLength(const sgVec3& a);
sgVec3 sgCompMult(const sgVec3& a, const sgVec3& b);

// Quaternions q = (w, x, y, z); angles in degrees.
void sgQuatNormalize(sgVec4& q);
sgVec4 sgQuatFromAngleAxis(float angle, const sgVec3& axis);
sgVec4 sgQuatMult(const sgVec4& a, const sgVec4& b);
sgVec4 sgQuatInverse(const sgVec4& q);
sgVec3 sgQuatToAngleAxis(const sgVec4& q, float* angle);

class sgMatrix;
void sgQuatToMatrix(const sgVec4& q, sgMatrix& m);
