// The wave sounds compiled into the program. Their formats and lengths are numbers made
// from the files' headers when the build is configured, so nothing here parses a header.
#pragma once

#include "game/sound.h"
#include "sound/embedded_wave_formats.h"

#include <QByteArray>
#include <QString>

namespace numora {

// An embedded sound's resource path, e.g. ":/sounds/wav104.wav".
QString SoundResourcePath(Sound sound);

constexpr const EmbeddedWaveFormat& EmbeddedSoundFormat(Sound sound) {
    for (const EmbeddedWaveFormat& format : kEmbeddedWaveFormats) {
        if (format.id == static_cast<int>(sound)) return format;
    }
    throw "a sound without a wave file"; // no constant expression: refused when built
}

// How long the sound plays, in ms, rounded up.
constexpr int EmbeddedSoundDurationMs(Sound sound) {
    return EmbeddedSoundFormat(sound).durationMs;
}

// The sound's samples as they follow its header.
QByteArray EmbeddedSoundSamples(Sound sound);

} // namespace numora
