// Offscreen GL for tests: an OSMesa RGBA context with depth 24, stencil 8 and a
// 16-bit accumulation buffer, current for the object's lifetime.
#pragma once

#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

class OffscreenGL {
public:
    OffscreenGL(int width, int height);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    bool ok() const { return ok_; }
    bool makeCurrent();
    int width() const { return width_; }
    int height() const { return height_; }

private:
    OSMesaContext ctx_ = nullptr;
    std::vector<uint8_t> buffer_;
    int width_;
    int height_;
    bool ok_ = false;
};

// gtest fixture: a fresh context per test, 400 x 300 unless a test says otherwise.
class GLTest : public ::testing::Test {
protected:
    GLTest(int width = 400, int height = 300) : width_(width), height_(height) {}
    void SetUp() override;
    void TearDown() override;

    int width_;
    int height_;
    OffscreenGL* gl_ = nullptr;
};
