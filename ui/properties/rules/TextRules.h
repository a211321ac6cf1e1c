// The rules of the text page and of the text, image size and edge/shadow
// dialogs that need no window.
#pragma once

#include <string>
#include <vector>

// Quality 1..10 of the text page and the text's precision (1.1 - 0.1 q); a
// precision reads back as the nearest quality.
float PrecisionFromQuality(int quality);
int QualityFromPrecision(float precision);

// The face a face list shows for a wanted name: the first entry that starts
// with it, else the entry equal to the family fontconfig matches for it, else
// the first entry ("" for an empty list).
std::string PickFace(const std::vector<std::string>& faces, const std::string& wanted, const std::string& matched);
// The list index of a stored face: exact, else fontconfig's match; -1.
int FaceIndex(const std::vector<std::string>& faces, const std::string& stored, const std::string& matched);

// The text page's number fields. The integer edits and their spins take
// these ranges; the bevel's edits take 0..kTextBevelMax, and its spins count
// tenths of it.
struct TextIntRange {
    int lo;
    int hi;
};
constexpr TextIntRange kTextSpacingRange{-20, 50};
constexpr TextIntRange kTextRatioRange{10, 500};
constexpr TextIntRange kTextDepthRange{0, 1000};
constexpr TextIntRange kTextJustRange{0, 1000};
constexpr float kTextBevelMax = 10.0f;
constexpr TextIntRange kTextBevelSpinRange{0, 100};

// The Size list's entries, the Origin list's (the horizontal justification,
// by index; the chart pages and the label dialog list the same three) and the
// Quality list's 1..kTextQualities; what the page shows before a text is
// loaded.
extern const char* const kTextSizes[11];
extern const char* const kTextOrigins[3];
constexpr int kTextQualities = 10;
struct TextPageDefaults {
    int spacing = 0;
    int bevelTenths = 0;       // both bevel spins
    int ratio = 100;           // percent
    int depth = 50;
    int origin = 1;            // Center
    int qualityIndex = 4;      // quality 5
    int sizeIndex = 7;         // "72"
    const char* face = "Arial";
};

// "%<width>.<decimals>f": the bevel, spin and loaded values as the edits show them.
std::string FixedText(double value, int decimals, int width = 0);
// The bevel spins count tenths: the value a position stands for, and its text.
inline float BevelOfSpin(int position) { return position * 0.1f; }
inline std::string BevelSpinText(int position) { return FixedText(position * 0.1, 1); }
// The face a Font list index stands for; "" outside the list.
std::string FaceAt(const std::vector<std::string>& faces, int index);
// The text's kind for the 2D box (0 flat, 1 extruded).
inline int TextKindOf2D(bool flat) { return flat ? 0 : 1; }

// The size of the text dialog's preview font: trunc(size x scale / 10).
inline int PreviewFontHeight(int size, int scaleTenths) { return size * scaleTenths / 10; }

// Width and height kept in proportion while one of them is typed.
class ImageSizeRules {
public:
    void Start(int width, int height, int constrain);
    // Constrain switched: on takes the ratio from the values shown.
    void SetConstrain(int on, int width, int height);
    // A typed side: the other side's new value, or -1 when it stays (not
    // constrained, or no usable ratio).
    int WidthTyped(int width);
    int HeightTyped(int height);
    // OK takes sides of 1 to kMaxSceneSide pixels, as a scene file's size is held.
    static bool SideAccepted(int side);
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_bConstrain = 0;
    double m_dRatio = 0.0;

private:
    bool RatioUsable() const;
};

// The edge and shadow dialog: the radio a text opens with (0 none, 1 edge,
// 2 shadow) and the three values OK applies for a radio.
int EdgeShadowKind(float border, float hOffset, float vOffset);
struct EdgeShadowValues {
    float border = 0.0f;
    float hOffset = 0.0f;
    float vOffset = 0.0f;
};
EdgeShadowValues EdgeShadowApplied(int kind, float edgeWidth, float hOffset, float vOffset);

// A whole integer, as an integer-only edit takes it: optional blanks and sign,
// digits, optional blanks, within int. False for anything else ("1.5", "").
bool ParseWholeInt(const std::string& text, int& value);
