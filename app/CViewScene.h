// What the view asks of the scene it owns. The scene model attaches itself
// here; while nothing is attached the view shows a new scene's background and
// has no scene to write.
#pragma once

#include <string>

class CViewScene {
public:
    virtual ~CViewScene() = default;
    // Draw into the back buffer with the view's context current. passes is 0
    // (one pass), 4 or 8 (summed in the accumulation buffer).
    virtual void DrawInitial(int passes) = 0;
    virtual void DrawFrame(int passes, int frame) = 0;
    // True while playback stands at a pause frame (the view then skips drawing).
    virtual bool PauseReached() const = 0;
    virtual void SetViewport(int width, int height) = 0;
    // Names the scene after the file title and writes it as a scene file;
    // false when the file could not be written in full (nothing replaced).
    virtual bool Save(const std::string& path) = 0;
};
