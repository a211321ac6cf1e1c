// Running the headless render tool (kelvano-render) from tests, as a user
// would from a shell, and reading its PNG back through ImageMagick.
#pragma once

#include <string>
#include <vector>

#include "tests/support/ImageCheck.h"

struct RenderToolImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // top-down rows
    std::string log;                 // what the tool printed
    RGBA at(int x, int yFromTop) const;
};

// Shell-quoted text.
std::string shellQuote(const std::string& s);

// Runs the tool with the arguments (shell words, already quoted) in workDir
// (empty: the test's own folder), the leak suppressions of the tests applied.
// Its exit status; what it printed goes to *log.
int runRenderTool(const std::string& args, std::string* log = nullptr, const std::string& workDir = std::string());

// Renders scene (as given to the tool, relative to workDir) with the options
// into png and reads it back. False when the tool or the read-back failed;
// out.log holds what the tool printed either way.
bool renderWithTool(const std::string& scene, const std::string& options, const std::string& png,
                    RenderToolImage& out, const std::string& workDir = std::string());
