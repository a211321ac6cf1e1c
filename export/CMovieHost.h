// What the movie writers ask of the window system: message boxes and the
// choice of the AVI compressor. The view's host implements it in the program;
// tests answer it. The style and answer numbers are the view host's own, so an
// implementation can pass them straight through.
#pragma once

#include <cstdint>
#include <string>

#include "platform/RiffAviFile.h"

enum : int {
    MOVIE_MB_OK = 0x0,
    MOVIE_MB_YESNO = 0x4,
    MOVIE_MB_ICONWARNING = 0x30,
    MOVIE_MB_TASKMODAL = 0x2000,
};
enum : int { MOVIE_IDOK = 1, MOVIE_IDYES = 6, MOVIE_IDNO = 7 };

// The compressors we have: full uncompressed frames and Motion JPEG.
constexpr uint32_t kAviFullFrames = AviFourCC('D', 'I', 'B', ' ');
constexpr uint32_t kAviMotionJpeg = AviFourCC('M', 'J', 'P', 'G');

struct AviCompressOptions {
    uint32_t handler = kAviMotionJpeg;
    int quality = 7500;  // 0-10000; JPEG quality is quality / 100
};

class CMovieHost {
public:
    virtual ~CMovieHost() = default;
    // Answers MOVIE_IDOK, MOVIE_IDYES or MOVIE_IDNO.
    virtual int MessageBox(const std::string& text, const std::string& caption, int style) = 0;
    // The compressor options dialog, started from options; false when cancelled.
    virtual bool ChooseAviCompressor(AviCompressOptions& options) = 0;
};
