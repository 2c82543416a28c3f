#include "sound/qt_sound_player.h"

#include <QSoundEffect>
#include <QUrl>

namespace numora {

QtSoundPlayer::QtSoundPlayer(QObject* parent) : QObject(parent) {}

QtSoundPlayer::~QtSoundPlayer() = default;

QSoundEffect* QtSoundPlayer::Effect(Sound sound) {
    auto it = effects_.find(sound);
    if (it != effects_.end()) return it->second;
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl(QStringLiteral("qrc") + SoundResourcePath(sound)));
    effects_[sound] = effect;
    return effect;
}

void QtSoundPlayer::Preload() {
    for (Sound sound : kSounds)
        Effect(sound);
}

void QtSoundPlayer::Play(Sound sound) {
    // A new request stops whatever still plays, as the one system sound service did.
    for (auto& [other, effect] : effects_) {
        if (other != sound) effect->stop();
    }
    QSoundEffect* effect = Effect(sound);
    effect->stop();
    effect->play();
}

int QtSoundPlayer::DurationMs(Sound sound) const {
    return EmbeddedSoundDurationMs(sound);
}

} // namespace numora
