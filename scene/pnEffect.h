// A named, reusable animation step that a play of an event applies to its
// target: translation or motion path, rotation, scale, pivot turn, centre,
// colour material, grow and shrink numbers. Each field has a set flag;
// playback and the writer act only on set fields.
#pragma once

#include <cstdio>
#include <string>

#include "sg/sgVec.h"

// Cubic Bezier motion path over up to four points, with a cubic timing curve
// that eases the path parameter in and out.
class pnEffectPath {
public:
    // Position on the path at t (0..1); t outside is clamped, NaN reads as 0.
    void evaluate(double t, double out[3]) const;
    // Eased parameter: the timing curve at t.
    double evalTiming(double t) const;
    static double easeValue(double x) { return x * (4.0 * x / 15.0 + 8.0 / 15.0); }
    // Whole percentages 5..95 shape the curve; any other value is ignored.
    void setEaseIn(int percent);
    void setEaseOut(int percent);

    double points[4][3] = {};
    double timing[4] = {0.0, 1.0 / 3.0, 2.0 / 3.0, 1.0};
    // The percentages that shaped the timing (0 = none), kept so a saved
    // scene keeps its easing.
    int easeInPercent = 0;
    int easeOutPercent = 0;
};

class pnEffect {
public:
    enum {
        TRANS_FLAG = 0,
        ROTANGLE_FLAG = 1,
        ROTAXIS_FLAG = 2,
        SCALE_FLAG = 3,
        PIVOTANGLE_FLAG = 4,
        PIVOTAXIS_FLAG = 5,
        COLOR_FLAG = 6,
        GROW_FLAG = 7,
        SHRINK_FLAG = 8,
        CENTER_FLAG = 12,
        NUM_FLAGS = 13
    };
    static constexpr int MAX_PATH_POINTS = 4;

    pnEffect();
    virtual ~pnEffect() = default;
    pnEffect(const pnEffect&) = delete;
    pnEffect& operator=(const pnEffect&) = delete;

    virtual void setPivotAxis(const sgVec3& v);
    // Refuses an all-zero axis with a diagnostic; else the vector form.
    virtual void setPivotAxisXYZ(float x, float y, float z);
    virtual void setPivotAngle(float angle);

    void clearFlags();
    // Every field and flag of other; the name stays.
    void copyFields(const pnEffect& other);

    void setName(const char* name);
    const std::string& getName() const { return name; }

    void setTrans(const sgVec3& v);
    void setTrans(float x, float y, float z) { setTrans(sgVec3(x, y, z)); }
    void setRotAngle(float angle);
    // Stored at unit length; a zero (or non-finite) axis is refused.
    void setRotAxis(const sgVec3& v);
    void setRotAxis(float x, float y, float z) { setRotAxis(sgVec3(x, y, z)); }
    void setScale(const sgVec3& v);
    void setScale(float x, float y, float z) { setScale(sgVec3(x, y, z)); }
    void setCenter(const sgVec3& v);
    void setCenter(float x, float y, float z) { setCenter(sgVec3(x, y, z)); }
    // The colour flag is on for a non-empty name only.
    void setColor(const char* materialName);
    void enableGrow(int on);
    void setGrow(int a, int b, int c);
    void setShrink(int a, int b, int c);

    // Appends a motion-path point; 0 when the path is full.
    int addBezierPoint(const sgVec3& p);
    int addBezierPoint(float x, float y, float z) { return addBezierPoint(sgVec3(x, y, z)); }
    sgVec3 getBezierPoint(float t) const;
    int getNumPathPoints() const { return numPathPoints; }
    void setEaseIn(int percent) { path.setEaseIn(percent); }
    void setEaseOut(int percent) { path.setEaseOut(percent); }
    const pnEffectPath& getPath() const { return path; }

    // Flag i, 0 out of range.
    int getFlag(int i) const;
    int getNumFlags() const { return NUM_FLAGS; }

    sgVec3 getTrans() const { return trans; }
    sgVec3 getRotAxis() const { return rotAxis; }
    sgVec3 getScale() const { return scale; }
    sgVec3 getCenter() const { return center; }
    sgVec3 getPivotAxis() const { return pivotAxis; }
    float getRotAngle() const { return rotAngle; }
    float getPivotAngle() const { return pivotAngle; }
    const std::string& getColor() const { return color; }
    // One array serves grow and shrink.
    int getGrowShrink(int i) const { return (i >= 0 && i < 3) ? growShrink[i] : 0; }

    // Writes the "effect" block: the name and every set field. 0 when a
    // write failed.
    int write(FILE* f) const;

private:
    std::string name;
    std::string color;
    sgVec3 trans{0, 0, 0};
    sgVec3 scale{1, 1, 1};
    sgVec3 rotAxis{0, 1, 0};
    sgVec3 center{0, 0, 0};
    float rotAngle = 0.0f;
    float pivotAngle = 0.0f;
    sgVec3 pivotAxis{0, 1, -1};
    int growShrink[3] = {0, 0, 0};
    int numPathPoints = 0;
    pnEffectPath path;
    int flags[NUM_FLAGS] = {};
};
