#include "web/sound_service.h"

#include "sound/embedded_wave_formats.h"
#include "web/embedded_waves.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace numora::web {

using emscripten::val;

namespace {

std::function<void(Sound)>& Watcher() {
    static std::function<void(Sound)> watcher;
    return watcher;
}

std::size_t Slot(Sound sound) {
    return sound == Sound::Landing ? 0 : 1;
}

const EmbeddedWaveFormat& FormatOf(Sound sound) {
    for (const EmbeddedWaveFormat& format : kEmbeddedWaveFormats)
        if (format.id == static_cast<int>(sound)) return format;
    return kEmbeddedWaveFormats[0]; // every Sound has its file; the build checks both
}

// One channel's samples of the wave's interleaved PCM, as Web Audio takes them.
std::vector<float> ChannelSamples(const EmbeddedWaveFormat& format, const unsigned char* pcm,
                                  int channel) {
    const int bytes = format.bitsPerSample / 8;
    const int frameBytes = bytes * format.channels;
    const int frames = format.dataBytes / frameBytes;
    std::vector<float> out(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const unsigned char* at = pcm + i * frameBytes + channel * bytes;
        // 8-bit PCM is unsigned around 128, 16-bit is signed little-endian.
        out[static_cast<std::size_t>(i)] =
            bytes == 1 ? (at[0] - 128) / 128.0f
                       : static_cast<std::int16_t>(at[0] | at[1] << 8) / 32768.0f;
    }
    return out;
}

// Whether the page may start audio now: browsers that tell refuse it (with a console
// warning) outside a player's gesture, and a script's synthetic click is none.
bool GestureActive() {
    const val activation = val::global("navigator")["userActivation"];
    return activation.isUndefined() || activation["isActive"].as<bool>();
}

} // namespace

void SoundService::Watch(std::function<void(Sound)> watcher) {
    Watcher() = std::move(watcher);
}

int SoundService::DurationMs(Sound sound) {
    return FormatOf(sound).durationMs;
}

void SoundService::Wake() {
    if (!GestureActive()) return;
    if (context_.isUndefined()) {
        const val constructor = val::global("AudioContext");
        if (constructor.isUndefined()) return; // no Web Audio: the game plays silently
        context_ = constructor.new_();
        MakeBuffers();
    }
    if (context_["state"].as<std::string>() == "suspended") context_.call<val>("resume");
}

void SoundService::MakeBuffers() {
    for (const Sound sound : kSounds) {
        const EmbeddedWaveFormat& format = FormatOf(sound);
        const unsigned char* pcm = EmbeddedWave(static_cast<int>(sound)) + kWaveHeaderBytes;
        const int frames = format.dataBytes / (format.bitsPerSample / 8 * format.channels);
        val buffer = context_.call<val>("createBuffer", format.channels, frames, format.sampleRate);
        for (int channel = 0; channel < format.channels; ++channel) {
            const std::vector<float> samples = ChannelSamples(format, pcm, channel);
            buffer.call<val>("getChannelData", channel)
                .call<void>("set",
                            val(emscripten::typed_memory_view(samples.size(), samples.data())));
        }
        buffers_[Slot(sound)] = buffer;
    }
}

void SoundService::Play(Sound sound) {
    if (Watcher()) Watcher()(sound);
    if (context_.isUndefined()) return;
    if (!playing_.isUndefined()) playing_.call<void>("stop");
    playing_ = context_.call<val>("createBufferSource");
    playing_.set("buffer", buffers_[Slot(sound)]);
    playing_.call<void>("connect", context_["destination"]);
    playing_.call<void>("start");
}

} // namespace numora::web
