// A point in a plane kept both as (x, y) and as radius and angle in degrees,
// the angle measured from +X towards +Y.
#pragma once

class CPolarCoord {
public:
    void SetXY(float x, float y);
    void SetPolar(float radius, float angle);
    // Turns the point about the origin by degrees.
    void Rotate(float degrees);
    void GetXY(float& x, float& y) const;
    void UpdateRadius();
    void UpdateAngle();

    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_radius = 0.0f;
    float m_angle = 0.0f;
};

// Radians to degrees and back, as single-precision constants.
constexpr float kRadToDeg = 57.29578f;
constexpr float kDegToRad = 0.017453292f;
