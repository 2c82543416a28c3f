#include "sound/embedded_sounds.h"

#include "sound/wav_info.h"

#include <QFile>

#include <map>
#include <span>

namespace numora {

QString SoundResourcePath(Sound sound) {
    return QStringLiteral(":/sounds/wav%1.wav").arg(static_cast<int>(sound));
}

int EmbeddedSoundDurationMs(Sound sound) {
    // Read once per process, when a wait first asks.
    static const std::map<Sound, int> durations = [] {
        std::map<Sound, int> read;
        for (Sound each : kSounds) {
            QFile file(SoundResourcePath(each));
            if (!file.open(QIODevice::ReadOnly)) continue;
            const QByteArray bytes = file.readAll();
            const auto info = ReadWavInfo(std::as_bytes(
                std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
            read[each] = info ? info->DurationMs() : 0;
        }
        return read;
    }();
    const auto it = durations.find(sound);
    return it == durations.end() ? 0 : it->second;
}

} // namespace numora
