// Small helpers the chart's source files share.
#pragma once

#include "sg/sgVec.h"

namespace pnChartUtil {

// An axis of all zeros turns about nothing: the setters refuse it.
inline bool zeroAxis(const sgVec3& v) { return v[0] == 0.0f && v[1] == 0.0f && v[2] == 0.0f; }

}  // namespace pnChartUtil
