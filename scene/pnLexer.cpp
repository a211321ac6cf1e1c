#include "scene/pnLexer.h"

#include <charconv>
#include <climits>
#include <cstring>
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
int g_identClass[128];
int g_digitClass[128];


bool isIdentChar(int c) { return c >= 0 && c < 128 && g_identClass[c]; }
bool isDigit(int c) { return c >= 0 && c < 128 && g_digitClass[c]; }
bool isLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

void initReservedWords() {
    g_rwTable.clear();
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
    return 1;
}

int lookupRW(const char* text) {
    int low = 0, high = static_cast<int>(g_rwTable.size()) - 1;
    int cmp = 1;
    int mid = 0;
    while (high >= low) {
        mid = (low + high) / 2;
        cmp = std::strcmp(text, g_rwTable[mid].word);
        if (cmp < 0) high = mid - 1;
        else if (cmp > 0) low = mid + 1;
        else break;
    }
    return cmp == 0 && !g_rwTable.empty() ? g_rwTable[mid].token : SYM_IDENT;
}

void initLexer() {
    initReservedWords();
    for (int c = 0; c < 128; ++c) {
        g_digitClass[c] = (c >= '0' && c <= '9') ? 1 : 0;
        g_identClass[c] = (g_digitClass[c] || isLetter(c)) ? 1 : 0;
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

pnLexer::pnLexer(FILE* file) : scriptFile(file) {
    // The tables are the program's; a read that comes first builds them.
    if (g_rwTable.empty()) initLexer();
}


pnLexer::Scope::Scope(pnLexer& lexer) : previous(s_active) { s_active = &lexer; }
pnLexer::Scope::~Scope() { s_active = previous; }

bool pnLexer::readLine() {
    line.clear();
    linePos = 0;
    if (!scriptFile) return false;
    int c = EOF;
    while ((c = getc_unlocked(scriptFile)) != EOF) {
        line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !line.empty();
}

void pnLexer::nextChar() {
    while (linePos >= line.size()) {
        if (!readLine()) {
            scriptEof = 1;
            ch = 0;
            return;
        }
    }
    ch = static_cast<unsigned char>(line[linePos++]);
}

// Skips blanks and comments; false when the input ended.
bool pnLexer::skipSpaceAndComments() {
    for (;;) {
        while (!scriptEof && isBlank(ch)) nextChar();
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
    std::string text;
    bool warned = false;
    while (!scriptEof && (isIdentChar(ch) || ch == '.')) {
        if (text.size() < PN_MAX_WORD) {
            text.push_back(static_cast<char>(ch));
        } else if (!warned) {
            debugPrint("[getSym] Identifier is too long; truncated");
            warned = true;
        }
        nextChar();
    }
    symText = text;
    sym = lookupRW(symText.c_str());
}

void pnLexer::readString() {
    std::string text;
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
    if (!scriptEof && ch == '"') nextChar();
    symText = toUtf8FromLegacy(text);
    sym = lookupRW(symText.c_str());
}

void pnLexer::appendDigits(std::string& text) {
    // Digits beyond the bounded text are consumed so they never start a new token.
    while (!scriptEof && isDigit(ch)) {
        if (text.size() < PN_MAX_NUMBER) text.push_back(static_cast<char>(ch));
        nextChar();
    }
}

void pnLexer::readNumber() {
    bool negative = false;
    if (ch == '+') {
        nextChar();
    } else if (ch == '-') {
        negative = true;
        nextChar();
    }
    std::string text;
    appendDigits(text);
    bool isFloat = false;
    if (!scriptEof && ch == '.') {
        isFloat = true;
        if (text.size() < PN_MAX_NUMBER) text.push_back('.');
        nextChar();
        appendDigits(text);
    }
    if (isFloat) {
        // Locale-independent: "1.5" is one and a half whatever the user's locale.
        double v = 0.0;
        const char* b = text.c_str();
        const char* e = b + text.size();
        if (b != e && *b == '.') {
            std::string padded = "0" + text;
            std::from_chars(padded.c_str(), padded.c_str() + padded.size(), v);
        } else {
            std::from_chars(b, e, v);
        }
        symFloat = negative ? -v : v;
        sym = SYM_FLOAT;
    } else {
        long long v = 0;
        for (char c : text) {
            v = v * 10 + (c - '0');
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
        case '{': sym = SYM_LBRACE; nextChar(); return sym;
        case '}': sym = SYM_RBRACE; nextChar(); return sym;
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
