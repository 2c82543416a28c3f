// How a finished game reaches the leaderboard window: the window is made at the first game
// over and lives on, reloading at every opening; the main window stays enabled meanwhile.
#pragma once

#include "forms/leaderboard/form2.h"
#include "forms/main/form1.h"

#include <memory>

namespace numora {

// `folder` and `seedFolder` as for Form2.
inline void HandFinishedGamesOn(Form1& form1, std::unique_ptr<Form2>& form2, SoundPlayer& sound,
                                const QString& folder, const QString& seedFolder) {
    QObject::connect(
        &form1, &Form1::gameEnded, &form1,
        [&form2, &sound, folder, seedFolder](int mode, qint64 score, bool newGameStarted) {
            if (!form2) form2 = std::make_unique<Form2>(sound, folder, seedFolder);
            form2->ShowFor(mode, score, !newGameStarted);
        });
}

} // namespace numora
