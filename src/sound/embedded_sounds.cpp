#include "sound/embedded_sounds.h"

#include "sound/wav_info.h"

#include <QFile>

#include <span>

namespace numora {

QString SoundResourcePath(Sound sound) {
    return QStringLiteral(":/sounds/wav%1.wav").arg(static_cast<int>(sound));
}

std::map<Sound, int> EmbeddedSoundDurations() {
    std::map<Sound, int> durations;
    for (Sound sound : kSounds) {
        QFile file(SoundResourcePath(sound));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = file.readAll();
        const auto info = ReadWavInfo(std::as_bytes(
            std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
        durations[sound] = info ? info->DurationMs() : 0;
    }
    return durations;
}

}  // namespace numora
