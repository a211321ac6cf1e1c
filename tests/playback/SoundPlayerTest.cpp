// Sound cues through SDL (the dummy audio driver in tests) and the recording
// player that playback tests use.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/SoundPlayer.h"

namespace {
std::string sourceFile(const std::string& rel) {
    const char* dir = std::getenv("KELVANO_SOURCE_DIR");
    return std::string(dir ? dir : ".") + "/" + rel;
}
}  // namespace

TEST(SoundPlayer, PlaysAWaveAsynchronouslyAndAStoredNameFindsIt) {
    SdlSoundPlayer player;
    player.play(sourceFile("data/scenes/chime.wav"));
    EXPECT_TRUE(player.lastPlayStarted());
    // A second cue cuts the first; a DOS-style name of the same file resolves.
    std::string stored = sourceFile("DATA\\SCENES\\CHIME.WAV");
    player.play(stored);
    EXPECT_TRUE(player.lastPlayStarted());
    player.stop();
    player.stop();
}

TEST(SoundPlayer, MissingOrUnreadableFilesStaySilent) {
    SdlSoundPlayer player;
    ::testing::internal::CaptureStderr();
    player.play("/nonexistent/cue.wav");
    EXPECT_FALSE(player.lastPlayStarted());
    player.play("");
    EXPECT_FALSE(player.lastPlayStarted());
    std::string notWave = ::testing::TempDir() + "not-a-wave.wav";
    std::ofstream(notWave) << "RIFF\x10\0\0\0WAVEjunk";
    player.play(notWave);
    EXPECT_FALSE(player.lastPlayStarted());
    player.play(sourceFile("data/scenes"));  // a folder
    EXPECT_FALSE(player.lastPlayStarted());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    std::remove(notWave.c_str());
}

TEST(SoundPlayer, InstalledPlayerReplacesTheDefault) {
    SoundPlayer& original = getSoundPlayer();
    EXPECT_NE(dynamic_cast<SdlSoundPlayer*>(&original), nullptr);
    RecordingSoundPlayer recorder;
    setSoundPlayer(&recorder);
    getSoundPlayer().play("a.wav");
    getSoundPlayer().stop();
    EXPECT_EQ(recorder.played, std::vector<std::string>{"a.wav"});
    EXPECT_EQ(recorder.stops, 1);
    setSoundPlayer(nullptr);
    EXPECT_EQ(&getSoundPlayer(), &original);
}

// A desktop that logs out sends SIGTERM: once a cue has played the process must
// still end on it, as it does before any sound (the audio library must not
// take the signal for an event nobody reads).
TEST(SoundPlayerDeathTest, TermEndsTheProcessAfterACuePlayed) {
    EXPECT_EXIT(
        {
            SdlSoundPlayer player;
            player.play(sourceFile("data/Sounds/chime.wav"));
            if (!player.lastPlayStarted()) std::_Exit(3);
            std::raise(SIGTERM);
            sleep(3);
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}
