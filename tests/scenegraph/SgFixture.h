// GL fixture for scene-graph tests: a fresh OSMesa context, the library's
// default state, our own image readers, no channel left behind.
#pragma once

#include <GL/gl.h>

#include "sg/sgChannel.h"
#include "sg/sgRuntime.h"
#include "tests/scenegraph/SgTestSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"

class SgGLTest : public GLTest {
protected:
    using GLTest::GLTest;
    void SetUp() override {
        GLTest::SetUp();
        FakeImages::install();
        sgSetTextureReload(0);
        sgSetAlphaOutput(0);
        sgSetCurrentFrame(0);
        sgSetNoPacing(1);
        pixelOrtho(width_, height_);
    }
    void TearDown() override {
        sgChannel::sgFreeChannel();
        GLTest::TearDown();
    }
    Frame frame() { return readFrame(width_, height_); }
    void clear() {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

inline RGBA rgb(int r, int g, int b, int a = 255) {
    RGBA c;
    c.r = static_cast<uint8_t>(r), c.g = static_cast<uint8_t>(g), c.b = static_cast<uint8_t>(b),
    c.a = static_cast<uint8_t>(a);
    return c;
}
