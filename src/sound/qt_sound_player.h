// Plays the embedded wave sounds through QSoundEffect.
#pragma once

#include "sound/sound_player.h"

#include <QObject>
#include <map>
#include <memory>

class QSoundEffect;

namespace numora {

class QtSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    explicit QtSoundPlayer(QObject* parent = nullptr);
    ~QtSoundPlayer() override;
    // Creates the effects and starts decoding them, so the first play is not late.
    void Preload() override;
    void Play(int id) override;
    int DurationMs(int id) const override;

    // The embedded sounds' resource paths, e.g. ":/sounds/wav104.wav".
    static QString ResourcePath(int id);

private:
    QSoundEffect* Effect(int id);
    std::map<int, QSoundEffect*> effects_;
    std::map<int, int> durations_;
};

}  // namespace numora
