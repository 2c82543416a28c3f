#include "sound/qt_sound_player.h"

#include <QEventLoop>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace numora {

QtSoundPlayer::QtSoundPlayer(QObject* parent)
    : QObject(parent), durations_(EmbeddedSoundDurations()) {}

QtSoundPlayer::~QtSoundPlayer() {
    // Qt 6.4 deadlocks at exit when a sound is still being decoded: the sample cache's
    // destructor holds the lock its loading thread is waiting for. Let decoding end first
    // (a few milliseconds; bounded in case a sound never loads).
    for (auto& [id, effect] : effects_) {
        if (effect->status() != QSoundEffect::Loading) continue;
        QEventLoop loop;
        connect(effect, &QSoundEffect::statusChanged, &loop, &QEventLoop::quit);
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

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
