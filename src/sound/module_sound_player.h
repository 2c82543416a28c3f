// The program's sound service. Qt Multimedia and the libraries it brings (audio servers,
// codecs, networking) are a large part of the start-up and of the memory held all the time
// (bench/README.md has the figures), yet no sound plays before a game begins; so they live
// in a module loaded then. Without the module, or without a working one, the game plays on
// silently.
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

} // namespace numora
