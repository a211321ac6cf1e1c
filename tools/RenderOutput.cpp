#include "tools/RenderOutput.h"

#include <algorithm>
#include <cstdio>

#include "assets/writePNG.h"
#include "export/CGifEncoder.h"
#include "export/SwfExport.h"
#include "export/StillImageWriters.h"
#include "platform/PathParts.h"
#include "sg/sgImage.h"

namespace {

const char* const kExtensions[] = {"png", "bmp", "jpg", "tga", "rgb", "gif", "avi", "swf"};

// The movie writers' messages go to standard error; questions are answered
// No, and the compressor is Motion JPEG at its default quality.
class ToolMovieHost : public CMovieHost {
public:
    int MessageBox(const std::string& text, const std::string&, int style) override {
        std::fprintf(stderr, "kelvano-render: %s\n", text.c_str());
        return (style & MOVIE_MB_YESNO) ? MOVIE_IDNO : MOVIE_IDOK;
    }
    bool ChooseAviCompressor(AviCompressOptions&) override { return true; }
};

using DrawFrame = std::function<bool(int, std::vector<uint8_t>&)>;

bool writeAvi(const std::string& path, int width, int height, int first, int last, const DrawFrame& draw,
              const AviSoundList& sounds) {
    ToolMovieHost host;
    CAviWriter writer(&host);
    const std::string temp = CAviWriter::makeTemporaryMovieName(path);
    if (temp.empty() || !writer.open(temp, width, height)) return false;
    std::vector<uint8_t> rgb;
    bool ok = true;
    for (int frame = first; ok && frame <= last; ++frame) {
        ok = draw(frame, rgb);
        // The writer takes B, G, R.
        for (size_t p = 0; ok && p + 2 < rgb.size(); p += 3) std::swap(rgb[p], rgb[p + 2]);
        ok = ok && writer.addFrameBitmap(MovieImage{width, height, rgb.data(), size_t(width) * 3, 3, false});
    }
    if (!ok) {
        writer.close();
        writer.deleteTemporaryFiles();
        return false;
    }
    return writer.finish(path, sounds);
}

bool writeSwf(const std::string& path, int width, int height, int first, int last, const DrawFrame& draw) {
    ToolMovieHost host;
    SwfExport swf(&host);
    if (swf.open(path, last - first + 1, width, height, 1, 60, 12, 32) != 0) return false;
    std::vector<uint8_t> rgb, bgra(size_t(width) * size_t(height) * 4);
    for (int frame = first; frame <= last; ++frame) {
        if (!draw(frame, rgb)) {
            swf.close();
            return false;
        }
        // B, G, R, A with the top row first.
        for (int y = 0; y < height; ++y) {
            const uint8_t* s = rgb.data() + size_t(height - 1 - y) * size_t(width) * 3;
            uint8_t* d = bgra.data() + size_t(y) * size_t(width) * 4;
            for (int x = 0; x < width; ++x, s += 3, d += 4) {
                d[0] = s[2];
                d[1] = s[1];
                d[2] = s[0];
                d[3] = 255;
            }
        }
        if (swf.addFrame(frame - first, bgra.data()) != 0) {
            swf.close();
            return false;
        }
    }
    return swf.close() == 0;
}

bool writeGif(const std::string& path, int width, int height, int first, int last,
              const std::function<bool(int, std::vector<uint8_t>&)>& draw) {
    CGifEncoder gif;
    if (gif.open(path, width, height) != 1) return false;
    std::vector<uint8_t> rgb;
    for (int frame = first; frame <= last; ++frame) {
        if (!draw(frame, rgb)) return false;
        // The GIF's first row is the picture's top row.
        flipRows(rgb, width, height, 24);
        int rc = gif.encodeFrame(rgb.data(), frame == last ? -1 : 1);
        if (rc != (frame == last ? CGifEncoder::kFileFinished : CGifEncoder::kFrameWritten)) return false;
    }
    return true;
}

}  // namespace

bool isRenderOutputName(const std::string& path) {
    const std::string ext = pathExtensionLower(path);
    return std::find(std::begin(kExtensions), std::end(kExtensions), ext) != std::end(kExtensions);
}

bool writeRenderOutput(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height) {
    const std::string ext = pathExtensionLower(path);
    CapturedImage image;
    image.width = width;
    image.height = height;
    image.bytesPerPixel = 3;
    image.pixels = rgb.data();
    bool ok = false;
    if (ext == "png")
        ok = writePNG(path, rgb.data(), width, height, 24, 0, 1.0) == 1;
    else if (ext == "bmp")
        ok = writeBMP(path, image) == 1;
    else if (ext == "jpg")
        ok = writeJPG(path, image, 100, 0) == 1;
    else if (ext == "tga")
        ok = writeTGA(path, image, 0, 0) == 1;
    else if (ext == "rgb")
        ok = writeRGB(path, image) == 1;
    else if (ext == "gif")
        ok = writeGif(path, width, height, 0, 0, [&rgb](int, std::vector<uint8_t>& out) {
            out = rgb;
            return true;
        });
    if (!ok) std::fprintf(stderr, "kelvano-render: cannot write %s\n", path.c_str());
    return ok;
}

bool isRenderMovieName(const std::string& path) {
    const std::string ext = pathExtensionLower(path);
    return ext == "gif" || ext == "avi" || ext == "swf";
}

bool writeRenderAnimation(const std::string& path, int width, int height, int first, int last,
                          const std::function<bool(int frame, std::vector<uint8_t>& rgb)>& draw,
                          const AviSoundList& sounds) {
    const std::string ext = pathExtensionLower(path);
    bool ok = first <= last;
    if (ok && ext == "gif")
        ok = writeGif(path, width, height, first, last, draw);
    else if (ok && ext == "avi")
        ok = writeAvi(path, width, height, first, last, draw, sounds);
    else if (ok && ext == "swf")
        ok = writeSwf(path, width, height, first, last, draw);
    else
        ok = false;
    if (!ok) std::fprintf(stderr, "kelvano-render: cannot write the frames %d-%d to %s\n", first, last, path.c_str());
    return ok;
}
