// Plays the embedded sounds through QAudioSink, straight from their samples in memory. It
// lives in the sound module (sound_module.cpp), so Qt Multimedia is loaded only when the
// first game begins.
//
// Not QSoundEffect: behind it, Qt 6.4's sample cache decodes on a thread of its own and can
// deadlock when the process ends during a decode (its exit-time destructor holds the lock
// that thread waits for), leaving a closed game that never ends. Here nothing is decoded and
// no loading thread runs: the samples are read from the program's resources, whose format is
// known when it is built, and handed to the audio server from the window's thread.
#pragma once

#include "sound/sound_player.h"

#include <QBuffer>
#include <QByteArray>

#include <map>
#include <memory>

class QAudioSink;

namespace numora {

class QtSoundPlayer final : public SoundPlayer {
  public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    // Reads the samples and finds the output, so that the first sound is not late.
    void Preload() override;
    void Play(Sound sound) override;
    int DurationMs(Sound sound) const override;

  private:
    struct Voice {
        QByteArray samples;
        QBuffer source{&samples};
        std::unique_ptr<QAudioSink> sink;
    };
    std::map<Sound, Voice> voices_;
};

} // namespace numora
