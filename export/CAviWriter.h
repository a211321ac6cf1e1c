// The AVI movie of an animation export: 30 frames a second, every frame a key
// frame, uncompressed 24-bit or Motion JPEG, and at the end the scene's sounds
// merged into one PCM track and interleaved with the frames.
//
// The recording opens the writer on a temporary movie in the final file's
// folder (makeTemporaryMovieName), adds frames, and ends with finish(), which
// closes the movie, merges the sounds, writes the final file and deletes every
// temporary file. Messages and the compressor choice go through CMovieHost.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/CFrameBitmapSink.h"
#include "export/CMovieHost.h"
#include "platform/PcmConverter.h"
#include "platform/RiffAviFile.h"

constexpr int kAviFrameRate = 30;

// A sound of the scene and the frame at which it starts.
struct AviSound {
    std::string path;
    int64_t startFrame = 0;
};
using AviSoundList = std::vector<AviSound>;
constexpr size_t kAviMaxSounds = 256;

class pnScene;
// The scene's sounds that start at frames first to last, in frame order, at
// most kAviMaxSounds, with their frames counted from first. A stored name is
// looked for beside sceneFile, then under each of folders.
AviSoundList SceneSoundList(const pnScene& scene, int first, int last, const std::string& sceneFile,
                            const std::vector<std::string>& folders);

// A frame in memory: rows of B, G, R (3 bytes) or B, G, R, A (4 bytes).
struct MovieImage {
    int width = 0;
    int height = 0;
    const uint8_t* pixels = nullptr;
    size_t stride = 0;
    int bytesPerPixel = 4;
    bool topDown = true;
};

// The 24-bit packed DIB of an image (BITMAPINFOHEADER, bottom-up rows padded
// to four bytes); empty for an unusable image.
std::vector<uint8_t> DibFromBitmap(const MovieImage& image);

class CAviWriter : public CFrameBitmapSink {
public:
    explicit CAviWriter(CMovieHost* host = nullptr);
    ~CAviWriter() override;  // closes an open movie
    CAviWriter(const CAviWriter&) = delete;
    CAviWriter& operator=(const CAviWriter&) = delete;

    void setHost(CMovieHost* host) { m_host = host; }
    // The largest file written (kAviSizeLimit unless a test sets less).
    void setSizeLimit(uint64_t bytes) { m_sizeLimit = bytes; }

    // Forgets the movie and every name (files are left as they are).
    void reset();
    // Starts a movie on tempPath; width and height of -1 take the first frame's.
    bool open(const std::string& tempPath, int width, int height);
    bool isReady() const { return m_usable; }

    // Adds a packed 24-bit DIB as the next frame; true when it was written.
    bool addFrame(std::vector<uint8_t> dib);
    bool addFrameBitmap(const MovieImage& image);
    // The recording's captured frame (a 24-bit packed DIB).
    bool addFrameBitmap(const DibBlock& dib) override { return addFrame(dib); }

    // Finishes the movie file; false when it could not be completed (the
    // broken file is deleted). A movie with no frame has no file.
    bool close();
    // True when close() left a complete temporary movie.
    bool hasMovie() const { return m_movieComplete; }

    // Builds the merged WAVE file of the sounds in the temporary movie's
    // folder; on failure shows the message and deletes what it made. Sounds
    // after the first that cannot be read or converted are left out, named in
    // one message.
    bool mergeWaveFiles(const AviSoundList& sounds);
    // Writes finalPath from the temporary movie and the merged sound, then
    // deletes the temporary files. On failure the temporary movie stays.
    bool addSoundTrack(const std::string& finalPath);
    // Moves the temporary movie to finalPath (overwriting it).
    bool moveOutputFile(const std::string& finalPath);
    void deleteTemporaryFiles();

    // The end of an export: close, merge the sounds when there are any, write
    // the final movie with or without sound, delete the temporary files.
    // True when finalPath holds the movie.
    bool finish(const std::string& finalPath, const AviSoundList& sounds);

    // An exclusively created "_tmp%04d.avi" in the folder of finalPath; empty
    // when none can be made.
    static std::string makeTemporaryMovieName(const std::string& finalPath);
    // The first free "%s%04d.wav" made from prefix in folder, created
    // exclusively; empty when none is free.
    static std::string makeUniqueWaveName(const std::string& folder, const std::string& prefix);

    int frameCount() const { return m_frameCount; }
    const std::string& temporaryPath() const { return m_tempPath; }
    const std::string& mergedPath() const { return m_mergedPath; }
    const std::vector<std::string>& soundCopies() const { return m_soundCopies; }

private:
    bool startMovie();
    void fail(const char* text, const char* caption);
    enum class SoundCopy { Copied, Unreadable, Unconvertible, Failed };
    // Writes the next sound copy in the movie's format; the first copy sets
    // that format. The message says why a sound could not be read or why
    // the copy failed.
    SoundCopy convertSound(const std::string& path, std::string& message);
    void deleteSoundFiles();

    CMovieHost* m_host;
    uint64_t m_sizeLimit = kAviSizeLimit;
    std::string m_tempPath;
    std::string m_mergedPath;
    std::vector<std::string> m_soundCopies;
    int m_width = -1, m_height = -1;
    int m_frameCount = 0;
    bool m_usable = false;
    bool m_movieComplete = false;
    bool m_limitReported = false;
    AviCompressOptions m_options;
    PcmFormat m_soundFormat;
    std::unique_ptr<RiffAviWriter> m_file;
    std::vector<uint8_t> m_jpeg;
};
