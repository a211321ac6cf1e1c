// Decoded image: rows bottom-up (OpenGL order), bytes red, green, blue[, alpha].
// The component count is reported beside the record by whoever fills it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sgImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

using sgImagePtr = std::unique_ptr<sgImage>;

// Smallest power of two strictly above `dimension`, starting from `start`
// (1 for most readers, 4 for PNG): 255 -> 256, 256 -> 512.
int nextPowerAbove(int dimension, int start = 1);

// Turns the rows upside down in place (row height-1-i becomes row i).
void flipRows(std::vector<uint8_t>& pixels, int width, int height, int bitsPerPixel);

// Copies 4-byte blue-green-red-alpha pixels into a new power-of-two canvas with
// red and blue exchanged; the source is left alone. Null on a bad record.
sgImagePtr convertBGRAImage(const sgImage& bgra);

// Places a picture of `components` bytes per pixel in the lower left corner of a
// zeroed power-of-two canvas (starting at `start`) and reports the coordinate
// scales. Null when the size does not fit in memory.
sgImagePtr padToPowerOfTwo(const sgImage& image, int components, int start, float* sScale, float* tScale);

// Byte count of a w x h x c image, or 0 when the dimensions are not positive
// or the product would not fit (readers check before allocating).
size_t sgImageByteCount(int64_t width, int64_t height, int64_t components);

// Image handles: the program registers images it holds in memory (4-byte BGRA)
// and passes their handles to the texture code through one-line ".4dv" files.
int sgRegisterImageHandle(const sgImage* image);
void sgUnregisterImageHandle(int handle);
// Null for a handle that designates no registered image.
const sgImage* sgLookupImageHandle(int handle);
// Reads the handle file and returns the registered image, or null when the file
// cannot be read or names no registered image.
const sgImage* readImageHandle(const std::string& path);

// Texture format codes by extension: 0 SGI RGB, 1 DIB, 2 Targa, 3 JPEG, 4 PNG,
// 9 image handle file.
enum sgImageFormat { SG_FMT_RGB = 0, SG_FMT_DIB = 1, SG_FMT_TGA = 2, SG_FMT_JPEG = 3, SG_FMT_PNG = 4, SG_FMT_HANDLE = 9 };

// Why a reader gave no image.
enum class sgImageFailure {
    none,
    missing,      // no such file, or not a regular file
    tooLarge,     // the file or the picture it holds exceeds what is accepted
    corrupt,      // not the format it claims, or damaged
    unsupported,  // a valid file of a kind no reader takes
};
// "missing", "too large", "corrupt", "unsupported" ("" for none).
const char* sgImageFailureText(sgImageFailure why);
// Stores `what` where `why` points, if it points anywhere.
inline void sgSetImageFailure(sgImageFailure* why, sgImageFailure what) {
    if (why) *why = what;
}

// The decoders live above this library; they install themselves here so the
// texture and channel code can read files by format code. Each says why it
// failed through `why` (which may be null).
struct sgImageReaders {
    // Plain readers: bottom-up image and its bytes per pixel.
    sgImagePtr (*read)(int format, const std::string& path, int* components, sgImageFailure* why) = nullptr;
    // Padded to powers of two with the coordinate scales.
    sgImagePtr (*readTexture)(int format, const std::string& path, int* components, float* sScale, float* tScale,
                              sgImageFailure* why) = nullptr;
};
void sgSetImageReaders(const sgImageReaders& readers);
// Null (and nothing read, `why` unsupported) when no reader is installed for
// the format.
sgImagePtr sgReadImage(int format, const std::string& path, int* components, sgImageFailure* why = nullptr);
sgImagePtr sgReadTextureImage(int format, const std::string& path, int* components, float* sScale, float* tScale,
                              sgImageFailure* why = nullptr);
