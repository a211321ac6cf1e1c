#include "platform/SoundPlayer.h"

#include <SDL2/SDL.h>
#include <sys/stat.h>

#include "platform/PathResolver.h"

namespace {
SoundPlayer* g_installed = nullptr;
std::string g_sceneDir;
std::vector<std::string> g_soundFolders;
}  // namespace

void setSoundFolders(const std::string& sceneDir, const std::vector<std::string>& folders) {
    g_sceneDir = sceneDir;
    g_soundFolders = folders;
}

std::string findSoundCue(const std::string& stored) { return resolveSceneFile(stored, g_sceneDir, g_soundFolders); }

SdlSoundPlayer::~SdlSoundPlayer() {
    closeDevice();
    if (initState_ == 1) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSoundPlayer::openAudio() {
    if (initState_ == 0) {
        // Audio brings up SDL's event layer, which would catch SIGINT and
        // SIGTERM and turn them into a quit event that nobody reads: the
        // program would no longer end when the desktop asks it to.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        initState_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 ? 1 : -1;
    }
    return initState_ == 1;
}

void SdlSoundPlayer::closeDevice() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
}

void SdlSoundPlayer::stop() {
    if (device_ == 0) return;
    SDL_PauseAudioDevice(device_, 1);
    SDL_ClearQueuedAudio(device_);
}

void SdlSoundPlayer::play(const std::string& file) {
    started_ = false;
    const std::string path = findStoredPath(file);
    if (path.empty()) return;
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > MAX_FILE_BYTES) return;
    if (!openAudio()) return;

    SDL_AudioSpec spec;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &spec, &samples, &length)) return;

    // Like the system's asynchronous wave player: a new cue cuts the old one.
    stop();
    if (device_ != 0 && (spec.freq != freq_ || spec.format != format_ || spec.channels != channels_)) closeDevice();
    if (device_ == 0) {
        SDL_AudioSpec want = spec;
        want.callback = nullptr;  // queued playback
        want.userdata = nullptr;
        // No changes allowed: SDL converts to whatever the device takes.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (device_ == 0) {
            SDL_FreeWAV(samples);
            return;
        }
        freq_ = spec.freq;
        format_ = spec.format;
        channels_ = spec.channels;
    }
    int queued = SDL_QueueAudio(device_, samples, length);
    SDL_FreeWAV(samples);
    if (queued != 0) return;
    SDL_PauseAudioDevice(device_, 0);
    started_ = true;
}

SoundPlayer& getSoundPlayer() {
    if (g_installed) return *g_installed;
    static SdlSoundPlayer player;
    return player;
}

void setSoundPlayer(SoundPlayer* player) { g_installed = player; }
