#include "sound/embedded_sounds.h"

#include <QFile>

namespace numora {

// Every sound has a wave file with a length: a waiting caller is timed by it.
static_assert([] {
    for (Sound sound : kSounds) {
        if (EmbeddedSoundDurationMs(sound) <= 0) return false;
    }
    return true;
}());

QString SoundResourcePath(Sound sound) {
    return QStringLiteral(":/sounds/wav%1.wav").arg(static_cast<int>(sound));
}

QByteArray EmbeddedSoundSamples(Sound sound) {
    QFile file(SoundResourcePath(sound));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().mid(kWaveHeaderBytes, EmbeddedSoundFormat(sound).dataBytes);
}

} // namespace numora
