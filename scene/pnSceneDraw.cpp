// Drawing a frame, optionally anti-aliased by jittering the projection by
// fractions of a pixel and summing the passes in the accumulation buffer;
// pushing the viewpoint to the channel; picking the object under the mouse.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "scene/pnCounter.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnViewpoint.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgAccumTarget.h"
#include "sg/sgChannel.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeode.h"
#include "sg/sgVec.h"

namespace {

// The published OpenGL jitter tables in their centred form: the samples
// average to the pixel's centre, so an anti-aliased frame sits where the
// single pass does.
const double kJitter4[4][2] = {
    {-0.208147, 0.353730}, {0.203849, -0.353780}, {-0.292626, -0.149945}, {0.296924, 0.149994}};
const double kJitter8[8][2] = {{-0.334818, 0.435331}, {0.286438, -0.393495}, {0.459462, 0.141540},
                               {-0.414498, -0.192829}, {-0.183790, 0.082102}, {-0.079263, -0.317383},
                               {0.102254, 0.299133},  {0.164216, -0.054399}};

bool viewportSize(int* width, int* height) {
    GLint vp[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, vp);
    *width = vp[2];
    *height = vp[3];
    return vp[2] > 0 && vp[3] > 0;
}

bool geodeOf(const pnObject* object, const sgGeode* geode) {
    if (!geode) return false;
    if (const pnCounter* counter = pnKindCast<pnCounter>(object)) {
        for (int i = 0; i < pnCounter::NUM_GLYPHS; ++i)
            if (counter->getGlyphGeode(i) == geode) return true;
        return false;
    }
    return !object->isChart() && object->getGeode() == geode;
}

}  // namespace

void pnScene::applyViewpoint() {
    applyCamera();
    applyBackground();
}

void pnScene::jitterPerspective(double fovy, double aspect, double nearZ, double farZ, double pixdx, double pixdy,
                                double eyedx, double eyedy, double focus) {
    double top = nearZ * std::tan(fovy * SG_PI / 360.0);
    double bottom = -top;
    double right = top * aspect;
    double left = -right;
    jitterFrustum(left, right, bottom, top, nearZ, farZ, pixdx, pixdy, eyedx, eyedy, focus);
}

void pnScene::jitterFrustum(double left, double right, double bottom, double top, double nearZ, double farZ,
                            double pixdx, double pixdy, double eyedx, double eyedy, double focus) {
    int w = 0, h = 0;
    sgChannel* ch = sgChannel::sgGetChannel();
    if (!ch || !viewportSize(&w, &h)) return;
    // A focus of 0 would divide by zero: no depth-of-field shift then.
    double eyeX = focus != 0.0 ? eyedx * nearZ / focus : 0.0;
    double eyeY = focus != 0.0 ? eyedy * nearZ / focus : 0.0;
    double dx = (right - left) * pixdx / w + eyeX;
    double dy = (top - bottom) * pixdy / h + eyeY;
    ch->setFrustum(static_cast<float>(left - dx), static_cast<float>(right - dx), static_cast<float>(bottom - dy),
                   static_cast<float>(top - dy), static_cast<float>(nearZ), static_cast<float>(farZ));
}

void pnScene::jitterOrtho(double w, double h, double viewportWidth, double viewportHeight, double nearZ,
                          double farZ, double jx, double jy) {
    sgChannel* ch = sgChannel::sgGetChannel();
    if (!ch || !(w > 0) || !(h > 0) || !(viewportWidth > 0) || !(viewportHeight > 0)) return;
    double ox = w * jx / viewportWidth;
    double oy = h * jy / viewportHeight;
    double r = std::max(w, h) / 2.0;
    if (w > h)
        ch->setOrtho(ox - (w / h) * r, ox + (w / h) * r, oy - r, oy + r, nearZ, farZ);
    else
        ch->setOrtho(ox - r, ox + r, oy - (h / w) * r, oy + (h / w) * r, nearZ, farZ);
}

bool pnScene::setProjection(double dx, double dy) {
    int w = 0, h = 0;
    if (!viewportSize(&w, &h)) return false;
    const pnViewpoint* v = viewpoint.get();
    if (!v) return true;  // the channel keeps the projection it has
    if (v->perspective) {
        jitterPerspective(v->fov, static_cast<double>(w) / h, v->near, v->far, dx, dy, 0.0, 0.0, 1.0);
        return true;
    }
    if (!(v->width > 0)) return false;
    jitterOrtho(v->width, static_cast<double>(v->width) * h / w, w, h, v->near, v->far, dx, dy);
    return true;
}

void pnScene::drawPasses(int level, int frame, PassState state) {
    auto putState = [&] {
        if (state == PassState::Initial)
            resetAnimation();
        else if (state == PassState::Frame)
            setFrame(frame);
        else if (state == PassState::Posed)
            poseFrame(frame);
    };
    auto drawPass = [&] {
        if (roots && roots->sceneRoot) sgDrawFrame(GL_RENDER, frame);
    };
    // A viewpoint that sees nothing (an orthographic width of 0) shows the
    // background colour, never what the buffer held before.
    auto drawEmpty = [] {
        if (sgChannel* ch = sgChannel::sgFindChannel()) {
            const sgVec4& c = ch->getClearColor();
            glClearColor(c[0], c[1], c[2], c[3]);
        }
        glColorMask(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    };
    int w = 0, h = 0;
    if (!viewportSize(&w, &h)) {
        // Minimised: the animation goes on (pauses, sound cues), nothing is drawn.
        putState();
        return;
    }
    const double(*table)[2] = level == 4 ? kJitter4 : kJitter8;
    const int passes = level == 4 ? 4 : 8;
    const float weight = level == 4 ? 0.25f : 0.125f;
    // The passes are summed in offscreen targets where the context has them,
    // else in the accumulation buffer; a context with neither draws one pass.
    sgAccumTarget* target = nullptr;
    bool offscreen = false;
    GLint accumBits = 0;
    if (level > 0) {
        sgChannel* ch = sgChannel::sgGetChannel();
        int viewport[4] = {0, 0, 0, 0};
        ch->getViewport(viewport);
        target = &ch->getAccumTarget();
        offscreen = target->begin(viewport, passes);
        if (!offscreen) glGetIntegerv(GL_ACCUM_RED_BITS, &accumBits);
    }
    if (level <= 0 || (!offscreen && accumBits <= 0)) {
        bool drawable = setProjection(0.0, 0.0);
        putState();
        if (drawable)
            drawPass();
        else
            drawEmpty();
        return;
    }
    putState();
    for (int i = 0; i < passes; ++i) {
        if (!setProjection(table[i][0], table[i][1])) {
            if (offscreen) target->abandon();
            drawEmpty();
            return;
        }
        if (offscreen) {
            target->beginPass(i);
            drawPass();
        } else {
            drawPass();
            // Loading the first pass replaces clearing the buffer and adding it.
            glAccum(i == 0 ? GL_LOAD : GL_ACCUM, weight);
        }
    }
    if (offscreen)
        target->finish(weight);
    else
        glAccum(GL_RETURN, 1.0f);
    glFlush();
}

void pnScene::drawInitial(int level) { drawPasses(level, 0, PassState::Initial); }

void pnScene::drawFrame(int level, int frame) { drawPasses(level, frame, PassState::Frame); }

void pnScene::redrawFrame(int level, int frame) { drawPasses(level, frame, PassState::Kept); }

void pnScene::drawPosedFrame(int level, int frame) { drawPasses(level, frame, PassState::Posed); }

pnObject* pnScene::pickObject(sgChannel* channel, int x, int y, int pickWidth, int pickHeight, pnObject** chart) {
    if (chart) *chart = nullptr;
    if (!channel) return nullptr;
    sgGeoSet* hit = channel->pick(x, y, pickWidth, pickHeight);
    const sgGeode* geode = hit ? hit->getGeode() : nullptr;
    if (!geode) return nullptr;
    for (int i = 0; i < getNumObjects(); ++i) {
        pnObject* object = getObject(i);
        if (geodeOf(object, geode)) return object;
    }
    for (int i = 0; i < getNumCharts(); ++i) {
        pnObject* chartObject = getChart(i);
        pnChartAccess* access = chartAccess(chartObject);
        for (int p = 0; access && p < access->getNumChartParts(); ++p) {
            pnObject* part = access->getChartPart(p);
            if (part && geodeOf(part, geode)) {
                if (chart) *chart = chartObject;
                return part;
            }
        }
    }
    return nullptr;
}
