#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"

class GLSmokeTest : public GLTest {};

TEST_F(GLSmokeTest, QuadCoversTheExpectedPixels) {
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width_, 0, height_, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(100, 50);
    glVertex2f(300, 50);
    glVertex2f(300, 250);
    glVertex2f(100, 250);
    glEnd();
    Frame f = readFrame(width_, height_);
    EXPECT_TRUE(near(f.at(200, 150), {255, 0, 0, 255})) << describe(f.at(200, 150));
    EXPECT_TRUE(near(f.at(101, 51), {255, 0, 0, 255}));
    EXPECT_TRUE(near(f.at(99, 150), {0, 0, 255, 255}));
    EXPECT_TRUE(near(f.at(200, 251), {0, 0, 255, 255}));
    EXPECT_TRUE(writeFramePNG(f, testOutputDir() + "/smoke.png"));
}

TEST_F(GLSmokeTest, ContextHasDepthStencilAndAccumulation) {
    GLint depth = 0, stencil = 0, accum = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetIntegerv(GL_ACCUM_RED_BITS, &accum);
    EXPECT_GE(depth, 24);
    EXPECT_GE(stencil, 8);
    EXPECT_GE(accum, 16);
}
