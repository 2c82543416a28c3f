// Reads the format of a RIFF WAVE image, enough to know how long it plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace numora {

struct WavInfo {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::uint32_t dataBytes = 0;
    int DurationMs() const;
};

// Walks the chunks of a RIFF WAVE image; nothing for bytes that are not one.
std::optional<WavInfo> ReadWavInfo(std::span<const std::byte> bytes);

} // namespace numora
