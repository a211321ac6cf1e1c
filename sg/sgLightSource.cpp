#include "sg/sgLightSource.h"

#include <GL/gl.h>

#include "sg/sgChannel.h"

namespace {
constexpr int kLights = 8;
int g_lightCounter = 0;
// What the last light pass left enabled.
bool g_lastPass[kLights] = {};

bool validNumber(int n) { return n >= 0 && n < kLights; }

void markReachable(sgNode* node, bool used[kLights]) {
    if (auto* light = dynamic_cast<sgLightSource*>(node)) {
        if (validNumber(light->getLightNumber())) used[light->getLightNumber()] = true;
    }
    for (int i = 0; i < node->getNumChildren(); ++i) markReachable(node->getChild(i), used);
}

void markWanted(sgNode* node, bool wanted[kLights]) {
    if (auto* light = dynamic_cast<sgLightSource*>(node)) {
        if (light->isOn() && validNumber(light->getLightNumber())) wanted[light->getLightNumber()] = true;
        return;
    }
    if (node->getNumChildren() == 0 || !node->getEnabled()) return;
    auto* sw = dynamic_cast<sgSwitch*>(node);
    for (int i = 0; i < node->getNumChildren(); ++i)
        if (!sw || sw->selects(i)) markWanted(node->getChild(i), wanted);
}
}  // namespace

void sgResetLights() {
    g_lightCounter = 0;
    for (bool& b : g_lastPass) b = false;
}

int sgFirstFreeLight() {
    bool used[kLights] = {};
    sgChannel* ch = sgChannel::sgFindChannel();
    if (ch && ch->getScene()) markReachable(ch->getScene(), used);
    for (int i = 0; i < kLights; ++i)
        if (!used[i]) return i;
    return -1;
}

void sgPlaceLights(sgNode* node) {
    if (!node) return;
    if (auto* light = dynamic_cast<sgLightSource*>(node)) {
        light->place();
        return;
    }
    for (int i = 0; i < node->getNumChildren(); ++i) sgPlaceLights(node->getChild(i));
}

void sgLightPass(sgNode* root) {
    bool wanted[kLights] = {};
    if (root) markWanted(root, wanted);
    for (int i = 0; i < kLights; ++i) {
        if (wanted[i] == g_lastPass[i]) continue;
        GLenum light = GL_LIGHT0 + i;
        bool enabled = glIsEnabled(light) == GL_TRUE;
        if (wanted[i] && !enabled) glEnable(light);
        if (!wanted[i] && enabled) glDisable(light);
        g_lastPass[i] = wanted[i];
    }
}

sgLightSource::sgLightSource() {
    if (g_lightCounter < kLights)
        number_ = g_lightCounter++;
    else
        number_ = sgFirstFreeLight();
    setColor(GL_AMBIENT, 0.2f, 0.2f, 0.2f);
    setColor(GL_DIFFUSE, 1, 1, 1);
    setColor(GL_SPECULAR, 1, 1, 1);
}

sgLightSource::~sgLightSource() { off(); }

sgNode* sgLightSource::copy() {
    sgLightSource* l = new sgLightSource;
    l->attrs_ = attrs_;
    return l;
}

const sgLightSource::Record* sgLightSource::find(int key) const {
    for (const Record& r : attrs_)
        if (r.key == key) return &r;
    return nullptr;
}

int sgLightSource::setAttr(int key, float a, float b, float c, float d) {
    for (Record& r : attrs_) {
        if (r.key == key) {
            r.v[0] = a, r.v[1] = b, r.v[2] = c, r.v[3] = d;
            return 1;
        }
    }
    attrs_.push_back(Record{key, {a, b, c, d}});
    return 1;
}

int sgLightSource::getAttr(int key, float out[4]) const {
    const Record* r = find(key);
    for (int i = 0; i < 4; ++i) out[i] = r ? r->v[i] : 0.0f;
    return r ? 1 : 0;
}

void sgLightSource::send(int key, const float v[4]) const {
    if (!validNumber(number_)) return;
    glLightfv(GL_LIGHT0 + number_, static_cast<GLenum>(key), v);
}

void sgLightSource::sendColor(const Record& r) const {
    const float I = intensity_;
    float v[4] = {r.v[0] * I, r.v[1] * I, r.v[2] * I, r.v[3] * I};
    send(r.key, v);
}

int sgLightSource::setColor(int which, float r, float g, float b) {
    if (which != GL_AMBIENT && which != GL_DIFFUSE && which != GL_SPECULAR) return 0;
    setAttr(which, r, g, b, 1.0f);
    sendColor(*find(which));
    return 1;
}

void sgLightSource::setPosition(float x, float y, float z, float w) {
    setAttr(GL_POSITION, x, y, z, w);
    send(GL_POSITION, find(GL_POSITION)->v);
}

void sgLightSource::place() const {
    for (int key : {GL_POSITION, GL_SPOT_DIRECTION})
        if (const Record* r = find(key)) send(key, r->v);
}

void sgLightSource::setSpotDirection(float x, float y, float z) {
    setAttr(GL_SPOT_DIRECTION, x, y, z, 0);
    send(GL_SPOT_DIRECTION, find(GL_SPOT_DIRECTION)->v);
}

void sgLightSource::setSpot(float exponent, float cutoff) {
    setAttr(GL_SPOT_EXPONENT, exponent, 0, 0, 0);
    setAttr(GL_SPOT_CUTOFF, cutoff, 0, 0, 0);
    send(GL_SPOT_EXPONENT, find(GL_SPOT_EXPONENT)->v);
    send(GL_SPOT_CUTOFF, find(GL_SPOT_CUTOFF)->v);
}

void sgLightSource::setAttenuation(float constant, float linear, float quadratic) {
    setAttr(GL_CONSTANT_ATTENUATION, constant, 0, 0, 0);
    setAttr(GL_LINEAR_ATTENUATION, linear, 0, 0, 0);
    setAttr(GL_QUADRATIC_ATTENUATION, quadratic, 0, 0, 0);
    send(GL_CONSTANT_ATTENUATION, find(GL_CONSTANT_ATTENUATION)->v);
    send(GL_LINEAR_ATTENUATION, find(GL_LINEAR_ATTENUATION)->v);
    send(GL_QUADRATIC_ATTENUATION, find(GL_QUADRATIC_ATTENUATION)->v);
}

void sgLightSource::setIntensity(int mode, float intensity) {
    intensityMode_ = mode;
    intensity_ = intensity;
    if (mode != -1) return;
    for (const Record& r : attrs_)
        if (r.key == GL_AMBIENT || r.key == GL_DIFFUSE || r.key == GL_SPECULAR) sendColor(r);
}

namespace {
void put(float* out, float v) {
    if (out) *out = v;
}
}  // namespace

void sgLightSource::getColor(int which, float* r, float* g, float* b) const {
    float v[4];
    getAttr(which, v);
    put(r, v[0]), put(g, v[1]), put(b, v[2]);
}

void sgLightSource::getPosition(float* x, float* y, float* z, float* w) const {
    float v[4];
    getAttr(GL_POSITION, v);
    put(x, v[0]), put(y, v[1]), put(z, v[2]), put(w, v[3]);
}

void sgLightSource::getSpotDirection(float* x, float* y, float* z) const {
    float v[4];
    getAttr(GL_SPOT_DIRECTION, v);
    put(x, v[0]), put(y, v[1]), put(z, v[2]);
}

void sgLightSource::getSpot(float* exponent, float* cutoff) const {
    float e[4], c[4];
    getAttr(GL_SPOT_EXPONENT, e);
    getAttr(GL_SPOT_CUTOFF, c);
    put(exponent, e[0]), put(cutoff, c[0]);
}

void sgLightSource::getAttenuation(float* constant, float* linear, float* quadratic) const {
    float c[4], l[4], q[4];
    getAttr(GL_CONSTANT_ATTENUATION, c);
    getAttr(GL_LINEAR_ATTENUATION, l);
    getAttr(GL_QUADRATIC_ATTENUATION, q);
    put(constant, c[0]), put(linear, l[0]), put(quadratic, q[0]);
}

void sgLightSource::on() {
    on_ = 1;
    if (validNumber(number_) && !glIsEnabled(GL_LIGHT0 + number_)) glEnable(GL_LIGHT0 + number_);
}

void sgLightSource::off() {
    on_ = 0;
    if (validNumber(number_) && glIsEnabled(GL_LIGHT0 + number_)) glDisable(GL_LIGHT0 + number_);
}
