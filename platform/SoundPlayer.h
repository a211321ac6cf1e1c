// Sound cues: a wave file started by playback at its frame. The program plays
// them through SDL audio; tests install a recording player. Playing never
// blocks and never fails loudly: a missing file, an unreadable one or a
// machine without an audio device simply stays silent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the wave file and returns at once; a cue still playing stops.
    virtual void play(const std::string& file) = 0;
    // Silences the cue that is playing, if any.
    virtual void stop() = 0;
};

// Plays through SDL2's audio subsystem, opened on first use. Stored names
// (backslashes, drive letters, DOS upper-case names) are resolved first.
class SdlSoundPlayer : public SoundPlayer {
public:
    // Wave files above this size are refused: cues are short sounds.
    static constexpr int64_t MAX_FILE_BYTES = 64 * 1024 * 1024;

    SdlSoundPlayer() = default;
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void play(const std::string& file) override;
    void stop() override;

    // Whether the last play reached an audio device (for diagnostics and tests).
    bool lastPlayStarted() const { return started_; }

private:
    bool openAudio();
    void closeDevice();

    int initState_ = 0;  // 0 not tried, 1 audio up, -1 unavailable
    uint32_t device_ = 0;
    // Format the open device was asked for; a cue in another format reopens it.
    int freq_ = 0;
    uint16_t format_ = 0;
    uint8_t channels_ = 0;
    bool started_ = false;
};

// Keeps what it was asked to play, in order; plays nothing.
class RecordingSoundPlayer : public SoundPlayer {
public:
    void play(const std::string& file) override { played.push_back(file); }
    void stop() override { ++stops; }

    std::vector<std::string> played;
    int stops = 0;
};

// Where playback looks for the wave files that cues name: the open scene's
// folder, then the program's sound folders (each open sets them).
void setSoundFolders(const std::string& sceneDir, const std::vector<std::string>& folders);
// The file a stored cue name designates, found as a movie's sound track finds
// it (the program never changes its current folder).
std::string findSoundCue(const std::string& stored);

// The installed player; never null. By default an SdlSoundPlayer.
SoundPlayer& getSoundPlayer();
// Installs a player (not owned); null restores the default.
void setSoundPlayer(SoundPlayer* player);
