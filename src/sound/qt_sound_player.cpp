#include "sound/qt_sound_player.h"

#include "sound/wav_info.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>

namespace numora {
namespace {
constexpr int kSoundIds[] = {104, 106};
}

QtSoundPlayer::QtSoundPlayer(QObject* parent) : QObject(parent) {
    for (int id : kSoundIds) {
        QFile file(ResourcePath(id));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = file.readAll();
        const auto info = ReadWavInfo(std::as_bytes(std::span(bytes.constData(),
                                                              static_cast<std::size_t>(bytes.size()))));
        durations_[id] = info ? info->DurationMs() : 0;
    }
}

QtSoundPlayer::~QtSoundPlayer() = default;

QString QtSoundPlayer::ResourcePath(int id) {
    return QStringLiteral(":/sounds/wav%1.wav").arg(id);
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
