// Tests that need an external oracle tool (ImageMagick, assimp, pngcheck ...):
// skipped where the tool is missing, failed where the environment variable CI
// is set, so a build machine never passes a check it did not make.
#pragma once

#include <clocale>
#include <string>

#include <gtest/gtest.h>

// True when the command is on the PATH.
bool haveTool(const std::string& tool);
// True when missing tools fail tests (CI set and not empty).
bool toolsRequired();

#define REQUIRE_TOOL(tool)                                                                      \
    do {                                                                                        \
        const std::string kvTool_ = (tool);                                                     \
        if (!haveTool(kvTool_)) {                                                               \
            if (toolsRequired()) GTEST_FAIL() << kvTool_ << " is not installed (CI is set)";    \
            GTEST_SKIP() << kvTool_ << " is not installed";                                     \
        }                                                                                       \
    } while (0)

// Switches the given locale category to the German locale, whose decimal
// comma catches numbers written or read in the user's locale; skipped where it
// is not installed, failed where CI is set.
#define REQUIRE_GERMAN_LOCALE(category)                                                         \
    do {                                                                                        \
        if (!std::setlocale((category), "de_DE.UTF-8")) {                                       \
            if (toolsRequired()) GTEST_FAIL() << "de_DE.UTF-8 is not installed (CI is set)";    \
            GTEST_SKIP() << "de_DE.UTF-8 is not installed";                                     \
        }                                                                                       \
    } while (0)
