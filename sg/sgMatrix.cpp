#include "sg/sgMatrix.h"

#include <cstring>

void sgMatrix::makeIdent() {
    for (int i = 0; i < 16; ++i) m_[i] = 0.0f;
    m_[0] = m_[5] = m_[10] = m_[15] = 1.0f;
}

void sgMatrix::copy(const sgMatrix& o) { std::memcpy(m_, o.m_, sizeof m_); }

void sgMatrix::multiply(sgMatrix& result, const sgMatrix& a, const sgMatrix& b) {
    float r[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k) s += a.m_[i * 4 + k] * b.m_[k * 4 + j];
            r[i * 4 + j] = s;
        }
    std::memcpy(result.m_, r, sizeof r);
}

void sgMatrix::postMult(const sgMatrix& m) {
    sgMatrix t;
    t.copy(*this);
    multiply(*this, t, m);
}

void sgMatrix::translate(float x, float y, float z) {
    sgMatrix t;
    t.m_[12] = x;
    t.m_[13] = y;
    t.m_[14] = z;
    postMult(t);
}

void sgMatrix::scale(float x, float y, float z) {
    sgMatrix s;
    s.m_[0] = x;
    s.m_[5] = y;
    s.m_[10] = z;
    postMult(s);
}

void sgMatrix::rotate(float angle, float ax, float ay, float az) {
    sgQuatToMatrix(sgQuatFromAngleAxis(-angle, sgVec3(ax, ay, az)), *this);
}

sgMatrix sgMatrix::add(const sgMatrix& o) const {
    sgMatrix r;
    for (int i = 0; i < 16; ++i) r.m_[i] = m_[i] + o.m_[i];
    return r;
}

sgVec3 sgMatrix::transformPoint(const sgVec3& p) const {
    sgVec3 out;
    for (int s = 0; s < 3; ++s)
        out[s] = m_[s] * p[0] + m_[4 + s] * p[1] + m_[8 + s] * p[2] + m_[12 + s];
    return out;
}
