// The stock textures, backgrounds and sounds of the program's "Textures",
// "Backgrounds" and "Sounds" folders, made from nothing but code: pictures are
// painted from tileable noise and shapes, sounds synthesised from tones and
// noise with a fixed seed, so every run writes the same set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stockmedia {

struct Rgb {
    float r = 0, g = 0, b = 0;  // 0 to 1
};

// A picture of the set. The painter gives the colour at (u, v): u from the
// left edge to the right, v from the top to the bottom, both in [0, 1). A
// texture's painter tiles: its left edge continues its right one and its top
// its bottom. `samples` per side smooths thin lines.
struct StockPicture {
    const char* folder;  // "Textures" or "Backgrounds"
    const char* file;    // the extension picks the format: png jpg tga bmp rgb
    int width, height;
    Rgb (*paint)(float u, float v);
    int samples = 1;
    bool runLength = false;  // a Targa of flat areas, run-length encoded
};

// A sound of the set: `seconds` of samples in [-1, 1] at kSoundRate.
struct StockSound {
    const char* file;
    float seconds;
    std::vector<float> (*synthesize)(int count);
};

constexpr int kSoundRate = 22050;

const std::vector<StockPicture>& stockPictures();
const std::vector<StockSound>& stockSounds();

// 8-bit RGB, rows top-down.
std::vector<uint8_t> paintPicture(const StockPicture& picture);
// 16-bit signed samples.
std::vector<int16_t> soundSamples(const StockSound& sound);

// Writes every picture and sound under dataDir/<folder>/<file>, making the
// folders. False, with the file that failed in `error`, when one could not be
// written.
bool writeStockSet(const std::string& dataDir, std::string& error);

}  // namespace stockmedia
