// A named text style. The scene keeps a list of them and finds them by name;
// text objects, counters and chart labels copy its values into themselves when
// they build their geometry.
#pragma once

#include <cstdio>
#include <string>

#include "sg/sgRuntime.h"

// The values of a text style: the named style holds them, and so does every
// text object, which keeps its own copy.
class pnTextStyleValues {
public:
    // The face every style starts with, and the one a style falls back to when
    // it would otherwise be left without a face.
    static constexpr const char* DEFAULT_FONT = "arial";

    const std::string& getFont() const { return font; }
    int getKind() const { return kind; }
    int getVJust() const { return vJust; }
    float getWJust() const { return wJust; }
    float getNJust() const { return nJust; }
    // 0 the first (width), 1 the second (depth).
    float getBevel(int i) const { return bevel[i == 1 ? 1 : 0]; }
    float getGap() const { return gap; }
    float getSlantAngle() const { return slantAngle; }
    int getItalic() const { return italic; }
    float getHOffset() const { return hOffset; }
    float getVOffset() const { return vOffset; }
    float getBorder() const { return border; }
    float getDepth() const { return depth; }
    float getSpacing1() const { return spacing1; }
    float getSpacing2() const { return spacing2; }
    float getSize() const { return size; }
    float getPrecision() const { return precision; }
    double getRatio() const { return ratio; }

    // Gives other the values a text takes from its style whenever it is built
    // (all but vJust and the two spare spacings; the face only when this one
    // has a face); true when any of them differed.
    bool giveFaceValues(pnTextStyleValues& other) const;

protected:
    pnTextStyleValues() = default;
    pnTextStyleValues(const pnTextStyleValues&) = default;
    pnTextStyleValues& operator=(const pnTextStyleValues&) = default;
    ~pnTextStyleValues() = default;

    // Takes every value. A source without a face leaves "arial" here: an
    // empty face would reach the text engine as a nameless font request.
    void copyValues(const pnTextStyleValues& other);
    // Writes the lines both blocks share, size to font; false when a write
    // failed.
    bool writeFaceValues(FILE* f) const;

    int kind = 1;
    int hJust = 1;
    int vJust = 1;
    float wJust = 0.0f;
    float nJust = 0.0f;
    float bevel[2] = {0.0f, 0.0f};
    float gap = 0.0f;
    float slantAngle = 0.0f;
    int italic = 0;
    float hOffset = 0.0f;
    float vOffset = 0.0f;
    float border = 0.0f;
    std::string font = DEFAULT_FONT;
    float depth = 5.0f;
    float spacing1 = 0.0f;
    float spacing2 = 0.0f;
    float size = 32.0f;
    float precision = 0.6f;
    double ratio = 1.0;
};

class pnStringProperty : public pnTextStyleValues {
public:
    pnStringProperty() = default;
    virtual ~pnStringProperty() = default;
    pnStringProperty(const pnStringProperty&) = delete;
    pnStringProperty& operator=(const pnStringProperty&) = delete;

    // Takes other's settings, its name included (an unnamed style makes this
    // one unnamed). A source without a face leaves "arial" here, never an
    // empty face name. Returns 1 (0 for null).
    int copy(const pnStringProperty* other);

    // Null is ignored; the name is cut at the name limit.
    void setName(const char* n) {
        if (n) name = sgCutName(n);
    }
    const std::string& getName() const { return name; }

    // Null or "" is ignored (the face stays); cut at the name limit.
    void setFont(const char* f);

    // Stored as given; no range checks.
    void setKind(int k) { kind = k; }
    void setHJust(int h) { hJust = h; }
    void setVJust(int v) { vJust = v; }
    void setItalic(int i) { italic = i; }
    void setSlantAngle(float a) { slantAngle = a; }
    void setHOffset(float x) { hOffset = x; }
    void setVOffset(float y) { vOffset = y; }
    void setBorder(float b) { border = b; }
    void setDepth(float d) { depth = d; }
    void setSize(float s) { size = s; }
    void setPrecision(float p) { precision = p; }
    void setRatio(double r) { ratio = r; }
    void setSpacing1(float s) { spacing1 = s; }
    void setSpacing2(float s) { spacing2 = s; }
    // The two width values exclude each other: a positive one clears the other.
    void setWJust(float w);
    void setNJust(float n);
    // Both bevel values = b; or (first, second) as given.
    void setBevel(float b) { bevel[0] = bevel[1] = b; }
    void setBevel(float first, float second) {
        bevel[0] = first;
        bevel[1] = second;
    }
    void setSpacing(float g, float s1, float s2) {
        gap = g;
        spacing1 = s1;
        spacing2 = s2;
    }

    // 0, 1 or 2 as stored; any other stored value reads as 1 (centre).
    int getHJust() const { return (hJust >= 0 && hJust <= 2) ? hJust : 1; }
    int getStoredHJust() const { return hJust; }

    // Writes the "stringProperty" block. Returns 0 when a write failed.
    int write(FILE* f) const;

private:
    std::string name;
};
