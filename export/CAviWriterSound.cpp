// The sound track of an AVI export: every sound converted to the first
// sound's format (16-bit PCM where that is not integer PCM), joined into one merged WAVE file at the frames where the
// sounds start, and interleaved with the temporary movie's frames.
#include <algorithm>
#include <cstdio>
#include <string>

#include "export/CAviWriter.h"
#include "export/MovieFiles.h"
#include "export/WaveData.h"
#include "platform/PcmConverter.h"
#include "platform/WaveFile.h"

namespace {

const char kCouldNotRead[] = "The wave file couldn't be read!";

// Bytes of sound before the given frame, on a whole sample frame.
uint64_t soundBytesAt(int64_t frame, const PcmFormat& format) {
    if (frame <= 0) return 0;
    const uint64_t align = uint64_t(format.blockAlign());
    return uint64_t(frame) * uint64_t(format.avgBytesPerSec()) / kAviFrameRate / align * align;
}

bool writeAll(FILE* file, const uint8_t* data, size_t size, uint64_t& written) {
    const size_t n = size ? std::fwrite(data, 1, size, file) : 0;
    written += n;
    return n == size;
}

// Writes count bytes of silence (0x80 for 8-bit samples, 0 for wider ones).
bool writeSilence(FILE* file, uint64_t count, const PcmFormat& format, uint64_t& written) {
    const std::vector<uint8_t> silence(65536, format.bitsPerSample == 8 ? 0x80 : 0);
    while (count > 0) {
        const size_t n = size_t(std::min<uint64_t>(count, silence.size()));
        if (!writeAll(file, silence.data(), n, written)) return false;
        count -= n;
    }
    return true;
}

}  // namespace

CAviWriter::SoundCopy CAviWriter::convertSound(const std::string& path, std::string& message) {
    WaveData source;
    WaveDetails details;
    switch (ReadWaveDetails(path, details, MakeWaveCorruptQuestion(m_host))) {
    case WaveStatus::Ok: break;
    case WaveStatus::OpenFailed: message = "The wave file open failure!"; return SoundCopy::Unreadable;
    case WaveStatus::ReadFailed: message = "The wave file reading failure!"; return SoundCopy::Unreadable;
    default: message = kCouldNotRead; return SoundCopy::Unreadable;
    }
    if (details.dataSize > kWaveDataLimit) {
        message = "The wave file could not be opened because of insufficient memory!";
        return SoundCopy::Unreadable;
    }
    PcmFormat format;
    if (!WaveSampleFormat(details.format, format)) return SoundCopy::Unconvertible;
    const bool first = m_soundCopies.empty();
    const PcmFormat target = first ? PcmTargetFormat(format) : m_soundFormat;
    if (ConvertedPcmBytes(details.dataSize, format, target) > kWaveDataLimit) return SoundCopy::Unconvertible;
    // The details were read above; the samples load without asking again.
    if (!source.load(path, nullptr)) {
        message = "The wave file reading failure!";
        return SoundCopy::Unreadable;
    }
    if (first) m_soundFormat = target;
    const std::vector<uint8_t> converted = ConvertPcm(source.m_data.data(), source.m_data.size(), format, target);
    source.m_data.clear();
    const std::string copy =
        makeUniqueWaveName(MovieFolderOf(m_tempPath), "_tmp" + std::to_string(m_soundCopies.size()));
    if (copy.empty()) {
        message = "Error.";
        return SoundCopy::Failed;
    }
    m_soundCopies.push_back(copy);
    const std::vector<uint8_t> header =
        MakePcmWaveHeader(uint16_t(target.channels), uint32_t(target.samplesPerSec), uint16_t(target.bitsPerSample),
                          uint32_t(converted.size()));
    FILE* file = std::fopen(copy.c_str(), "wb");
    uint64_t written = 0;
    static const uint8_t pad = 0;
    bool ok = file && writeAll(file, header.data(), header.size(), written) &&
              writeAll(file, converted.data(), converted.size(), written) &&
              (converted.size() % 2 == 0 || writeAll(file, &pad, 1, written));
    if (file) ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        char text[64];
        std::snprintf(text, sizeof text, "%d  Not enough space..!\n", int(std::min<uint64_t>(written, 0x7FFFFFFF)));
        message = text;
        return SoundCopy::Failed;
    }
    return SoundCopy::Copied;
}

bool CAviWriter::mergeWaveFiles(const AviSoundList& list) {
    if (list.empty()) return false;
    deleteSoundFiles();
    // Frame order; sounds of one frame keep the scene's order.
    AviSoundList all = list;
    std::stable_sort(all.begin(), all.end(),
                     [](const AviSound& a, const AviSound& b) { return a.startFrame < b.startFrame; });
    auto failWith = [this](const std::string& message) {
        if (m_host) m_host->MessageBox(message, "Kelvano", MOVIE_MB_OK);
        deleteSoundFiles();
        return false;
    };
    // Every sound becomes a copy in the movie's format. A first sound that
    // cannot be read gives up the sound track; any other sound that cannot be
    // read or converted is left out, and the others still go in.
    AviSoundList sounds;
    std::string leftOut;
    std::string message;
    for (size_t i = 0; i < all.size(); ++i) {
        switch (convertSound(all[i].path, message)) {
        case SoundCopy::Copied: sounds.push_back(all[i]); break;
        case SoundCopy::Failed: return failWith(message);
        case SoundCopy::Unreadable:
            if (i == 0) return failWith(message);
            leftOut += "\n" + all[i].path;
            break;
        case SoundCopy::Unconvertible: leftOut += "\n" + all[i].path; break;
        }
    }
    if (!leftOut.empty() && m_host)
        m_host->MessageBox("These sounds cannot be read or converted and are left out of the movie:" + leftOut,
                           "Kelvano", MOVIE_MB_OK);
    if (sounds.empty()) {
        deleteSoundFiles();
        return false;
    }

    m_mergedPath = makeUniqueWaveName(MovieFolderOf(m_tempPath), "merged");
    FILE* file = m_mergedPath.empty() ? nullptr : std::fopen(m_mergedPath.c_str(), "wb");
    if (!file) return failWith("Error.");

    // Every length is whole sample frames: each sound runs from its start up
    // to the next sound's start (cut or padded), the last one whole.
    const PcmFormat& format = m_soundFormat;
    const uint64_t align = uint64_t(format.blockAlign());
    std::vector<uint64_t> spans(sounds.size());
    uint64_t total = soundBytesAt(sounds[0].startFrame, format);
    WaveDetails details;
    for (size_t i = 0; i < sounds.size(); ++i) {
        if (i + 1 < sounds.size()) {
            spans[i] = soundBytesAt(sounds[i + 1].startFrame, format) - soundBytesAt(sounds[i].startFrame, format);
        } else if (ReadWaveDetails(m_soundCopies[i], details) == WaveStatus::Ok) {
            spans[i] = details.dataSize / align * align;
        } else {
            std::fclose(file);
            return failWith(kCouldNotRead);
        }
        total += spans[i];
    }
    if (total > 0xFFFFFFFFu - 40) {
        std::fclose(file);
        return failWith("Error.");
    }
    const uint32_t length = uint32_t(total);
    uint64_t written = 0;
    const std::vector<uint8_t> header = MakePcmWaveHeader(uint16_t(format.channels), uint32_t(format.samplesPerSec),
                                                          uint16_t(format.bitsPerSample), length);
    bool ok = writeAll(file, header.data(), header.size(), written) &&
              writeSilence(file, soundBytesAt(sounds[0].startFrame, format), format, written);
    bool cut = false;
    for (size_t i = 0; ok && i < sounds.size(); ++i) {
        WaveData copy;
        if (!copy.load(m_soundCopies[i], nullptr)) {
            std::fclose(file);
            return failWith(kCouldNotRead);
        }
        const uint64_t take = std::min<uint64_t>(copy.m_data.size(), spans[i]);
        ok = writeAll(file, copy.m_data.data(), size_t(take), written) &&
             writeSilence(file, spans[i] - take, format, written);
        cut = cut || take < spans[i];
    }
    static const uint8_t pad = 0;
    if (ok && (length & 1)) ok = writeAll(file, &pad, 1, written);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        char text[64];
        if (cut)
            std::snprintf(text, sizeof text, "Not enough space..!\n");
        else
            std::snprintf(text, sizeof text, "%d  Not enough space..!\n", int(std::min<uint64_t>(written, 0x7FFFFFFF)));
        return failWith(text);
    }
    return true;
}

bool CAviWriter::addSoundTrack(const std::string& finalPath) {
    if (!m_movieComplete || m_mergedPath.empty()) return false;
    RiffAviReader movie;
    WaveData sound;
    // Every failure here leaves the movie without its sound (finish keeps it).
    const char* const soundLost = "The sound track could not be added: the movie is written without sound.";
    if (!movie.open(m_tempPath, m_sizeLimit) || !sound.load(m_mergedPath, nullptr)) {
        fail(soundLost, "Error");
        return false;
    }
    const PcmFormat format = sound.pcmFormat();
    AviAudioFormat audio;
    audio.channels = uint16_t(format.channels);
    audio.samplesPerSec = uint32_t(format.samplesPerSec);
    audio.avgBytesPerSec = uint32_t(format.avgBytesPerSec());
    audio.blockAlign = uint16_t(format.blockAlign());
    audio.bitsPerSample = uint16_t(format.bitsPerSample);

    const std::string output = makeTemporaryMovieName(finalPath);
    RiffAviWriter out(m_sizeLimit);
    bool ok = !output.empty() && out.create(output, movie.video(), &audio) == AviStatus::Ok;
    const uint64_t total = sound.m_data.size() / audio.blockAlign * audio.blockAlign;
    auto audioAt = [&](int64_t frame) { return std::min(total, soundBytesAt(frame, format)); };
    std::vector<uint8_t> frame;
    // Each frame's sound goes just before it; sound past the last frame
    // follows in chunks of one second.
    for (size_t i = 0; ok && i < movie.frameCount(); ++i) {
        const uint64_t from = audioAt(int64_t(i)), to = audioAt(int64_t(i) + 1);
        if (to > from) ok = out.writeAudio(sound.m_data.data() + from, size_t(to - from)) == AviStatus::Ok;
        ok = ok && movie.readFrame(i, frame) && out.writeVideo(frame.data(), frame.size()) == AviStatus::Ok;
    }
    for (uint64_t from = audioAt(int64_t(movie.frameCount())); ok && from < total;) {
        const uint64_t n = std::min<uint64_t>(total - from, uint64_t(audio.avgBytesPerSec) / audio.blockAlign * audio.blockAlign);
        ok = out.writeAudio(sound.m_data.data() + from, size_t(n)) == AviStatus::Ok;
        from += n;
    }
    ok = out.isOpen() && out.close() == AviStatus::Ok && ok;
    ok = ok && std::rename(output.c_str(), finalPath.c_str()) == 0;
    if (!ok) {
        RemoveMovieFile(output);
        fail(soundLost, "Error");
        return false;
    }
    deleteTemporaryFiles();
    return true;
}
