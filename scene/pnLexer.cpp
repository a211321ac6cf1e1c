#include "scene/pnLexer.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "platform/TextEncoding.h"
#include "sg/sgRuntime.h"

namespace {

struct ReservedWord {
    const char* word;
    int token;
};

// In ascending byte order, as the binary search needs.
const ReservedWord kReservedWords[] = {
    {"MS", SYM_MS},
    {"PLAY", SYM_PLAY_UC},
    {"SCENE", SYM_SCENE_UC},
    {"align", SYM_ALIGN},
    {"alpha", SYM_ALPHA},
    {"ambient", SYM_AMBIENT},
    {"animScale", SYM_ANIM_SCALE},
    {"attenuation", SYM_ATTENUATION},
    {"backMaterial", SYM_BACK_MATERIAL},
    {"backProperty", SYM_BACK_PROPERTY},
    {"background", SYM_BACKGROUND},
    {"barChart", SYM_BAR_CHART},
    {"baseScale", SYM_BASE_SCALE},
    {"bevel", SYM_BEVEL},
    {"bezier", SYM_BEZIER},
    {"border", SYM_BORDER},
    {"center", SYM_CENTER},
    {"charWidth", SYM_CHAR_WIDTH},
    {"close", SYM_CLOSE},
    {"color", SYM_COLOR},
    {"coords", SYM_COORDS},
    {"counter", SYM_COUNTER},
    {"data", SYM_DATA},
    {"dataBackMaterial", SYM_DATA_BACK_MATERIAL},
    {"dataBackProperty", SYM_DATA_BACK_PROPERTY},
    {"dataMaterial", SYM_DATA_MATERIAL},
    {"dataMax", SYM_DATA_MAX},
    {"dataMin", SYM_DATA_MIN},
    {"dataProperty", SYM_DATA_PROPERTY},
    {"dataString", SYM_DATA_STRING},
    {"delay", SYM_DELAY},
    {"depth", SYM_DEPTH},
    {"diffuse", SYM_DIFFUSE},
    {"dimension", SYM_DIMENSION},
    {"direction", SYM_DIRECTION},
    {"disappear", SYM_DISAPPEAR},
    {"eGap", SYM_E_GAP},
    {"effect", SYM_EFFECT},
    {"emission", SYM_EMISSION},
    {"endTime", SYM_END_TIME},
    {"envPanel", SYM_ENV_PANEL},
    {"event", SYM_EVENT},
    {"expansion", SYM_EXPANSION},
    {"faceFlag", SYM_FACE_FLAG},
    {"far", SYM_FAR},
    {"file", SYM_FILE},
    {"finalValue", SYM_FINAL_VALUE},
    {"font", SYM_FONT},
    {"forward", SYM_FORWARD},
    {"fov", SYM_FOV},
    {"front", SYM_FRONT},
    {"frontDefault", SYM_FRONT_DEFAULT},
    {"gap", SYM_GAP},
    {"graphMin", SYM_GRAPH_MIN},
    {"grow", SYM_GROW},
    {"growValue", SYM_GROW_VALUE},
    {"hGap", SYM_H_GAP},
    {"hJust", SYM_H_JUST},
    {"hOffset", SYM_H_OFFSET},
    {"height", SYM_HEIGHT},
    {"heightScale", SYM_HEIGHT_SCALE},
    {"in", SYM_IN},
    {"index", SYM_INDEX},
    {"initValue", SYM_INIT_VALUE},
    {"innerRad", SYM_INNER_RAD},
    {"intensity", SYM_INTENSITY},
    {"italic", SYM_ITALIC},
    {"jointFile", SYM_JOINT_FILE},
    {"jointMaterial", SYM_JOINT_MATERIAL},
    {"jointProperty", SYM_JOINT_PROPERTY},
    {"jointScale", SYM_JOINT_SCALE},
    {"kind", SYM_KIND},
    {"label", SYM_LABEL},
    {"labelBackMaterial", SYM_LABEL_BACK_MATERIAL},
    {"labelBackProperty", SYM_LABEL_BACK_PROPERTY},
    {"labelMaterial", SYM_LABEL_MATERIAL},
    {"labelOffset", SYM_LABEL_OFFSET},
    {"labelProperty", SYM_LABEL_PROPERTY},
    {"labelRotAngle", SYM_LABEL_ROT_ANGLE},
    {"labelRotAxis", SYM_LABEL_ROT_AXIS},
    {"labelScale", SYM_LABEL_SCALE},
    {"labelString", SYM_LABEL_STRING},
    {"light", SYM_LIGHT},
    {"lineChart", SYM_LINE_CHART},
    {"material", SYM_MATERIAL},
    {"mirror", SYM_MIRROR},
    {"mode", SYM_MODE},
    {"model", SYM_MODEL},
    {"nJust", SYM_N_JUST},
    {"name", SYM_NAME},
    {"near", SYM_NEAR},
    {"nonStop", SYM_NON_STOP},
    {"numFraction", SYM_NUM_FRACTION},
    {"numIndex", SYM_NUM_INDEX},
    {"numVertex", SYM_NUM_VERTEX},
    {"objectName", SYM_OBJECT_NAME},
    {"on", SYM_ON},
    {"out", SYM_OUT},
    {"outerRad", SYM_OUTER_RAD},
    {"panel", SYM_PANEL},
    {"parent", SYM_PARENT},
    {"pause", SYM_PAUSE},
    {"perspective", SYM_PERSPECTIVE},
    {"pieChart", SYM_PIE_CHART},
    {"pivotAngle", SYM_PIVOT_ANGLE},
    {"pivotAxis", SYM_PIVOT_AXIS},
    {"play", SYM_PLAY},
    {"position", SYM_POSITION},
    {"positional", SYM_POSITIONAL},
    {"precision", SYM_PRECISION},
    {"property", SYM_PROPERTY},
    {"ratio", SYM_RATIO},
    {"repeat", SYM_REPEAT},
    {"rotAngle", SYM_ROT_ANGLE},
    {"rotAxis", SYM_ROT_AXIS},
    {"rotDirection", SYM_ROT_DIRECTION},
    {"scale", SYM_SCALE},
    {"scaleOrigin", SYM_SCALE_ORIGIN},
    {"scene", SYM_SCENE},
    {"shininess", SYM_SHININESS},
    {"showData", SYM_SHOW_DATA},
    {"showLabel", SYM_SHOW_LABEL},
    {"showSide", SYM_SHOW_SIDE},
    {"shrink", SYM_SHRINK},
    {"shrinkEnd", SYM_SHRINK_END},
    {"shrinkStart", SYM_SHRINK_START},
    {"signal", SYM_SIGNAL},
    {"size", SYM_SIZE},
    {"slantAngle", SYM_SLANT_ANGLE},
    {"sliceAngle", SYM_SLICE_ANGLE},
    {"sound", SYM_SOUND},
    {"spacing", SYM_SPACING},
    {"specular", SYM_SPECULAR},
    {"splane", SYM_SPLANE},
    {"spotCone", SYM_SPOT_CONE},
    {"spotDirection", SYM_SPOT_DIRECTION},
    {"startAngle", SYM_START_ANGLE},
    {"startTime", SYM_START_TIME},
    {"string", SYM_STRING},
    {"stringProperty", SYM_STRING_PROPERTY},
    {"texMode", SYM_TEX_MODE},
    {"text", SYM_TEXT},
    {"textOffset", SYM_TEXT_OFFSET},
    {"texture", SYM_TEXTURE},
    {"tplane", SYM_TPLANE},
    {"trans", SYM_TRANS},
    {"useComma", SYM_USE_COMMA},
    {"useTexture", SYM_USE_TEXTURE},
    {"vJust", SYM_V_JUST},
    {"vOffset", SYM_V_OFFSET},
    {"valueRotAngle", SYM_VALUE_ROT_ANGLE},
    {"valueRotAxis", SYM_VALUE_ROT_AXIS},
    {"valueScale", SYM_VALUE_SCALE},
    {"version", SYM_VERSION},
    {"viewpoint", SYM_VIEWPOINT},
    {"volume", SYM_VOLUME},
    {"volumeChart", SYM_VOLUME_CHART},
    {"wJust", SYM_W_JUST},
    {"width", SYM_WIDTH},
};

std::vector<ReservedWord> g_rwTable;
// Character classes, one bit each, for every byte value.
enum : unsigned char { kBlank = 1, kDigit = 2, kWord = 4 };
unsigned char g_charClass[256];

// The table's words by a hash of their bytes (open addressing, position + 1;
// 0 is empty), kept in step by addRW: a look-up compares about one word
// where a binary search compares eight.
constexpr size_t kRwSlots = 512;
short g_rwIndex[kRwSlots];

size_t rwSlot(const char* text, size_t n) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(text[i])) * 16777619u;
    return (h ^ (h >> 15)) & (kRwSlots - 1);
}

int lookupWord(const char* text, size_t n) {
    for (size_t slot = rwSlot(text, n);; slot = (slot + 1) & (kRwSlots - 1)) {
        int entry = g_rwIndex[slot];
        if (entry == 0) return SYM_IDENT;
        const ReservedWord& rw = g_rwTable[static_cast<size_t>(entry - 1)];
        if (std::strncmp(rw.word, text, n) == 0 && rw.word[n] == '\0') return rw.token;
    }
}

bool isLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool inClass(int c, unsigned char cls) { return c >= 0 && c < 256 && (g_charClass[c] & cls) != 0; }
bool isDigit(int c) { return inClass(c, kDigit); }

// Blocks of the file read at once.
constexpr size_t kBlockSize = 64 * 1024;

}  // namespace

void initReservedWords() {
    g_rwTable.clear();
    std::fill(std::begin(g_rwIndex), std::end(g_rwIndex), 0);
    for (const ReservedWord& rw : kReservedWords) addRW(rw.word, rw.token);
    if (g_rwTable.size() != PN_NUM_RESERVED_WORDS) debugPrint("[initReservedWords] Reserved Word List no Complete");
}

int addRW(const char* word, int token) {
    if (g_rwTable.size() >= PN_NUM_RESERVED_WORDS) {
        debugPrint("[addRW] Too Many Reserved Words!");
        return 0;
    }
    g_rwTable.push_back({word, token});
    size_t n = g_rwTable.size();
    if (n > 1 && std::strcmp(g_rwTable[n - 2].word, word) >= 0) {
        char buf[600];
        std::snprintf(buf, sizeof buf, "%s - %s\n", g_rwTable[n - 2].word, word);
        debugPrint2("[addRW] Reserved Word List out of Order: ", buf);
    }
    // The table holds far fewer words than the index has slots, so a free slot is always found.
    size_t slot = rwSlot(word, std::strlen(word));
    while (g_rwIndex[slot] != 0) slot = (slot + 1) & (kRwSlots - 1);
    g_rwIndex[slot] = static_cast<short>(n);
    return 1;
}

int lookupRW(const char* text) { return lookupWord(text, std::strlen(text)); }

void initLexer() {
    initReservedWords();
    for (int c = 0; c < 128; ++c) {
        bool digit = c >= '0' && c <= '9';
        bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        g_charClass[c] = static_cast<unsigned char>((blank ? kBlank : 0) | (digit ? kDigit : 0) |
                                                    (digit || isLetter(c) || c == '.' ? kWord : 0));
    }
}

const char* symName(int token) {
    switch (token) {
        case SYM_INTEGER: return "integer";
        case SYM_FLOAT: return "float";
        case SYM_LPAREN: return "(";
        case SYM_RPAREN: return ")";
        case SYM_LBRACE: return "{";
        case SYM_RBRACE: return "}";
        case SYM_IDENT: return pnLexer::active() ? pnLexer::active()->symText.c_str() : "";
        case SYM_ENV_PANEL: return "endPanel";
        case SYM_OBJECT_NAME: return "objName";
        case SYM_ROT_AXIS: return "RotAxis";
        case SYM_ROT_DIRECTION: return "RotDirection";
        case SYM_VIEWPOINT: return "viewpt";
        case SYM_W_JUST: return "WJust";
        case SYM_WIDTH: return "Width";
        default: break;
    }
    if (token >= SYM_ALIGN && token <= SYM_PLAY_UC)
        for (const ReservedWord& rw : kReservedWords)
            if (rw.token == token) return rw.word;
    return "unident";
}

pnLexer::pnLexer(FILE* file) : scriptFile(file), block(new char[kBlockSize]) {
    // The tables are the program's; a read that comes first builds them.
    if (g_rwTable.empty()) initLexer();
}


pnLexer::Scope::Scope(pnLexer& lexer) : previous(s_active) { s_active = &lexer; }
pnLexer::Scope::~Scope() { s_active = previous; }

bool pnLexer::readBlock() {
    if (blockEnd > countedPos) linesBefore += std::count(block.get() + countedPos, block.get() + blockEnd, '\n');
    countedPos = 0;
    blockPos = 0;
    blockEnd = scriptFile ? std::fread(block.get(), 1, kBlockSize, scriptFile) : 0;
    return blockEnd > 0;
}

int pnLexer::lineNumber() {
    // The current character (block[blockPos - 1]) stands on the line counted.
    const size_t upTo = blockPos > 0 ? blockPos - 1 : 0;
    if (upTo > countedPos) {
        linesBefore += std::count(block.get() + countedPos, block.get() + upTo, '\n');
        countedPos = upTo;
    }
    return linesBefore + 1 > INT_MAX ? INT_MAX : static_cast<int>(linesBefore + 1);
}

// Every character of a read passes here: the common case stays in line.
inline void pnLexer::nextChar() {
    if (blockPos < blockEnd) ch = static_cast<unsigned char>(block[blockPos++]);
    else nextCharFromNextBlock();
}

// Moves over the run of characters of a class that starts at the current one,
// handing it to `take` a block's piece at a time; the current character is
// then the first one after the run.
template <class Take>
void pnLexer::scanRun(unsigned char cls, Take&& take) {
    while (!scriptEof && inClass(ch, cls)) {
        // The current character came from the block, unless it is the blank a
        // lexer starts with.
        size_t start = blockPos > 0 ? blockPos - 1 : 0, end = blockPos;
        while (end < blockEnd && (g_charClass[static_cast<unsigned char>(block[end])] & cls)) ++end;
        take(block.get() + start, block.get() + end);
        blockPos = end;
        nextChar();
    }
}

void pnLexer::nextCharFromNextBlock() {
    if (!readBlock()) {
        scriptEof = 1;
        ch = 0;
        return;
    }
    ch = static_cast<unsigned char>(block[blockPos++]);
}

// Skips blanks and comments; false when the input ended.
bool pnLexer::skipSpaceAndComments() {
    for (;;) {
        scanRun(kBlank, [](const char*, const char*) {});
        if (scriptEof) return false;
        if (ch != '/') return true;
        nextChar();
        if (scriptEof) return false;
        if (ch == '*') {
            nextChar();
            for (;;) {
                if (scriptEof) return false;
                if (ch == '*') {
                    while (!scriptEof && ch == '*') nextChar();
                    if (scriptEof) return false;
                    if (ch == '/') {
                        nextChar();
                        break;
                    }
                } else {
                    nextChar();
                }
            }
        } else if (ch == '/') {
            while (!scriptEof && ch != '\n') nextChar();
        }
        // A lone '/' is dropped; what follows is examined as usual.
    }
}

void pnLexer::readWord() {
    symText.clear();
    bool cut = false;
    scanRun(kWord, [&](const char* b, const char* e) {
        size_t n = static_cast<size_t>(e - b), room = PN_MAX_WORD - symText.size();
        if (n > room) {
            cut = true;
            n = room;
        }
        symText.append(b, n);
    });
    if (cut) debugPrint("[getSym] Identifier is too long; truncated");
    sym = lookupWord(symText.data(), symText.size());
}

void pnLexer::readString() {
    std::string& text = stringText;
    text.clear();
    bool warned = false;
    nextChar();  // the opening quote
    while (!scriptEof && ch != '"') {
        if (text.size() < PN_MAX_STRING) {
            // Files written on Windows end lines inside strings with CR LF.
            if (!(ch == '\n' && !text.empty() && text.back() == '\r')) text.push_back(static_cast<char>(ch));
            else text.back() = '\n';
        } else if (!warned) {
            debugPrint("[getSym]  Identifier is too long; truncated");
            warned = true;
        }
        nextChar();
    }
    openString = scriptEof;
    if (!scriptEof && ch == '"') nextChar();
    symText = toUtf8FromLegacy(text);
    sym = lookupRW(symText.c_str());
}

// Digits and at most one point, bounded; digits beyond the bound are consumed
// all the same so they never start a new token.
struct pnLexer::NumberText {
    char text[PN_MAX_NUMBER + 2];  // room for a leading '0' before a point
    size_t size = 1;               // text[0] is kept for that '0'
    void push(char c) {
        if (size <= PN_MAX_NUMBER) text[size++] = c;
    }
};

namespace {

// The exact value of digits[.digits] where it needs no more than one
// correctly rounded division (mantissa below 2^53, at most 22 decimals);
// false where the general conversion must do it.
bool fastDecimal(const char* b, const char* e, double& v) {
    static const double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    // Up to 19 digits fit 64 bits.
    if (e - b > 20) return false;
    uint64_t mantissa = 0;
    const char* p = b;
    for (; p != e && *p != '.'; ++p) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    const char* point = p;
    if (p != e) ++p;
    for (; p != e; ++p) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    long decimals = point == e ? 0 : e - point - 1;
    if (mantissa > (uint64_t{1} << 53) || decimals > 22) return false;
    v = static_cast<double>(mantissa) / kPow10[decimals];
    return true;
}

}  // namespace

void pnLexer::appendDigits(NumberText& text) {
    scanRun(kDigit, [&](const char* b, const char* e) {
        size_t n = std::min(static_cast<size_t>(e - b), PN_MAX_NUMBER + 1 - text.size);
        std::memcpy(text.text + text.size, b, n);
        text.size += n;
    });
}

void pnLexer::readNumber() {
    bool negative = false;
    if (ch == '+') {
        nextChar();
    } else if (ch == '-') {
        negative = true;
        nextChar();
    }
    NumberText number;
    appendDigits(number);
    bool isFloat = false;
    if (!scriptEof && ch == '.') {
        isFloat = true;
        number.push('.');
        nextChar();
        appendDigits(number);
    }
    char* b = number.text + 1;
    char* e = number.text + number.size;
    if (isFloat) {
        // Locale-independent: "1.5" is one and a half whatever the user's locale.
        double v = 0.0;
        if (!fastDecimal(b, e, v)) {
            if (b != e && *b == '.') *--b = '0';
            std::from_chars(b, e, v);
        }
        symFloat = negative ? -v : v;
        sym = SYM_FLOAT;
    } else {
        long long v = 0;
        for (const char* p = b; p != e; ++p) {
            v = v * 10 + (*p - '0');
            if (v > INT_MAX) {
                v = INT_MAX;
                break;
            }
        }
        if (negative) v = -v;
        symInt = static_cast<int>(v);
        sym = SYM_INTEGER;
    }
}

int pnLexer::getSym() {
    if (scriptEof || !skipSpaceAndComments()) return sym = SYM_EOF;
    switch (ch) {
        case '(': sym = SYM_LPAREN; nextChar(); return sym;
        case ')': sym = SYM_RPAREN; nextChar(); return sym;
        case '{':
            // The word before an outermost "{" (still in symText) names the block.
            if (depth++ == 0) {
                openWord = symText;
                openLine = lineNumber();
            }
            sym = SYM_LBRACE;
            nextChar();
            return sym;
        case '}':
            if (depth > 0) --depth;
            sym = SYM_RBRACE;
            nextChar();
            return sym;
        case '"': readString(); return sym;
        default: break;
    }
    if (isLetter(ch)) {
        readWord();
    } else if (isDigit(ch) || ch == '+' || ch == '-') {
        readNumber();
    } else {
        sym = SYM_OTHER;
        nextChar();
    }
    return sym;
}

int pnLexer::gmatchSym(int token) {
    if (sym == token) getSym();
    else debugPrint("[gmatchSym] ncorrect script format");
    return sym;
}

const char* pnLexer::symName(int token) const {
    return token == SYM_IDENT ? symText.c_str() : ::symName(token);
}

int getSym() { pnLexer* lexer = pnLexer::active(); return lexer ? lexer->getSym() : SYM_EOF; }

int gmatchSym(int token) { pnLexer* lexer = pnLexer::active(); return lexer ? lexer->gmatchSym(token) : SYM_EOF; }
