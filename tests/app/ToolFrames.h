// The render tool's pictures of a saved scene, one run per frame asked for,
// compared with what the view drew.
#pragma once

#include "tests/support/ImageCheck.h"
#include "tests/support/RenderTool.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

class ToolFrames {
public:
    ToolFrames() = default;
    // The scene file, the anti-aliasing level and a folder for the pictures.
    ToolFrames(std::string scene, int antiAlias, std::string folder)
        : scene_(std::move(scene)), antiAlias_(antiAlias), folder_(std::move(folder)) {}

    // Pixels of shown (the view's picture, rows bottom-up) whose colour is not
    // the tool's for frame; -1 when the tool gave no picture of that size.
    long differing(const Frame& shown, int frame) {
        const RenderToolImage& image = at(frame);
        if (image.width != shown.width || image.height != shown.height) {
            ADD_FAILURE() << "the render tool drew " << image.width << "x" << image.height << " for frame " << frame
                          << ", the view " << shown.width << "x" << shown.height << "\n"
                          << image.log;
            return -1;
        }
        long count = 0;
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x) {
                const RGBA v = shown.at(x, y), t = image.at(x, shown.height - 1 - y);
                if (v.r != t.r || v.g != t.g || v.b != t.b) ++count;
            }
        return count;
    }

private:
    const RenderToolImage& at(int frame) {
        auto it = pictures_.find(frame);
        if (it != pictures_.end()) return it->second;
        RenderToolImage& image = pictures_[frame];
        const std::string png = folder_ + "/tool" + std::to_string(frame) + ".png";
        renderWithTool(scene_, "--frame " + std::to_string(frame) + " --aa " + std::to_string(antiAlias_), png, image);
        return image;
    }

    std::string scene_;
    int antiAlias_ = 0;
    std::string folder_;
    std::map<int, RenderToolImage> pictures_;
};
