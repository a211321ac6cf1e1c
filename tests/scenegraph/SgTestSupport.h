// Shared helpers for the scene-graph and channel tests: flat-coloured quads, a
// pixel-exact orthographic view, and image readers of our own installed
// through the scene graph's reader seam (so these tests never need assets/).
#pragma once

#include <map>
#include <string>

#include "sg/sgGeoSet.h"
#include "sg/sgImage.h"
#include "sg/sgVec.h"

// An axis-aligned quad in the plane z, counter-clockwise seen from +z (ccw
// false: clockwise, so it faces -z). Its state gives it the flat colour rgb
// through emission (no lights needed) and alpha a through the diffuse colour.
sgGeoSet* makeQuad(float x0, float y0, float x1, float y1, float z, float r, float g, float b, float a = 1.0f,
                   bool ccw = true);

// Projection mapping window pixels 1:1 (x 0..w, y 0..h, z -10..10), identity
// model-view, the library's default GL state.
void pixelOrtho(int w, int h);

// Test image readers. A file is known when registered; reading an unknown name
// fails (as a missing file does). Every read is counted per name.
struct FakeImages {
    struct Picture {
        int width = 2;
        int height = 2;
        int components = 3;
        // Colour of the left and right halves (bytes r, g, b, a).
        unsigned char left[4] = {0, 0, 0, 255};
        unsigned char right[4] = {0, 0, 0, 255};
    };
    static void install();
    static void reset();
    static void add(const std::string& name, const Picture& p);
    // A uniform picture.
    static void addColour(const std::string& name, unsigned char r, unsigned char g, unsigned char b,
                          unsigned char a = 255, int components = 3);
    static int reads(const std::string& name);
    static int totalReads();
    static int textureReads();  // padded reads (the channel's background)
};
