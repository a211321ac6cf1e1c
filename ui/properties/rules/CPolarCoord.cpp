#include "ui/properties/rules/CPolarCoord.h"

#include <cmath>

void CPolarCoord::SetXY(float x, float y) {
    m_x = x;
    m_y = y;
    UpdateRadius();
    UpdateAngle();
}

void CPolarCoord::SetPolar(float radius, float angle) {
    m_radius = radius;
    m_angle = angle;
    m_x = radius * std::cos(angle * kDegToRad);
    m_y = radius * std::sin(angle * kDegToRad);
}

void CPolarCoord::Rotate(float degrees) { SetPolar(m_radius, m_angle + degrees); }

void CPolarCoord::GetXY(float& x, float& y) const {
    x = m_x;
    y = m_y;
}

void CPolarCoord::UpdateRadius() { m_radius = std::sqrt(m_x * m_x + m_y * m_y); }

void CPolarCoord::UpdateAngle() { m_angle = std::atan2(m_y, m_x) * kRadToDeg; }
