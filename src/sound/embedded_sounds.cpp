#include "sound/embedded_sounds.h"

#include "sound/wav_info.h"

#include <QFile>

#include <span>

namespace numora {

QString SoundResourcePath(int id) {
    return QStringLiteral(":/sounds/wav%1.wav").arg(id);
}

std::map<int, int> EmbeddedSoundDurations() {
    std::map<int, int> durations;
    for (int id : kSoundIds) {
        QFile file(SoundResourcePath(id));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = file.readAll();
        const auto info = ReadWavInfo(std::as_bytes(
            std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
        durations[id] = info ? info->DurationMs() : 0;
    }
    return durations;
}

}  // namespace numora
