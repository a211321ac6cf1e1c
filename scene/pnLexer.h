// Tokenizer of ".apn" scene files. Each read has a lexer of its own over its
// open `scriptFile`; the current token lives in the lexer's `sym`, `symText`,
// `symInt` and `symFloat`. The reserved-word table is the program's one.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

enum pnSymbol {
    SYM_OTHER = 1,
    SYM_EOF = 2,
    SYM_IDENT = 3,
    SYM_INTEGER = 4,
    SYM_FLOAT = 5,
    SYM_LPAREN = 6,
    SYM_RPAREN = 7,
    SYM_LBRACE = 8,
    SYM_RBRACE = 9,
    SYM_ALIGN = 10,
    SYM_ALPHA = 11,
    SYM_AMBIENT = 12,
    SYM_ANIM_SCALE = 13,
    SYM_ATTENUATION = 14,
    SYM_BACK_MATERIAL = 15,
    SYM_BACK_PROPERTY = 16,
    SYM_BACKGROUND = 17,
    SYM_BAR_CHART = 18,
    SYM_BASE_SCALE = 19,
    SYM_BEVEL = 20,
    SYM_BEZIER = 21,
    SYM_BORDER = 22,
    SYM_CENTER = 23,
    SYM_CHAR_WIDTH = 24,
    SYM_COLOR = 25,
    SYM_COORDS = 26,
    SYM_COUNTER = 27,
    SYM_CLOSE = 28,
    SYM_DATA = 29,
    SYM_DATA_BACK_MATERIAL = 30,
    SYM_DATA_BACK_PROPERTY = 31,
    SYM_DATA_MATERIAL = 32,
    SYM_DATA_MIN = 33,
    SYM_DATA_MAX = 34,
    SYM_DATA_PROPERTY = 35,
    SYM_DATA_STRING = 36,
    SYM_DELAY = 37,
    SYM_DEPTH = 38,
    SYM_DIFFUSE = 39,
    SYM_DIRECTION = 40,
    SYM_DIMENSION = 41,
    SYM_DISAPPEAR = 42,
    SYM_EFFECT = 43,
    SYM_E_GAP = 44,
    SYM_EMISSION = 45,
    SYM_END_TIME = 46,
    SYM_ENV_PANEL = 47,
    SYM_EVENT = 48,
    SYM_EXPANSION = 49,
    SYM_FACE_FLAG = 50,
    SYM_FAR = 51,
    SYM_FILE = 52,
    SYM_FINAL_VALUE = 53,
    SYM_FONT = 54,
    SYM_FOV = 55,
    SYM_FORWARD = 56,
    SYM_FRONT_DEFAULT = 57,
    SYM_FRONT = 58,
    SYM_GAP = 59,
    SYM_GRAPH_MIN = 60,
    SYM_GROW = 61,
    SYM_GROW_VALUE = 62,
    SYM_HEIGHT = 63,
    SYM_HEIGHT_SCALE = 64,
    SYM_H_GAP = 65,
    SYM_H_JUST = 66,
    SYM_H_OFFSET = 67,
    SYM_IN = 68,
    SYM_INDEX = 69,
    SYM_INIT_VALUE = 70,
    SYM_INNER_RAD = 71,
    SYM_INTENSITY = 72,
    SYM_ITALIC = 73,
    SYM_JOINT_FILE = 74,
    SYM_JOINT_MATERIAL = 75,
    SYM_JOINT_PROPERTY = 76,
    SYM_JOINT_SCALE = 77,
    SYM_KIND = 78,
    SYM_LABEL_BACK_MATERIAL = 79,
    SYM_LABEL_BACK_PROPERTY = 80,
    SYM_LABEL_MATERIAL = 81,
    SYM_LABEL_OFFSET = 82,
    SYM_LABEL_PROPERTY = 83,
    SYM_LABEL_ROT_ANGLE = 84,
    SYM_LABEL_ROT_AXIS = 85,
    SYM_LABEL_SCALE = 86,
    SYM_LABEL_STRING = 87,
    SYM_LABEL = 88,
    SYM_LIGHT = 89,
    SYM_LINE_CHART = 90,
    SYM_MS = 91,
    SYM_MATERIAL = 92,
    SYM_MIRROR = 93,
    SYM_MODE = 94,
    SYM_MODEL = 95,
    SYM_N_JUST = 96,
    SYM_NAME = 97,
    SYM_NEAR = 98,
    SYM_NON_STOP = 99,
    SYM_NUM_FRACTION = 100,
    SYM_NUM_INDEX = 101,
    SYM_NUM_VERTEX = 102,
    SYM_OBJECT_NAME = 103,
    SYM_ON = 104,
    SYM_OUT = 105,
    SYM_OUTER_RAD = 106,
    SYM_PANEL = 107,
    SYM_PARENT = 108,
    SYM_PAUSE = 109,
    SYM_PERSPECTIVE = 110,
    SYM_PIE_CHART = 111,
    SYM_PIVOT_ANGLE = 112,
    SYM_PIVOT_AXIS = 113,
    SYM_PLAY = 114,
    SYM_POSITION = 115,
    SYM_POSITIONAL = 116,
    SYM_PRECISION = 117,
    SYM_PROPERTY = 118,
    SYM_RATIO = 119,
    SYM_REPEAT = 120,
    SYM_ROT_ANGLE = 121,
    SYM_ROT_AXIS = 122,
    SYM_ROT_DIRECTION = 123,
    SYM_SPLANE = 124,
    SYM_SCALE = 125,
    SYM_SCALE_ORIGIN = 126,
    SYM_SCENE = 127,
    SYM_SHININESS = 128,
    SYM_SHOW_SIDE = 129,
    SYM_SHOW_DATA = 130,
    SYM_SHOW_LABEL = 131,
    SYM_SHRINK = 132,
    SYM_SHRINK_START = 133,
    SYM_SHRINK_END = 134,
    SYM_SIGNAL = 135,
    SYM_SIZE = 136,
    SYM_SLANT_ANGLE = 137,
    SYM_SLICE_ANGLE = 138,
    SYM_SOUND = 139,
    SYM_SPACING = 140,
    SYM_SPECULAR = 141,
    SYM_SPOT_CONE = 142,
    SYM_SPOT_DIRECTION = 143,
    SYM_START_ANGLE = 144,
    SYM_START_TIME = 145,
    SYM_STRING = 146,
    SYM_STRING_PROPERTY = 147,
    SYM_TPLANE = 148,
    SYM_TEX_MODE = 149,
    SYM_TEXT = 150,
    SYM_TEXT_OFFSET = 151,
    SYM_TEXTURE = 152,
    SYM_TRANS = 153,
    SYM_USE_COMMA = 154,
    SYM_USE_TEXTURE = 155,
    SYM_VALUE_ROT_ANGLE = 156,
    SYM_VALUE_ROT_AXIS = 157,
    SYM_VALUE_SCALE = 158,
    SYM_VIEWPOINT = 159,
    SYM_V_JUST = 160,
    SYM_V_OFFSET = 161,
    SYM_VOLUME_CHART = 162,
    SYM_VERSION = 163,
    SYM_VOLUME = 164,
    SYM_W_JUST = 165,
    SYM_WIDTH = 166,
    SYM_SCENE_UC = 167,
    SYM_PLAY_UC = 168,
};

constexpr int PN_NUM_RESERVED_WORDS = 159;
// Longest unquoted word kept; quoted strings (texts, paths) keep far more.
constexpr size_t PN_MAX_WORD = 256;
constexpr size_t PN_MAX_STRING = 65536;
constexpr size_t PN_MAX_NUMBER = 63;

// Builds the reserved-word table and the character classes (once is enough;
// the lexer builds them itself when nobody has).
void initLexer();
void initReservedWords();
// Appends a reserved word; 0 when the table is full.
int addRW(const char* word, int token);
// Token of a reserved word, SYM_IDENT for any other text.
int lookupRW(const char* text);

// The state of one read: the file, the block of it being read, the current
// character and the current token. Nothing of one read reaches the next.
class pnLexer {
public:
    explicit pnLexer(FILE* file);
    pnLexer(const pnLexer&) = delete;
    pnLexer& operator=(const pnLexer&) = delete;

    // Reads the next token into sym (and its text or value); SYM_EOF at the end.
    int getSym();
    // Moves on when the current token is the expected one, else reports it.
    int gmatchSym(int token);
    // Name of a token for messages (an identifier's own text).
    const char* symName(int token) const;

    FILE* const scriptFile;
    int scriptEof = 0;
    int sym = SYM_EOF;
    std::string symText;
    int symInt = 0;
    double symFloat = 0.0;

    // Whether the input ended inside a block: an outermost "{" never closed,
    // or a quoted string never ended. The block is named by the word before
    // its "{" and the line that "{" stands on (lines count from 1).
    bool endedInsideBlock() const { return scriptEof && (depth > 0 || openString); }
    const std::string& openBlockWord() const { return openWord; }
    int openBlockLine() const { return openLine; }

    // The lexer of the read in progress, for the block readers that the
    // scene reader hands a block to; null between reads. Inline: every token
    // test of a read goes through it.
    static pnLexer* active() { return s_active; }
    // Makes a lexer the active one for as long as it lives.
    class Scope {
    public:
        explicit Scope(pnLexer& lexer);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        pnLexer* previous;
    };

private:
    inline static pnLexer* s_active = nullptr;

    bool readBlock();
    // The line of the current character, counted lazily: only when an
    // outermost block opens.
    int lineNumber();
    void nextChar();
    void nextCharFromNextBlock();
    template <class Take>
    void scanRun(unsigned char cls, Take&& take);
    bool skipSpaceAndComments();
    void readWord();
    void readString();
    struct NumberText;
    void appendDigits(NumberText& text);
    void readNumber();

    // The file is read in blocks; lines may be of any length.
    std::unique_ptr<char[]> block;
    size_t blockPos = 0;
    size_t blockEnd = 0;
    std::string stringText;  // a quoted string before its decoding, reused
    int ch = ' ';
    // Braces open, and the outermost open block.
    long long depth = 0;
    bool openString = false;
    std::string openWord;
    int openLine = 0;
    // Lines ended before block[countedPos].
    long long linesBefore = 0;
    size_t countedPos = 0;
};

// The active lexer's calls, for block readers: SYM_EOF when no read is in
// progress.
int getSym();
int gmatchSym(int token);
const char* symName(int token);

// The active lexer's current token, read as an int (`switch (sym)`).
struct pnActiveSymbol {
    operator int() const {
        const pnLexer* lexer = pnLexer::active();
        return lexer ? lexer->sym : SYM_EOF;
    }
};
inline constexpr pnActiveSymbol sym{};
