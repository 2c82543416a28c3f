// Plays the embedded wave sounds through QSoundEffect. It lives in the sound module
// (sound_module.cpp), so Qt Multimedia is loaded only when the first game begins.
#pragma once

#include "sound/embedded_sounds.h"
#include "sound/sound_player.h"

#include <QObject>
#include <map>

class QSoundEffect;

namespace numora {

class QtSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
  public:
    explicit QtSoundPlayer(QObject* parent = nullptr);
    ~QtSoundPlayer() override;
    // Creates the effects and starts decoding them, so the first play is not late.
    void Preload() override;
    void Play(Sound sound) override;
    int DurationMs(Sound sound) const override;

  private:
    QSoundEffect* Effect(Sound sound);
    std::map<Sound, QSoundEffect*> effects_;
};

} // namespace numora
