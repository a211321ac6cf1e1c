// Reading ".apn" scene files: the top-level loop, the value readers and one
// reader per block. The reader never stops on bad input: it reports what it
// cannot use on the diagnostic stream (or standard error where the format's
// messages say so), skips it and keeps what it could read.
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "scene/pnBackground.h"
#include "scene/pnChartDataPt.h"
#include "scene/pnCounter.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLexer.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnObject.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "scene/pnVolume.h"
#include "sg/sgRuntime.h"

namespace {

// Names already in the scene's lists while one file is read. The add
// operations walk their lists, which makes a file of many thousand items read
// in quadratic time; the reader checks the same rules (a name that is not yet
// taken, and for objects, events and effects not empty) against these sets.
struct ReadIndex {
    std::unordered_set<std::string> objects;  // charts are objects too
    std::unordered_set<std::string> events;
    std::unordered_set<std::string> effects;
    std::unordered_set<std::string> materials;
    std::unordered_set<std::string> lights;
    std::unordered_set<std::string> styles;
};

ReadIndex* g_index = nullptr;

// Publishes the index for the block readers while one file is read.
struct IndexScope {
    explicit IndexScope(ReadIndex* index) { g_index = index; }
    ~IndexScope() { g_index = nullptr; }
};

bool has(const std::unordered_set<std::string>& names, const std::string& name) {
    return names.count(sgCutName(name)) != 0;
}

// Takes the name into the set when the add rules allow it.
bool admit(std::unordered_set<std::string>& names, const std::string& name, bool emptyAllowed) {
    if (name.empty() && !emptyAllowed) return false;
    return names.insert(name).second;
}

// Appends a finished block's item to its list when the add rules allow its
// name; the list then owns it. Null, the item still the caller's, when
// refused.
template <class T>
T* adopt(pnItemList<T>& list, std::unordered_set<std::string>& names, std::unique_ptr<T>& item, bool emptyAllowed) {
    if (!admit(names, item->getName(), emptyAllowed) || !list.append(item.get())) return nullptr;
    return item.release();
}

// Plays and object names per event. Events keep both in lists that each add
// walks, so a crafted file with millions of them would take hours to read;
// real events hold a handful.
const int kMaxEventEntries = 10000;

// The current token of the read in progress (none outside a read).
const pnLexer& token() {
    static const pnLexer none(nullptr);
    const pnLexer* lexer = pnLexer::active();
    return lexer ? *lexer : none;
}

bool isNumber(int s) { return s == SYM_INTEGER || s == SYM_FLOAT; }
// A word or quoted string, reserved or not.
bool isText(int s) { return s == SYM_IDENT || s >= SYM_ALIGN; }
// Tokens that give the file its structure. A value reader that finds one of
// them in place of its value reports it but leaves it, so a cut-short value
// never swallows the brace that closes its block.
bool isStructural(int s) { return s == SYM_EOF || (s >= SYM_LPAREN && s <= SYM_RBRACE); }
// End of a bracketed list or of a block.
bool endsList(int s) { return s == SYM_RPAREN || s == SYM_RBRACE || s == SYM_EOF; }

float toFloat(double v) {
    if (std::isnan(v)) return 0.0f;
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

// Toward zero, held inside the int range.
int toInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

void numberExpected(const char* who, const char* what) {
    std::string msg = std::string(what) + " number expected instead of " + symName(sym) + ".";
    debugPrint2(who, msg.c_str());
    if (!isStructural(sym)) getSym();
}

// The value readers below read the current token as the value and move on.
double doubleValue() {
    double v = 0.0;
    if (sym == SYM_FLOAT)
        v = token().symFloat;
    else if (sym == SYM_INTEGER)
        v = token().symInt;
    else {
        numberExpected("[pnScene::readFloat] ", "float");
        return 0.0;
    }
    getSym();
    return v;
}

float floatValue() { return toFloat(doubleValue()); }

int intValue() {
    int v = 0;
    if (sym == SYM_INTEGER)
        v = token().symInt;
    else if (sym == SYM_FLOAT)
        v = toInt(token().symFloat);
    else {
        numberExpected("[pnScene::readInt] ", "integer");
        return 0;
    }
    getSym();
    return v;
}

// A number inside a bracketed list where a missing number counts as 0.
int optionalInt() { return isNumber(sym) ? intValue() : 0; }

// The text of a word or quoted string (a reserved word keeps its text); a
// number gives its digits. Other tokens give "" and, unless they are
// structural, are consumed.
std::string textValue() {
    std::string text;
    if (isText(sym)) {
        text = token().symText;
    } else if (sym == SYM_INTEGER) {
        text = std::to_string(token().symInt);
    } else if (sym == SYM_FLOAT) {
        // The shortest text that reads back as the same number, in any locale.
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, token().symFloat);
        text.assign(buf, res.ptr);
    } else if (isStructural(sym)) {
        return text;
    }
    getSym();
    return text;
}

sgVec3 vec3Value() {
    sgVec3 v;
    gmatchSym(SYM_LPAREN);
    for (int i = 0; i < 3; ++i) v[i] = floatValue();
    gmatchSym(SYM_RPAREN);
    return v;
}

// Skips a bracketed group from its "{" to the matching "}" (or the end of the
// input); braces inside quoted strings are part of their token.
void skipGroup() {
    long long depth = 0;
    do {
        if (sym == SYM_LBRACE)
            ++depth;
        else if (sym == SYM_RBRACE)
            --depth;
        getSym();
    } while (depth > 0 && sym != SYM_EOF);
}

// Reports an unexpected token and skips it; an unexpected "{" takes its whole
// group with it, so a nested block never starts bogus keys.
void skipUnexpected(const char* prefix, bool dotted = false) {
    std::string name = symName(sym);
    if (dotted) {
        debugPrint2(prefix, ("unexpected token: " + name + ".").c_str());
    } else {
        debugPrint2(prefix, name.c_str());
    }
    if (sym == SYM_LBRACE)
        skipGroup();
    else if (sym != SYM_EOF)
        getSym();
}

// The counter's messages go to standard error.
void counterUnexpected() {
    std::fprintf(stderr, "WARNING: unexpected token: %s.\n", symName(sym));
    if (sym == SYM_LBRACE)
        skipGroup();
    else if (sym != SYM_EOF)
        getSym();
}

// "2D" or "2d" is the flat kind, any other word the extruded one.
int kindWord(const std::string& w) { return (w == "2D" || w == "2d") ? 0 : 1; }

// Horizontal justification words; -1 for another word.
int hJustWord(const std::string& w) {
    if (w == "Left" || w == "left") return 0;
    if (w == "Center" || w == "center") return 1;
    if (w == "Right" || w == "right") return 2;
    return -1;
}

int vJustWord(const std::string& w) {
    if (w == "Top" || w == "top") return 3;
    if (w == "Center" || w == "center") return 1;
    if (w == "Bottom" || w == "bottom") return 4;
    return -1;
}

// "bevel": "(" two values ")" or one bare value for both.
template <class Style>
void readBevel(Style* s) {
    getSym();
    if (sym == SYM_LPAREN) {
        getSym();
        float a = floatValue();
        float b = floatValue();
        gmatchSym(SYM_RPAREN);
        s->setBevel(a, b);
    } else {
        s->setBevel(floatValue());
    }
}

// The keys a string block shares with a text style (pnString or
// pnStringProperty). Returns false for any other token. A justification word
// that names none goes to badWord with the message to print before it.
template <class Style, class Report>
bool readTextStyleField(Style* s, Report badWord) {
    switch (sym) {
        case SYM_SIZE: s->setSize(pnScene::readFloat()); return true;
        case SYM_SLANT_ANGLE: s->setSlantAngle(pnScene::readFloat()); return true;
        case SYM_ITALIC: s->setItalic(pnScene::readInt()); return true;
        case SYM_E_GAP: s->setSpacing1(pnScene::readFloat()); return true;
        case SYM_H_GAP: s->setSpacing2(pnScene::readFloat()); return true;
        case SYM_DEPTH: s->setDepth(pnScene::readFloat()); return true;
        case SYM_RATIO: getSym(); s->setRatio(doubleValue()); return true;
        case SYM_BEVEL: readBevel(s); return true;
        case SYM_PRECISION: s->setPrecision(pnScene::readFloat()); return true;
        case SYM_FONT: s->setFont(pnScene::readQuoted().c_str()); return true;
        case SYM_BORDER: s->setBorder(pnScene::readFloat()); return true;
        case SYM_KIND: s->setKind(kindWord(pnScene::readQuoted())); return true;
        case SYM_H_OFFSET: s->setHOffset(pnScene::readFloat()); return true;
        case SYM_V_OFFSET: s->setVOffset(pnScene::readFloat()); return true;
        case SYM_H_JUST: {
            std::string w = pnScene::readQuoted();
            int h = hJustWord(w);
            if (h >= 0)
                s->setHJust(h);
            else
                badWord("Unidentifiable token for hJust: ", w);
            return true;
        }
        case SYM_V_JUST: {
            std::string w = pnScene::readQuoted();
            int v = vJustWord(w);
            if (v >= 0)
                s->setVJust(v);
            else
                badWord("Unidentifiable token for vJust: ", w);
            return true;
        }
        case SYM_W_JUST: s->setWJust(pnScene::readFloat()); return true;
        case SYM_N_JUST: s->setNJust(pnScene::readFloat()); return true;
        default: return false;
    }
}

sgVec4 planeValue() { return pnScene::readColor(); }

// The keys every object block shares. Returns false for any other token.
// Material messages carry the block's prefix; the counter block writes its own
// to standard error.
bool readCommonField(pnObject* o, const char* prefix, bool counterMessages) {
    switch (sym) {
        case SYM_NAME: o->setName(pnScene::readQuoted().c_str()); return true;
        case SYM_FILE: o->setFileName(pnScene::readQuoted().c_str()); return true;
        case SYM_TEXTURE: o->setTexture(pnScene::readQuoted().c_str()); return true;
        case SYM_POSITION: o->setPosition(pnScene::readVec3()); return true;
        case SYM_ROT_ANGLE: o->setRotAngle(pnScene::readFloat()); return true;
        case SYM_ROT_AXIS: o->setRotAxis(pnScene::readVec3()); return true;
        case SYM_PIVOT_ANGLE: o->setPivotAngle(pnScene::readFloat()); return true;
        case SYM_PIVOT_AXIS: o->setPivotAxis(pnScene::readVec3()); return true;
        case SYM_SCALE: o->setScale(pnScene::readVec3()); return true;
        case SYM_SCALE_ORIGIN: o->setScaleOrigin(pnScene::readVec3()); return true;
        case SYM_CENTER: o->setCenter(pnScene::readVec3()); return true;
        case SYM_MATERIAL:
        case SYM_PROPERTY: {
            std::string m = pnScene::readQuoted();
            if (has(g_index->materials, m)) {
                o->setMaterial(m.c_str());
            } else if (counterMessages) {
                std::fprintf(stderr, "ERROR: Material \"%s\" not found.\n", m.c_str());
            } else {
                debugPrint2((std::string(prefix) + "Material not found: ").c_str(), m.c_str());
            }
            return true;
        }
        case SYM_TEX_MODE: o->setTexMode(pnScene::readInt()); return true;
        case SYM_NUM_INDEX: o->setNumIndex(pnScene::readInt()); return true;
        case SYM_FORWARD: o->setForward(pnScene::readInt()); return true;
        default: return false;
    }
}

}  // namespace

// ---- value readers: each consumes its key, then the value ----

float pnScene::readFloat() {
    getSym();
    return floatValue();
}

int pnScene::readInt() {
    getSym();
    return intValue();
}

sgVec2 pnScene::readVec2() {
    getSym();
    sgVec2 v;
    gmatchSym(SYM_LPAREN);
    for (int i = 0; i < 2; ++i) v[i] = floatValue();
    gmatchSym(SYM_RPAREN);
    return v;
}

sgVec3 pnScene::readVec3() {
    getSym();
    return vec3Value();
}

sgVec4 pnScene::readColor() {
    getSym();
    sgVec4 v;
    gmatchSym(SYM_LPAREN);
    for (int i = 0; i < 4; ++i) v[i] = floatValue();
    gmatchSym(SYM_RPAREN);
    return v;
}

std::string pnScene::readQuoted() {
    getSym();
    return textValue();
}

void pnScene::readPause() {
    getSym();
    if (isNumber(sym)) {
        addPause(intValue());
    } else if (sym == SYM_LPAREN) {
        getSym();
        while (!endsList(sym)) {
            if (isNumber(sym))
                addPause(intValue());
            else
                getSym();  // anything else inside the brackets is skipped
        }
        if (sym == SYM_RPAREN) getSym();
    } else if (!isStructural(sym)) {
        getSym();
    }
}

void pnScene::readSound() {
    static const char* kIllegal = "WARNING: illegal sound script format.\n";
    getSym();
    if (sym != SYM_LPAREN) {
        std::fputs(kIllegal, stderr);
        if (!isStructural(sym)) getSym();
        return;
    }
    getSym();
    bool spoilt = false;  // after one bad item the rest of the list is skipped
    while (!endsList(sym)) {
        if (!spoilt && isNumber(sym)) {
            int frame = intValue();
            if (isText(sym)) {
                addSound(frame, token().symText.c_str());
                getSym();
                continue;
            }
        }
        std::fputs(kIllegal, stderr);
        spoilt = true;
        if (!endsList(sym)) getSym();
    }
    if (sym == SYM_RPAREN) getSym();
}

// ---- last frame ----

void pnScene::raiseLastFrame(long long frame) {
    if (frame > INT_MAX) frame = INT_MAX;
    if (frame > lastFrame) lastFrame = static_cast<int>(frame);
}

// A repeating event runs (delay + its span) once more per repeat after its
// last play.
void pnScene::raiseLastFrameForRepeat(const pnEvent* e) {
    if (e->getRepeat() < 2 || e->getNumPlays() == 0) return;
    long long lastEnd = e->getPlay(e->getLastPlayIndex())->end;
    long long firstStart = e->getPlay(0)->start;
    long long span = static_cast<long long>(e->getDelay()) + lastEnd - firstStart;
    long long repeats = static_cast<long long>(e->getRepeat()) - 1;
    if (span <= 0) {
        raiseLastFrame(lastEnd);
        return;
    }
    // Held at the largest frame rather than overflowing.
    long long room = static_cast<long long>(INT_MAX) - lastEnd;
    raiseLastFrame(repeats > room / span ? INT_MAX : lastEnd + span * repeats);
}

// ---- top level ----

int pnScene::read(pnLexer& lexer) {
    int blocks = 0;
    pnLexer::Scope reading(lexer);
    ReadIndex index;
    for (int i = 0; i < getNumObjects(); ++i) index.objects.insert(getObject(i)->getName());
    for (int i = 0; i < getNumEvents(); ++i) index.events.insert(getEvent(i)->getName());
    for (int i = 0; i < getNumEffects(); ++i) index.effects.insert(getEffect(i)->getName());
    for (int i = 0; i < getNumMaterials(); ++i) index.materials.insert(getMaterial(i)->getName());
    for (int i = 0; i < getNumLights(); ++i) index.lights.insert(getLight(i)->getName());
    for (int i = 0; i < getNumStringProperties(); ++i) index.styles.insert(getStringProperty(i)->getName());
    IndexScope scope(&index);

    getSym();
    while (sym != SYM_EOF) {
        int keyword = sym;
        void (pnScene::*block)() = nullptr;
        switch (keyword) {
            case SYM_SCENE: block = &pnScene::readScene; break;
            case SYM_VIEWPOINT: block = &pnScene::readViewpoint; break;
            case SYM_BACKGROUND: block = &pnScene::readBackground; break;
            case SYM_MATERIAL:
            case SYM_PROPERTY: block = &pnScene::readMaterial; break;
            case SYM_LIGHT: block = &pnScene::readLight; break;
            case SYM_STRING_PROPERTY: block = &pnScene::readStringProperty; break;
            case SYM_MODEL: block = &pnScene::readModel; break;
            case SYM_STRING: block = &pnScene::readString; break;
            case SYM_PANEL: block = &pnScene::readPanel; break;
            case SYM_COUNTER: block = &pnScene::readCounter; break;
            case SYM_VOLUME: block = &pnScene::readVolume; break;
            case SYM_EFFECT: block = &pnScene::readEffect; break;
            case SYM_EVENT: block = &pnScene::readEvent; break;
            case SYM_BAR_CHART:
            case SYM_PIE_CHART:
            case SYM_LINE_CHART:
            case SYM_VOLUME_CHART: readChart(keyword); continue;
            default: break;
        }
        if (block) {
            getSym();
            // Only a keyword followed by its "{" makes a block.
            blocks += sym == SYM_LBRACE;
            gmatchSym(SYM_LBRACE);
            (this->*block)();
            if (sym == SYM_RBRACE) getSym();
            continue;
        }
        // An unknown block is skipped whole, however its keys are named.
        debugPrint2("[pnScene::read] unexpected token: ", symName(sym));
        if (sym != SYM_LBRACE) getSym();
        if (sym == SYM_LBRACE) skipGroup();
    }
    return blocks;
}

// ---- the scene block ----

void pnScene::readScene() {
    static const char* kWho = "[pnScene::readScene] ";
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        switch (sym) {
            case SYM_NAME: setName(readQuoted().c_str()); break;
            case SYM_WIDTH: {
                int w = readInt();
                if (w >= 1) width = w;
                break;
            }
            case SYM_HEIGHT: {
                int h = readInt();
                if (h >= 1) height = h;
                break;
            }
            case SYM_VERSION: version = readInt(); break;
            case SYM_POSITION: setPosition(readVec3()); break;
            case SYM_ROT_ANGLE: setRotAngle(readFloat()); break;
            case SYM_ROT_AXIS: {
                sgVec3 v = readVec3();
                if (v[0] == 0.0f && v[1] == 0.0f && v[2] == 0.0f) {
                    rotAxis.set(0, 0, 1);
                    std::fputs("TALO: one of axis component should not be 0.\n", stderr);
                } else {
                    setRotAxis(v);
                }
                break;
            }
            case SYM_SCALE: setScale(readVec3()); break;
            case SYM_PAUSE: readPause(); break;
            case SYM_SOUND: readSound(); break;
            case SYM_ANIM_SCALE: animScale = readFloat(); break;
            case SYM_ALIGN: {
                std::string w = readQuoted();
                if (w == "Top" || w == "top")
                    align = 0;
                else if (w == "Bottom" || w == "bottom")
                    align = 1;
                else if (w == "Center" || w == "center")
                    align = 2;
                else if (w == "Left" || w == "left")
                    align = 3;
                else if (w == "Right" || w == "right")
                    align = 4;
                else
                    debugPrint2("[pnScene::readScene] Unidentifiable token for align: ", w.c_str());
                break;
            }
            case SYM_MS: ms = readInt(); break;
            default: skipUnexpected(kWho, true); break;
        }
    }
}

// ---- records ----

void pnScene::readViewpoint() {
    static const char* kWho = "[pnScene::readViewpoint] ";
    auto vp = std::make_unique<pnViewpoint>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        switch (sym) {
            case SYM_NAME: vp->setName(readQuoted().c_str()); break;
            case SYM_POSITION: vp->setPosition(readVec3()); break;
            case SYM_DIRECTION: vp->setDirection(readVec3()); break;
            case SYM_NEAR: vp->near = readFloat(); break;
            case SYM_FAR: vp->far = readFloat(); break;
            case SYM_FOV: vp->fov = readFloat(); break;
            case SYM_WIDTH: vp->width = readFloat(); break;
            case SYM_PERSPECTIVE: vp->perspective = readInt(); break;
            default: skipUnexpected(kWho, true); break;
        }
    }
    setViewpoint(vp.release());
}

void pnScene::readMaterial() {
    static const char* kWho = "[pnScene::readMaterial] unexpected token: ";
    auto m = std::make_unique<pnMaterial>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        switch (sym) {
            case SYM_NAME: m->setName(readQuoted().c_str()); break;
            // Written for a material with an image; kept so that it survives
            // the next save.
            case SYM_FILE: m->setFile(readQuoted().c_str()); break;
            case SYM_DIFFUSE: m->setDiffuse(readVec3()); break;
            case SYM_AMBIENT: m->setAmbient(readVec3()); break;
            case SYM_EMISSION: m->setEmission(readVec3()); break;
            case SYM_SPECULAR: m->setSpecular(readVec3()); break;
            case SYM_SHININESS: m->setShininess(readFloat()); break;
            case SYM_ALPHA: m->setAlpha(readFloat()); break;
            default: skipUnexpected(kWho); break;
        }
    }
    if (!adopt(materials, g_index->materials, m, true))
        debugPrint2("[pnScene::readMaterial] duplicate material name: ", m->getName().c_str());
}

void pnScene::readLight() {
    static const char* kWho = "[pnScene::readLight] unexpected token: ";
    auto l = std::make_unique<pnLight>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        switch (sym) {
            case SYM_NAME: l->setName(readQuoted().c_str()); break;
            case SYM_POSITION: l->setPosition(readVec3()); break;
            case SYM_ATTENUATION: l->setAttenuation(readVec3()); break;
            case SYM_SPOT_CONE: {
                sgVec2 c = readVec2();
                l->setSpotCone(c[0], c[1]);
                break;
            }
            case SYM_SPOT_DIRECTION: l->setSpotDirection(readVec3()); break;
            case SYM_MATERIAL:
            case SYM_PROPERTY: {
                std::string m = readQuoted();
                if (has(g_index->materials, m))
                    l->setMaterial(m.c_str());
                else
                    debugPrint2("[pnScene::readLight] Material not found: ", m.c_str());
                break;
            }
            case SYM_INTENSITY: l->setIntensity(readFloat()); break;
            case SYM_POSITIONAL: l->setPositional(readInt()); break;
            case SYM_ON: l->setOn(readInt()); break;
            case SYM_FILE: l->setFile(readQuoted().c_str()); break;
            default: skipUnexpected(kWho); break;
        }
    }
    l->setScene(this);
    if (!adopt(lights, g_index->lights, l, true))
        debugPrint2("[pnScene::readLight] duplicate light name: ", l->getName().c_str());
}

void pnScene::readStringProperty() {
    static const char* kWho = "[pnScene::readStringProperty] ";
    auto s = std::make_unique<pnStringProperty>();
    auto badWord = [](const char* message, const std::string& w) { debugPrint3(kWho, message, w.c_str()); };
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        if (readTextStyleField(s.get(), badWord)) continue;
        switch (sym) {
            case SYM_NAME: s->setName(readQuoted().c_str()); break;
            case SYM_GAP: s->setSpacing(readFloat(), s->getSpacing1(), s->getSpacing2()); break;
            default: skipUnexpected(kWho, true); break;
        }
    }
    if (!adopt(stringProperties, g_index->styles, s, true))
        debugPrint2(kWho, ("duplicate object name: " + s->getName()).c_str());
}

void pnScene::readEffect() {
    static const char* kWho = "[pnScene::readEffect] unexpected token: ";
    auto e = std::make_unique<pnEffect>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        switch (sym) {
            case SYM_NAME: e->setName(readQuoted().c_str()); break;
            case SYM_TRANS: e->setTrans(readVec3()); break;
            case SYM_SCALE: e->setScale(readVec3()); break;
            case SYM_CENTER: e->setCenter(readVec3()); break;
            case SYM_ROT_ANGLE: e->setRotAngle(readFloat()); break;
            case SYM_ROT_AXIS: e->setRotAxis(readVec3()); break;
            case SYM_PIVOT_ANGLE: e->setPivotAngle(readFloat()); break;
            case SYM_PIVOT_AXIS: {
                sgVec3 v = readVec3();
                e->setPivotAxisXYZ(v[0], v[1], v[2]);
                break;
            }
            case SYM_COLOR: e->setColor(readQuoted().c_str()); break;
            case SYM_GROW:
            case SYM_SHRINK: {
                bool grow = sym == SYM_GROW;
                getSym();
                gmatchSym(SYM_LPAREN);
                int a = optionalInt();
                int b = optionalInt();
                int c = optionalInt();
                gmatchSym(SYM_RPAREN);
                if (grow)
                    e->setGrow(a, b, c);
                else
                    e->setShrink(a, b, c);
                break;
            }
            case SYM_BEZIER: e->addBezierPoint(readVec3()); break;
            case SYM_IN: e->setEaseIn(readInt()); break;
            case SYM_OUT: e->setEaseOut(readInt()); break;
            default: skipUnexpected(kWho); break;
        }
    }
    if (!adopt(effects, g_index->effects, e, false))
        debugPrint2("[pnScene::readEffect] duplicate effect name", e->getName().c_str());
}

// ---- events ----

void pnScene::readEventObjName(pnEvent* e) {
    // An event moves an object, a chart, a light or the camera.
    auto known = [this](const std::string& n) {
        if (has(g_index->objects, n) || has(g_index->lights, n)) return true;
        return viewpoint && viewpoint->getName() == sgCutName(n);
    };
    getSym();
    if (sym == SYM_LPAREN) {
        getSym();
        while (!endsList(sym)) {
            if (!isText(sym)) {
                getSym();
                continue;
            }
            std::string n = token().symText;
            getSym();
            if (e->getNumObjectNames() >= kMaxEventEntries)
                debugPrint2("[pnScene::readEventObjName] too many objects: ", n.c_str());
            else if (known(n))
                e->addObjectName(n.c_str());
            else
                debugPrint2("[pnScene::readEventObjName] objectnot found: ", n.c_str());
        }
        if (sym == SYM_RPAREN) getSym();
        return;
    }
    std::string n = textValue();
    if (e->getNumObjectNames() >= kMaxEventEntries)
        debugPrint2("[pnScene::readEventObjName] too many objects: ", n.c_str());
    else if (known(n))
        e->addObjectName(n.c_str());
    else
        debugPrint2("[pnScene::readEventObjName] object not found: ", n.c_str());
}

void pnScene::readEventPlay(pnEvent* e) {
    getSym();
    gmatchSym(SYM_LPAREN);
    std::string effect = textValue();
    int start = optionalInt();
    int end = optionalInt();
    int flags = optionalInt();
    gmatchSym(SYM_RPAREN);
    raiseLastFrame(end);
    if (start > end) {
        char frames[64];
        std::snprintf(frames, sizeof frames, "%d > %d", start, end);
        debugPrint3("[pnScene::readEventPlay] ", "start frame is bigger than end frame: ", frames);
        return;
    }
    // The play keeps its length as an int.
    if (static_cast<long long>(end) - start > INT_MAX) {
        debugPrint2("[pnScene::readEventPlay] ", "play is too long");
        return;
    }
    if (!has(g_index->effects, effect)) {
        debugPrint2("[pnScene::readEventPlay] effect not found: ", effect.c_str());
        return;
    }
    if (e->getNumPlays() >= kMaxEventEntries) {
        debugPrint2("[pnScene::readEventPlay] too many plays: ", effect.c_str());
        return;
    }
    e->addPlay(effect.c_str(), start, end, flags);
    raiseLastFrameForRepeat(e);
}

void pnScene::readEvent() {
    static const char* kWho = "[pnScene::readEvent] unexpected token:";
    auto e = std::make_unique<pnEvent>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        switch (sym) {
            case SYM_NAME: e->setName(readQuoted().c_str()); break;
            case SYM_OBJECT_NAME: readEventObjName(e.get()); break;
            case SYM_PARENT: e->setParent(readQuoted().c_str()); break;
            case SYM_PLAY: readEventPlay(e.get()); break;
            case SYM_DELAY: {
                int d = readInt();
                if (d >= 0) e->setDelay(d);
                break;
            }
            case SYM_DISAPPEAR: {
                int f = readInt();
                e->setDisappear(f);
                raiseLastFrame(f);
                break;
            }
            case SYM_NON_STOP: e->setNonStop(readInt()); break;
            case SYM_REPEAT: {
                int r = readInt();
                if (r > 0) {
                    e->setRepeat(r);
                    raiseLastFrameForRepeat(e.get());
                }
                break;
            }
            default: skipUnexpected(kWho); break;
        }
    }
    if (pnEvent* held = adopt(events, g_index->events, e, false))
        held->setScene(this);
    else
        debugPrint2("[pnScene::readEvent] duplicate event name: ", e->getName().c_str());
}

// ---- objects ----

namespace {

// Adds a finished object block under the add rules and gives it the scene;
// the object list then owns it. Null, the block still the caller's, when
// refused.
template <class T>
T* adoptObject(pnItemList<pnObject>& objects, std::unique_ptr<T>& o, pnScene* scene) {
    if (!admit(g_index->objects, o->getName(), false)) return nullptr;
    if (!objects.append(o.get())) {
        g_index->objects.erase(o->getName());
        return nullptr;
    }
    o->setScene(scene);
    return o.release();
}

}  // namespace

void pnScene::readBackground() {
    static const char* kWho = "[pnScene::readBackground] unexpected token: ";
    auto bg = std::make_unique<pnBackground>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        switch (sym) {
            case SYM_COLOR: bg->setColor(readColor()); break;
            case SYM_FILE: bg->setFileName(readQuoted().c_str()); break;
            case SYM_NAME: bg->setName(readQuoted().c_str()); break;
            case SYM_TEX_MODE: bg->setTexMode(readInt()); break;
            case SYM_USE_TEXTURE: bg->setUseTexture(readInt()); break;
            // Written with every object's fields; the draw order is kept.
            case SYM_FORWARD: bg->setForward(readInt()); break;
            default: skipUnexpected(kWho); break;
        }
    }
    setBackground(bg.release());
}

void pnScene::readModel() {
    static const char* kWho = "[pnScene::readModel] ";
    auto m = std::make_unique<pnModel>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        if (readCommonField(m.get(), kWho, false)) continue;
        switch (sym) {
            case SYM_MODE: m->setMode(readInt()); break;
            case SYM_SPLANE: m->setSPlane(planeValue()); break;
            case SYM_TPLANE: m->setTPlane(planeValue()); break;
            default: skipUnexpected("[pnScene::readModel] unexpected token: "); break;
        }
    }
    if (!adoptObject(objects, m, this))
        debugPrint2("[pnScene::readModel] duplicate object name: ", m->getName().c_str());
}

void pnScene::readPanel() {
    static const char* kWho = "[pnScene::readPanel] ";
    auto p = std::make_unique<pnPanel>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        if (readCommonField(p.get(), kWho, false)) continue;
        switch (sym) {
            case SYM_KIND: p->setKind(kindWord(readQuoted())); break;
            case SYM_BEVEL: p->setBevel(readFloat()); break;
            case SYM_FACE_FLAG: {
                getSym();
                gmatchSym(SYM_LPAREN);
                int flags[6];
                for (int& f : flags) f = optionalInt();
                gmatchSym(SYM_RPAREN);
                p->setFaceFlags(flags);
                break;
            }
            case SYM_DIMENSION: p->setDimension(readVec3()); break;
            case SYM_MODE: p->setMode(readInt()); break;
            case SYM_SPLANE: p->setSPlane(planeValue()); break;
            case SYM_TPLANE: p->setTPlane(planeValue()); break;
            case SYM_COORDS: {
                sgVec4 c = readColor();
                p->setCoords(c[0], c[1], c[2], c[3]);
                break;
            }
            case SYM_BACK_MATERIAL:
            case SYM_BACK_PROPERTY: {
                std::string m = readQuoted();
                if (has(g_index->materials, m))
                    p->setBackMaterial(m.c_str());
                else
                    debugPrint2("[pnScene::readPanel] Back material not found: ", m.c_str());
                break;
            }
            default: skipUnexpected("[pnScene::readPanel] unexpected token: "); break;
        }
    }
    if (!adoptObject(objects, p, this))
        debugPrint2("[pnScene::readPanel] duplicate object name: ", p->getName().c_str());
}

void pnScene::readString() {
    static const char* kWho = "[pnScene::readString] ";
    auto s = std::make_unique<pnString>();
    auto badWord = [](const char* message, const std::string& w) {
        debugPrint2((std::string(kWho) + message).c_str(), w.c_str());
    };
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        if (readCommonField(s.get(), kWho, false)) continue;
        if (readTextStyleField(s.get(), badWord)) continue;
        switch (sym) {
            case SYM_STRING: s->setString(readQuoted().c_str()); break;
            case SYM_STRING_PROPERTY: {
                std::string n = readQuoted();
                if (has(g_index->styles, n))
                    s->setStringProperty(n.c_str());
                else
                    debugPrint2("[pnScene::readString] String material not found: ", n.c_str());
                break;
            }
            case SYM_GAP: s->setGap(readFloat()); break;
            case SYM_BACK_MATERIAL:
            case SYM_BACK_PROPERTY: {
                std::string m = readQuoted();
                if (has(g_index->materials, m))
                    s->setBackMaterial(m.c_str());
                else
                    debugPrint2("[pnScene::readString] Material not found.", m.c_str());
                break;
            }
            case SYM_MODE: s->setMode(readInt()); break;
            case SYM_SPLANE: s->setSPlane(planeValue()); break;
            case SYM_TPLANE: s->setTPlane(planeValue()); break;
            default: skipUnexpected("[pnScene::readString] unexpected token: "); break;
        }
    }
    // A text of a style shows the style's face (every build takes it): its
    // own values follow the style, so a save writes what the text shows.
    if (const char* styleName = s->getStringPropertyName())
        if (const pnStringProperty* style = findStringProperty(styleName)) style->giveFaceValues(*s);
    if (!adoptObject(objects, s, this))
        debugPrint2("[pnScene::readString] duplicate object name ", s->getName().c_str());
}

void pnScene::readCounter() {
    auto c = std::make_unique<pnCounter>();
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        if (readCommonField(c.get(), "", true)) continue;
        switch (sym) {
            case SYM_STRING_PROPERTY: {
                std::string n = readQuoted();
                if (has(g_index->styles, n))
                    c->setStringProperty(n.c_str());
                else
                    std::fprintf(stderr, "ERROR: String material \"%s\" not found.\n", n.c_str());
                break;
            }
            case SYM_BACK_MATERIAL:
            case SYM_BACK_PROPERTY: {
                std::string m = readQuoted();
                if (has(g_index->materials, m))
                    c->setBackMaterial(m.c_str());
                else
                    std::fprintf(stderr, "ERROR: Material \"%s\" not found.\n", m.c_str());
                break;
            }
            case SYM_INIT_VALUE: {
                getSym();
                c->setInitValue(doubleValue());
                break;
            }
            case SYM_FINAL_VALUE: {
                getSym();
                c->setFinalValue(doubleValue());
                break;
            }
            case SYM_USE_COMMA: c->setUseComma(readInt()); break;
            case SYM_NUM_FRACTION: c->setNumFraction(readInt()); break;
            case SYM_MODE: c->setMode(readInt()); break;
            case SYM_SPLANE: c->setSPlane(planeValue()); break;
            case SYM_TPLANE: c->setTPlane(planeValue()); break;
            default: counterUnexpected(); break;
        }
    }
    if (!adoptObject(objects, c, this))
        std::fprintf(stderr, "ERROR: duplicate object name, %s.\n", c->getName().c_str());
}

// A mesh block as pnVolume writes it. Its counts are only read past: the
// lists themselves say how many values there are, so nothing is allocated
// beyond what the file holds.
namespace {

void readPointList(std::vector<float>& out) {
    getSym();
    gmatchSym(SYM_LPAREN);
    while (sym == SYM_LPAREN) {
        sgVec3 v = vec3Value();
        out.insert(out.end(), {v[0], v[1], v[2]});
    }
    gmatchSym(SYM_RPAREN);
}

void readIndexList(std::vector<int>& out) {
    getSym();
    gmatchSym(SYM_LPAREN);
    while (isNumber(sym)) out.push_back(intValue());
    gmatchSym(SYM_RPAREN);
}

bool indicesBelow(const std::vector<int>& index, size_t count) {
    for (int i : index)
        if (i < 0 || static_cast<size_t>(i) >= count) return false;
    return true;
}

}  // namespace

void pnScene::readVolume() {
    static const char* kWho = "[pnScene::readVolume] ";
    auto v = std::make_unique<pnVolume>();
    std::vector<float> coords, normals;
    std::vector<int> index, normIndex;
    bool inMesh = false;  // "numIndex" after the vertices counts indices
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        if (sym == SYM_NUM_VERTEX) {
            readInt();
            inMesh = true;
        } else if (sym == SYM_COORDS) {
            readPointList(coords);
            inMesh = true;
        } else if (sym == SYM_NUM_INDEX && inMesh) {
            readInt();
        } else if (sym == SYM_INDEX) {
            readIndexList(index);
        } else if (sym == SYM_IDENT && token().symText == "numNormal") {
            readInt();
        } else if (sym == SYM_IDENT && token().symText == "normals") {
            readPointList(normals);
        } else if (sym == SYM_IDENT && token().symText == "normIndex") {
            readIndexList(normIndex);
        } else if (!readCommonField(v.get(), kWho, false)) {
            skipUnexpected("[pnScene::readVolume] unexpected token: ");
        }
    }
    // Indices that point past their arrays would be drawn from memory the
    // mesh does not own: such a mesh is dropped.
    size_t numVertex = coords.size() / 3, numNormal = normals.size() / 3;
    if (!normIndex.empty() && normIndex.size() != index.size()) normIndex.resize(index.size(), 0);
    if (!indicesBelow(index, numVertex) || !indicesBelow(normIndex, normIndex.empty() ? 0 : numNormal)) {
        debugPrint2(kWho, "mesh index out of range; mesh dropped");
        coords.clear();
        normals.clear();
        index.clear();
        normIndex.clear();
    }
    v->setCoords(coords.data(), static_cast<int>(numVertex));
    v->setNormals(normals.data(), static_cast<int>(normals.size() / 3));
    v->setIndex(index.data(), normIndex.empty() ? nullptr : normIndex.data(), static_cast<int>(index.size()));
    v->setNumPrims(static_cast<int>(index.size() / 3));
    if (!adoptObject(objects, v, this))
        debugPrint2("[pnScene::readVolume] duplicate object name: ", v->getName().c_str());
}

// ---- charts ----

namespace {

pnChartBlockReaderMaker g_chartReaders = nullptr;

const char* chartPrefix(int keyword) {
    switch (keyword) {
        case SYM_BAR_CHART: return "[pnScene::readBarChart] ";
        case SYM_PIE_CHART: return "[pnScene::readPieChart] ";
        case SYM_LINE_CHART: return "[pnScene::readLineChart] ";
        default: return "[pnScene::readVolumeChart] ";
    }
}

// A chart's points each become parts, effects and events when it is shown;
// a crafted file must not make a million of them.
const int kMaxChartPoints = 10000;

}  // namespace

void pnScene::setChartBlockReaders(pnChartBlockReaderMaker maker) { g_chartReaders = maker; }

bool pnChartReadContext::knownMaterial(const std::string& name) const {
    if (g_index && has(g_index->materials, name)) return true;
    debugPrint2((std::string(prefix) + "Material not found: ").c_str(), name.c_str());
    return false;
}

bool pnChartReadContext::knownStringProperty(const std::string& name) const {
    if (g_index && has(g_index->styles, name)) return true;
    debugPrint2((std::string(prefix) + "String material not found: ").c_str(), name.c_str());
    return false;
}

void pnChartReadContext::report(const char* message, const std::string& text) const {
    debugPrint2((std::string(prefix) + message).c_str(), text.c_str());
}

// Without the chart kinds a chart block is skipped whole like any block the
// reader does not know.
void pnScene::readChart(int keyword) {
    std::unique_ptr<pnChartBlockReader> block = g_chartReaders ? g_chartReaders(keyword) : nullptr;
    if (!block || !block->getChart()) {
        debugPrint2("[pnScene::read] chart block not read: ", symName(keyword));
        getSym();
        if (sym == SYM_LBRACE) skipGroup();
        return;
    }
    const char* who = chartPrefix(keyword);
    const std::string unexpected = std::string(who) + "unexpected token: ";
    pnChartReadContext context(who);
    getSym();
    gmatchSym(SYM_LBRACE);
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        if (sym == SYM_DATA) {
            readChartData(*block, who);
            continue;
        }
        if (block->readKey(context)) continue;
        if (readCommonField(block->getChart(), who, false)) continue;
        skipUnexpected(unexpected.c_str());
    }
    if (sym == SYM_RBRACE) getSym();

    std::unique_ptr<pnObject> chart(block->finish());
    if (!chart) return;
    if (pnObject* held = adoptObject(objects, chart, this)) {
        // The chart list points into the object list, which now owns it.
        if (!charts.append(held)) debugPrint2(who, "chart list is full");
    } else {
        debugPrint2((std::string(who) + "duplicate chart name: ").c_str(), chart->getName().c_str());
    }
}

// One "data { ... }" block into a new point of the chart.
void pnScene::readChartData(pnChartBlockReader& block, const char* who) {
    const std::string unexpected = std::string(who) + "unexpected token: ";
    getSym();
    if (sym != SYM_LBRACE) {
        // A "data" key without its block: the next token is read as a key.
        debugPrint2(who, "data block expected");
        return;
    }
    getSym();
    pnChartDataPt p;
    pnChartReadContext context(who);
    while (sym != SYM_RBRACE && sym != SYM_EOF) {
        switch (sym) {
            case SYM_SPACING: p.spacing = readVec3(); break;
            case SYM_GROW_VALUE: {
                getSym();
                double v = doubleValue();
                p.growValue = std::isfinite(v) ? v : 0.0;
                break;
            }
            case SYM_LABEL: p.setLabel(readQuoted().c_str()); break;
            case SYM_TEXT: p.setDataText(readQuoted().c_str()); break;
            case SYM_LABEL_OFFSET: p.setLabelOffset(readVec3()); break;
            case SYM_TEXT_OFFSET: p.setTextOffset(readVec3()); break;
            case SYM_LABEL_SCALE: p.setLabelScale(readVec3()); break;
            case SYM_VALUE_SCALE: p.setValueScale(readVec3()); break;
            case SYM_LABEL_ROT_AXIS: p.setLabelRotAxis(readVec3()); break;
            case SYM_VALUE_ROT_AXIS: p.setValueRotAxis(readVec3()); break;
            case SYM_LABEL_ROT_ANGLE: p.setLabelRotAngle(readFloat()); break;
            case SYM_VALUE_ROT_ANGLE: p.setValueRotAngle(readFloat()); break;
            case SYM_START_TIME: p.startTime = pnChartDataPt::heldFrame(readInt()); break;
            case SYM_END_TIME: p.endTime = pnChartDataPt::heldFrame(readInt()); break;
            case SYM_SHRINK_START: p.shrinkStart = pnChartDataPt::heldFrame(readInt()); break;
            case SYM_SHRINK_END: p.shrinkEnd = pnChartDataPt::heldFrame(readInt()); break;
            case SYM_MATERIAL:
            case SYM_PROPERTY: {
                std::string m = readQuoted();
                if (context.knownMaterial(m)) p.setMaterialName(m.c_str());
                break;
            }
            case SYM_JOINT_MATERIAL:
            case SYM_JOINT_PROPERTY: {
                std::string m = readQuoted();
                if (context.knownMaterial(m)) p.setJointMaterialName(m.c_str());
                break;
            }
            case SYM_DEPTH: p.depth = readFloat(); break;
            default: skipUnexpected(unexpected.c_str()); break;
        }
    }
    if (sym == SYM_RBRACE) getSym();
    if (block.getChart()->getNumDataPts() >= kMaxChartPoints) {
        debugPrint2(who, "too many data points");
        return;
    }
    block.addDataPt(p);
}
