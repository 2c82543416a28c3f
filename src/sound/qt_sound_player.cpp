#include "sound/qt_sound_player.h"

#include "sound/embedded_sounds.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace numora {

QtSoundPlayer::QtSoundPlayer() = default;

// A sink still pulling when it is destroyed can be asked for room in a stream already gone
// (libpulse aborts), so each one is stopped first.
QtSoundPlayer::~QtSoundPlayer() {
    for (auto& [sound, voice] : voices_)
        voice.sink->stop();
}

void QtSoundPlayer::Preload() {
    if (!voices_.empty()) return;
    // With no device the sinks fail to start, quietly: the game plays on silently.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    for (Sound sound : kSounds) {
        const EmbeddedWaveFormat& wave = EmbeddedSoundFormat(sound);
        QAudioFormat format;
        format.setSampleRate(wave.sampleRate);
        format.setChannelCount(wave.channels);
        format.setSampleFormat(wave.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
        Voice& voice = voices_[sound];
        voice.samples = EmbeddedSoundSamples(sound);
        voice.source.open(QIODevice::ReadOnly);
        voice.sink = std::make_unique<QAudioSink>(device, format);
    }
}

void QtSoundPlayer::Play(Sound sound) {
    Preload();
    // A new request stops whatever still plays, as the one system sound service did.
    for (auto& [each, voice] : voices_)
        voice.sink->stop();
    Voice& voice = voices_.at(sound);
    voice.source.seek(0);
    voice.sink->start(&voice.source);
}

int QtSoundPlayer::DurationMs(Sound sound) const {
    return EmbeddedSoundDurationMs(sound);
}

} // namespace numora
