#include "sound/wav_info.h"

#include <cstring>

namespace numora {
namespace {

std::uint32_t Le32(std::span<const std::byte> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t Le16(std::span<const std::byte> b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned>(b[at]) |
                                      static_cast<unsigned>(b[at + 1]) << 8);
}
bool Tag(std::span<const std::byte> b, std::size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

} // namespace

int WavInfo::DurationMs() const {
    const std::uint64_t bytesPerSecond = static_cast<std::uint64_t>(sampleRate) *
                                         static_cast<std::uint64_t>(channels) *
                                         static_cast<std::uint64_t>((bitsPerSample + 7) / 8);
    if (bytesPerSecond == 0) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(dataBytes) * 1000 + bytesPerSecond - 1) /
                            bytesPerSecond);
}

std::optional<WavInfo> ReadWavInfo(std::span<const std::byte> bytes) {
    if (bytes.size() < 12 || !Tag(bytes, 0, "RIFF") || !Tag(bytes, 8, "WAVE")) return std::nullopt;
    WavInfo info;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = Le32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (Tag(bytes, at, "fmt ") && size >= 16 && body + 16 <= bytes.size()) {
            info.channels = Le16(bytes, body + 2);
            info.sampleRate = static_cast<int>(Le32(bytes, body + 4));
            info.bitsPerSample = Le16(bytes, body + 14);
            haveFormat = true;
        } else if (Tag(bytes, at, "data")) {
            info.dataBytes = size;
            return haveFormat ? std::optional<WavInfo>(info) : std::nullopt;
        }
        // Chunks are padded to an even length.
        const std::uint64_t next = static_cast<std::uint64_t>(body) + size + (size & 1u);
        if (next > bytes.size()) break;
        at = static_cast<std::size_t>(next);
    }
    return std::nullopt;
}

} // namespace numora
