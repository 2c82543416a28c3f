// The program's sound service. Qt Multimedia and the 22 libraries it brings (audio
// servers, codecs, networking) cost a fifth of the start-up and 2 MiB held all the time,
// yet no sound plays before a game begins; so they live in a module loaded then. Without
// the module, or without a working one, the game plays on silently.
#pragma once

#include "sound/sound_player.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace numora {

class ModuleSoundPlayer final : public SoundPlayer {
  public:
    // `candidates`: the module's paths, tried in order, without the platform's suffix.
    explicit ModuleSoundPlayer(QStringList candidates = DefaultModulePaths());
    ~ModuleSoundPlayer() override;
    void Preload() override; // loads the module, once
    void Play(Sound sound) override;
    int DurationMs(Sound sound) const override; // known when built, module or not
    bool loaded() const { return player_ != nullptr; }

    // Beside the program (the build tree), then where the install puts it.
    static QStringList DefaultModulePaths();

  private:
    QStringList candidates_;
    bool tried_ = false;
    std::unique_ptr<SoundPlayer> player_;
};

// Ends the process with `status` once the windows, the sound service and the application
// object are gone. Qt Multimedia's exit-time destructor frees its PulseAudio connection while
// that connection's own thread may still be dispatching a reply, which aborts about one exit
// in a few thousand; by then every list is saved and nothing is left for the libraries'
// exit-time destructors to do, so they are not run.
[[noreturn]] void EndProcess(int status);

} // namespace numora
