#include "tests/support/OffscreenGL.h"

#include <GL/gl.h>

OffscreenGL::OffscreenGL(int width, int height) : width_(width), height_(height) {
    ctx_ = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 16, nullptr);
    if (!ctx_) return;
    buffer_.assign(static_cast<size_t>(width) * height * 4, 0);
    ok_ = makeCurrent();
}

OffscreenGL::~OffscreenGL() {
    if (ctx_) OSMesaDestroyContext(ctx_);
}

bool OffscreenGL::makeCurrent() {
    if (!ctx_) return false;
    if (!OSMesaMakeCurrent(ctx_, buffer_.data(), GL_UNSIGNED_BYTE, width_, height_)) return false;
    // Rows bottom-up, as glReadPixels gives them.
    OSMesaPixelStore(OSMESA_Y_UP, 1);
    return true;
}

void GLTest::SetUp() {
    gl_ = new OffscreenGL(width_, height_);
    ASSERT_TRUE(gl_->ok()) << "OSMesa context could not be made";
    glViewport(0, 0, width_, height_);
}

void GLTest::TearDown() {
    delete gl_;
    gl_ = nullptr;
}
