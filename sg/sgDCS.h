// Transform node: translation, rotation (degrees about an axis) and scale, or a
// full matrix. A transform that mirrors (negative determinant) flips the culled
// face for its subtree and restores the previous one afterwards.
#pragma once

#include "sg/sgMatrix.h"
#include "sg/sgNode.h"
#include "sg/sgVec.h"

class sgDCS : public sgNode {
public:
    const char* getTypeName() const override { return "sgDCS"; }
    // Carries translation, rotation, scale, their flags and the matrix mode.
    sgNode* copy() override;
    void apply(int pass) override;
    void draw(int pass) override;

    // Each setter turns its part on and leaves matrix mode.
    void setTrans(float x, float y, float z);
    void setTransV(const sgVec3& t) { setTrans(t[0], t[1], t[2]); }
    void setRot(float angle, float x, float y, float z);
    void setRot(float angle, const sgVec3& axis) { setRot(angle, axis[0], axis[1], axis[2]); }
    void setScale(float x, float y, float z);
    void setScaleV(const sgVec3& s) { setScale(s[0], s[1], s[2]); }
    void setScale(float s) { setScale(s, s, s); }
    // Copies the matrix and turns matrix mode on; the other flags are kept.
    void setMatrix(const sgMatrix& m);

    sgVec3 getTrans() const { return trans_; }
    float getRotAngle() const { return angle_; }
    sgVec3 getRotAxis() const { return axis_; }
    sgVec3 getScale() const { return scale_; }
    sgMatrix getMatrix() const { return matrix_; }
    int getTranslateOn() const { return translateOn_; }
    int getRotateOn() const { return rotateOn_; }
    int getScaleOn() const { return scaleOn_; }
    int getMatrixOn() const { return matrixOn_; }

    // True when the applied transform mirrors (turns front faces into back faces).
    bool mirrors() const;

    // Number of mirroring transforms the current draw walk is inside, modulo 2.
    // The geode uses it to pick the culled face of its two transparent passes.
    static int mirrorParity();
    static void resetMirrorParity();

private:
    sgVec3 trans_{0, 0, 0};
    float angle_ = 0;
    sgVec3 axis_{0, 1, 0};
    sgVec3 scale_{1, 1, 1};
    int translateOn_ = 0;
    int rotateOn_ = 0;
    int scaleOn_ = 0;
    int matrixOn_ = 0;
    sgMatrix matrix_;
};
