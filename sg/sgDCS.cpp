#include "sg/sgDCS.h"

#include <GL/gl.h>

namespace {
int g_mirrorParity = 0;
}

int sgDCS::mirrorParity() { return g_mirrorParity; }
void sgDCS::resetMirrorParity() { g_mirrorParity = 0; }

sgNode* sgDCS::copy() {
    sgDCS* d = new sgDCS;
    d->trans_ = trans_;
    d->angle_ = angle_;
    d->axis_ = axis_;
    d->scale_ = scale_;
    d->translateOn_ = translateOn_;
    d->rotateOn_ = rotateOn_;
    d->scaleOn_ = scaleOn_;
    // A copy in matrix mode draws like its original.
    d->matrix_ = matrix_;
    d->matrixOn_ = matrixOn_;
    return d;
}

void sgDCS::setTrans(float x, float y, float z) {
    trans_.set(x, y, z);
    translateOn_ = 1;
    matrixOn_ = 0;
}

void sgDCS::setRot(float angle, float x, float y, float z) {
    angle_ = angle;
    axis_.set(x, y, z);
    rotateOn_ = 1;
    matrixOn_ = 0;
}

void sgDCS::setScale(float x, float y, float z) {
    scale_.set(x, y, z);
    scaleOn_ = 1;
    matrixOn_ = 0;
}

void sgDCS::setMatrix(const sgMatrix& m) {
    matrix_ = m;
    matrixOn_ = 1;
}

bool sgDCS::mirrors() const {
    if (matrixOn_) {
        const float* m = matrix_.data();
        // Determinant of the upper 3x3 (the same for the transpose).
        double det = m[0] * (double(m[5]) * m[10] - double(m[6]) * m[9]) -
                     m[1] * (double(m[4]) * m[10] - double(m[6]) * m[8]) +
                     m[2] * (double(m[4]) * m[9] - double(m[5]) * m[8]);
        return det < 0;
    }
    if (!scaleOn_) return false;
    // An even number of negative components is a rotation, not a mirror.
    int negatives = (scale_[0] < 0) + (scale_[1] < 0) + (scale_[2] < 0);
    return negatives % 2 == 1;
}

void sgDCS::apply(int) {
    if (matrixOn_) {
        glMultMatrixf(matrix_.data());
        return;
    }
    if (translateOn_) glTranslatef(trans_[0], trans_[1], trans_[2]);
    if (rotateOn_) glRotatef(angle_, axis_[0], axis_[1], axis_[2]);
    if (scaleOn_) glScalef(scale_[0], scale_[1], scale_[2]);
}

void sgDCS::draw(int pass) {
    if (!translateOn_ && !rotateOn_ && !scaleOn_ && !matrixOn_) {
        drawChildren(pass);
        return;
    }
    glPushMatrix();
    bool mirror = mirrors();
    GLint previous = GL_BACK;
    if (mirror) {
        glGetIntegerv(GL_CULL_FACE_MODE, &previous);
        glCullFace(previous == GL_FRONT ? GL_BACK : GL_FRONT);
        g_mirrorParity ^= 1;
    }
    apply(pass);
    drawChildren(pass);
    if (mirror) {
        g_mirrorParity ^= 1;
        glCullFace(static_cast<GLenum>(previous));
    }
    glPopMatrix();
}
