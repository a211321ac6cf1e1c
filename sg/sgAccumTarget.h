// Anti-aliasing passes summed on the GPU. Each pass is drawn into its own
// offscreen colour target (one depth and stencil buffer serves them all);
// one full-viewport quad then writes the weighted sum of the passes into the
// framebuffer that was bound before. The result is the accumulation buffer's
// (load, accumulate, return), but the sum is taken in one shading pass instead
// of a CPU loop over the window per pass, which is what software GL does for
// glAccum. Contexts before GL 3.0 (no framebuffer objects) get false from
// begin and use the accumulation buffer instead.
#pragma once

class sgAccumTarget {
public:
    static constexpr int kMaxPasses = 8;

    sgAccumTarget() = default;
    // Deletes the GL objects; the context that made them must be current.
    ~sgAccumTarget();
    sgAccumTarget(const sgAccumTarget&) = delete;
    sgAccumTarget& operator=(const sgAccumTarget&) = delete;

    // Readies passes (1..kMaxPasses) targets covering the viewport (x, y,
    // width, height): true when the passes can be summed here; false leaves
    // everything as it was.
    bool begin(const int viewport[4], int passes);
    // Pass i (0 .. passes - 1) draws into its offscreen target.
    void beginPass(int i);
    // Binds the framebuffer of begin again and writes the sum of the passes,
    // each times weight, over its viewport. The GL state is left as it was.
    void finish(float weight);
    // Binds the framebuffer of begin again without drawing anything (a pass
    // could not be set up).
    void abandon();

    // Off: begin always says false (tests and the benchmark compare with the
    // accumulation buffer). On by default.
    static void setAllowed(bool allowed);
    // Whether begin can say true in the current context (allowed, GL 3.0 or
    // later with eight texture units).
    static bool available();

private:
    bool make(int width, int height, int passes);
    bool makeProgram(int passes);
    bool stillOurs() const;
    void release();

    unsigned fbo_[kMaxPasses] = {};
    unsigned color_[kMaxPasses] = {};
    unsigned depth_ = 0;
    // The programs summing 1 .. kMaxPasses passes, made as first asked for.
    struct Sum {
        unsigned program = 0;
        int weightLocation = -1;
    };
    Sum sums_[kMaxPasses];
    int made_ = 0;  // targets made
    int width_ = 0, height_ = 0;
    int passes_ = 0;  // in the current frame
    int viewport_[4] = {0, 0, 0, 0};
    int previousFbo_ = 0;
};
