#include "sound/qt_sound_player.h"

#include <QSoundEffect>
#include <QUrl>

namespace numora {

QtSoundPlayer::QtSoundPlayer(QObject* parent)
    : QObject(parent), durations_(EmbeddedSoundDurations()) {}

QtSoundPlayer::~QtSoundPlayer() = default;

QSoundEffect* QtSoundPlayer::Effect(int id) {
    auto it = effects_.find(id);
    if (it != effects_.end()) return it->second;
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl(QStringLiteral("qrc") + ResourcePath(id)));
    effects_[id] = effect;
    return effect;
}

void QtSoundPlayer::Preload() {
    for (int id : kSoundIds) Effect(id);
}

void QtSoundPlayer::Play(int id) {
    // A new request stops whatever still plays, as the one system sound service did.
    for (auto& [other, effect] : effects_) {
        if (other != id) effect->stop();
    }
    QSoundEffect* effect = Effect(id);
    effect->stop();
    effect->play();
}

int QtSoundPlayer::DurationMs(int id) const {
    auto it = durations_.find(id);
    return it == durations_.end() ? 0 : it->second;
}

}  // namespace numora
