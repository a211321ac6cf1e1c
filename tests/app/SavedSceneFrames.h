// A scene the view shows against the same scene saved: at each frame asked
// for, the view's picture must be the render tool's picture of that frame of
// the saved file, and the view's own picture of it once it has opened that
// file again. What only the program's commands made then cannot draw
// otherwise after a save.
#pragma once

#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "tests/app/RecordingHost.h"
#include "tests/app/ToolFrames.h"
#include "tests/support/ImageCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

// Pixels whose colour differs between two pictures of one size; -1 for
// pictures of different sizes.
inline long differingPixels(const Frame& a, const Frame& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    long count = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const RGBA p = a.at(x, y), q = b.at(x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b) ++count;
        }
    return count;
}

// The view's picture at each of frames, reached as the time line goes there
// in animation mode; then Save As to folder/saved.apn, the render tool's
// picture of each frame of that file and, after File > Open of it, the
// view's picture of each frame, each the same pixels as the first. The view
// ends on the reopened file in animation mode. A picture that differs is
// written to the test output folder, named after what.
inline void expectSavedSceneDrawsTheSame(CKelvanoView& view, RecordingHost& host, const std::string& folder,
                                         int width, int height, const std::vector<int>& frames,
                                         const std::string& what) {
    SCOPED_TRACE(what);
    auto showAt = [&](int frame) {
        if (!view.m_bAnimationMode) view.OnCommand(kv::ID_MODE_ANIMATION);
        view.GoToFrame(frame);
        view.OnDraw();
        return readFrame(width, height);
    };
    auto keep = [&](const Frame& f, int frame, const char* how) {
        writeFramePNG(f, testOutputDir() + "/" + what + "-" + std::to_string(frame) + "-" + how + ".png");
    };
    std::map<int, Frame> shown;
    for (int f : frames) shown[f] = showAt(f);
    ASSERT_EQ(view.m_bAnimationMode, 1) << "the scene has nothing to animate";

    const std::string saved = folder + "/saved.apn";
    host.dialogPaths = {saved};
    ASSERT_EQ(view.OnFileSaveAs(), 1);
    ToolFrames tool(saved, view.m_nAntiAlias, folder);
    for (const auto& [f, picture] : shown) {
        const long differing = tool.differing(picture, f);
        EXPECT_EQ(differing, 0) << "frame " << f << ": the view against the render tool's picture of the saved file";
        if (differing) keep(picture, f, "view");
    }

    view.m_strPendingOpen = saved;
    ASSERT_EQ(view.OnFileOpen(), 1);
    view.OnSize(width, height);
    for (const auto& [f, picture] : shown) {
        const Frame reopened = showAt(f);
        const long differing = differingPixels(picture, reopened);
        EXPECT_EQ(differing, 0) << "frame " << f << ": the view against the view after opening the saved file";
        if (differing) keep(reopened, f, "reopened");
    }
}
