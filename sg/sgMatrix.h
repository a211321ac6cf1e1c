// 4x4 float matrix in OpenGL order: element (i, j) lives at index i*4 + j and the
// array goes to glMultMatrixf unchanged (12, 13, 14 hold a translation).
#pragma once

#include "sg/sgVec.h"

class sgMatrix {
public:
    sgMatrix() { makeIdent(); }

    void makeIdent();
    void copy(const sgMatrix& o);
    float get(int i, int j) const { return m_[i * 4 + j]; }
    void set(int i, int j, float value) { m_[i * 4 + j] = value; }
    float& operator[](int i) { return m_[i]; }
    float operator[](int i) const { return m_[i]; }
    float* data() { return m_; }
    const float* data() const { return m_; }

    static void multiply(sgMatrix& result, const sgMatrix& a, const sgMatrix& b);
    void postMult(const sgMatrix& m);
    void translate(float x, float y, float z);
    void scale(float x, float y, float z);
    // Overwrites the matrix with the rotation (it does not combine).
    void rotate(float angle, float ax, float ay, float az);
    sgMatrix add(const sgMatrix& o) const;
    sgVec3 transformPoint(const sgVec3& p) const;

private:
    float m_[16];
};
