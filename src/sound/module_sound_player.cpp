#include "sound/module_sound_player.h"

#include "sound/embedded_sounds.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QtDebug>

namespace numora {

ModuleSoundPlayer::ModuleSoundPlayer(QStringList candidates) : candidates_(std::move(candidates)) {}

ModuleSoundPlayer::~ModuleSoundPlayer() = default;

QStringList ModuleSoundPlayer::DefaultModulePaths() {
    const QString bin = QCoreApplication::applicationDirPath();
    return {bin + QStringLiteral("/" NUMORA_SOUND_MODULE),
            bin + QStringLiteral("/" NUMORA_SOUND_MODULE_FROM_BIN "/" NUMORA_SOUND_MODULE)};
}

void ModuleSoundPlayer::Preload() {
    if (!tried_) {
        tried_ = true;
        using Make = SoundPlayer* (*)();
        for (const QString& path : candidates_) {
            // Never unloaded: Qt keeps the module's types registered until the process ends.
            QLibrary module(path);
            if (!module.load()) continue;
            if (auto make = reinterpret_cast<Make>(module.resolve("numora_make_sound_player"))) {
                player_.reset(make());
                break;
            }
        }
        if (!player_) qInfo("numora: no sound module found; the game plays silently");
    }
    if (player_) player_->Preload();
}

void ModuleSoundPlayer::Play(Sound sound) {
    Preload();
    if (player_) player_->Play(sound);
}

int ModuleSoundPlayer::DurationMs(Sound sound) const {
    return EmbeddedSoundDurationMs(sound);
}

} // namespace numora
