#include "tools/RenderOutput.h"

#include <algorithm>
#include <cstdio>

#include "assets/writePNG.h"
#include "export/CGifEncoder.h"
#include "export/StillImageWriters.h"
#include "platform/PathParts.h"
#include "sg/sgImage.h"

namespace {

const char* const kExtensions[] = {"png", "bmp", "jpg", "tga", "rgb", "gif"};

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

bool writeRenderAnimation(const std::string& path, int width, int height, int first, int last,
                          const std::function<bool(int frame, std::vector<uint8_t>& rgb)>& draw) {
    bool ok = pathExtensionLower(path) == "gif" && first <= last && writeGif(path, width, height, first, last, draw);
    if (!ok) std::fprintf(stderr, "kelvano-render: cannot write the frames %d-%d to %s\n", first, last, path.c_str());
    return ok;
}
