// One data point of a chart: its value, label and value texts, animation frames,
// text placement and materials. A plain record held by value in its chart; the
// chart reads and writes the fields directly and owns every side effect.
#pragma once

#include <string>

#include "sg/sgVec.h"

#include <climits>

// The latest frame a point's time takes from a file: the chart's own events
// add a few frames to its times and average two, which must stay ints.
constexpr int kMaxChartPointFrame = INT_MAX / 4;

class pnChartDataPt {
public:
    pnChartDataPt() = default;
    // Copies bound every text to a name field's length, so a text written
    // directly past the limit never travels further.
    pnChartDataPt(const pnChartDataPt& other);
    pnChartDataPt& operator=(const pnChartDataPt& other);

    // Text setters cut at the name limit (127 bytes); a null text gives "".
    void setName(const char* text);
    void setLabel(const char* text);
    void setDataText(const char* text);
    void setMaterialName(const char* text);
    void setJointMaterialName(const char* text);
    // A time read from a file: held at kMaxChartPointFrame; a negative one is
    // no time (-1), as the writer leaves it out.
    static int heldFrame(int frame) { return frame < 0 ? -1 : frame > kMaxChartPointFrame ? kMaxChartPointFrame : frame; }

    sgVec3 getSpacing() const { return spacing; }
    sgVec3 getLabelOffset() const { return labelOffset; }
    sgVec3 getTextOffset() const { return textOffset; }
    sgVec3 getLabelScale() const { return labelScale; }
    sgVec3 getValueScale() const { return valueScale; }
    sgVec3 getLabelRotAxis() const { return labelRotAxis; }
    sgVec3 getValueRotAxis() const { return valueRotAxis; }

    void setLabelOffset(const sgVec3& v) { labelOffset = v; }
    void setTextOffset(const sgVec3& v) { textOffset = v; }
    void setLabelScale(const sgVec3& v) { labelScale = v; }
    void setValueScale(const sgVec3& v) { valueScale = v; }
    void setLabelRotAngle(float a) { labelRotAngle = a; }
    void setLabelRotAxis(const sgVec3& v) { labelRotAxis = v; }
    void setValueRotAngle(float a) { valueRotAngle = a; }
    void setValueRotAxis(const sgVec3& v) { valueRotAxis = v; }

    double growValue = 100.0;
    std::string name;              // spare; copied, not otherwise used
    std::string label = "m";
    std::string dataText = "50";
    int startTime = 0;             // grow animation
    int endTime = 0;
    int shrinkStart = -1;          // -1: no shrink
    int shrinkEnd = -1;
    sgVec3 spacing{0, 0, 0};       // offset from the previous point
    float depth = 0.0f;            // 0: the chart's depth
    sgVec3 labelOffset{0, 0, 0};
    sgVec3 textOffset{0, 0, 0};
    float labelRotAngle = 0.0f;
    sgVec3 labelRotAxis{0, 1, 0};
    sgVec3 labelScale{1, 1, 1};
    float valueRotAngle = 0.0f;
    sgVec3 valueRotAxis{0, 1, 0};
    sgVec3 valueScale{1, 1, 1};
    std::string materialName;      // "" = none
    std::string jointMaterialName; // "" = none
};
