#include "tests/support/ImageCheck.h"
#include "tests/support/TempDir.h"

#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

RGBA Frame::at(int x, int y) const {
    RGBA c;
    if (x < 0 || y < 0 || x >= width || y >= height) return c;
    const uint8_t* p = rgba.data() + (static_cast<size_t>(y) * width + x) * 4;
    c.r = p[0];
    c.g = p[1];
    c.b = p[2];
    c.a = p[3];
    return c;
}

Frame readFrame(int width, int height) {
    Frame f;
    f.width = width;
    f.height = height;
    f.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glFinish();
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, f.rgba.data());
    return f;
}

bool near(const RGBA& a, const RGBA& b, int tol) {
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol &&
           std::abs(a.a - b.a) <= tol;
}

std::string describe(const RGBA& c) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%d, %d, %d, %d)", c.r, c.g, c.b, c.a);
    return buf;
}

bool writeFramePNG(const Frame& f, const std::string& path) {
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(fp);
        return false;
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, f.width, f.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = f.height - 1; y >= 0; --y)
        png_write_row(png, const_cast<png_bytep>(f.rgba.data() + static_cast<size_t>(y) * f.width * 4));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(fp) == 0;
}

std::string testOutputDir() {
    const char* env = std::getenv("KELVANO_TEST_OUT");
    std::string dir = env && *env ? env : tempRoot() + "/kelvano-test-out";
    mkdir(dir.c_str(), 0755);
    return dir;
}
