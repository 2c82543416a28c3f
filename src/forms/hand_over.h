// How a finished game reaches the leaderboard window: the window is made at the first game
// over and lives on, reloading at every opening; the main window stays enabled meanwhile.
#pragma once

#include "forms/leaderboard/leaderboard_window.h"
#include "forms/main/main_window.h"

#include <memory>

namespace numora {

// `folder` and `seedFolder` as for LeaderboardWindow.
inline void HandFinishedGamesOn(MainWindow& game, std::unique_ptr<LeaderboardWindow>& leaderboard,
                                SoundPlayer& sound, const QString& folder,
                                const QString& seedFolder) {
    QObject::connect(
        &game, &MainWindow::gameEnded, &game,
        [&leaderboard, &sound, folder, seedFolder](int mode, qint64 score, bool newGameStarted) {
            if (!leaderboard)
                leaderboard = std::make_unique<LeaderboardWindow>(sound, folder, seedFolder);
            leaderboard->ShowFor(mode, score, !newGameStarted);
        });
}

} // namespace numora
