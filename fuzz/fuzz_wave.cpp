// libFuzzer target: the WAVE chunk walker and loader, and the PCM converter
// on whatever they accept.
#include "export/WaveData.h"
#include "fuzz_images.h"
#include "platform/PcmConverter.h"
#include "platform/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzimages::inputFile().write(data, size);
    WaveDetails details;
    int asked = 0;
    const WaveStatus status = ReadWaveDetails(path, details, [&](const std::string&) { return ++asked % 2 == 1; });
    if (status == WaveStatus::Ok && details.dataOffset + details.dataSize > size) std::abort();
    WaveData wave;
    if (wave.load(path, nullptr)) {
        if (wave.m_data.size() > size) std::abort();
        const PcmFormat from = wave.pcmFormat();
        const PcmFormat to{2, 11025, 16};
        if (from.isValid() && from.samplesPerSec >= 8000 && from.samplesPerSec <= 48000) {
            const std::vector<uint8_t> out = ConvertPcm(wave.m_data.data(), wave.m_data.size(), from, to);
            if (out.size() % size_t(to.blockAlign())) std::abort();
        }
    }
    return 0;
}
