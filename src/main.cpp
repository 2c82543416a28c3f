#include "forms/application.h"
#include "forms/hand_over.h"
#include "game/random_source.h"
#include "sound/module_sound_player.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

int Play(int argc, char* argv[]) {
    QApplication app(argc, argv);
    numora::SetUpApplication();

    numora::ModuleSoundPlayer sound;
    numora::SeededRandom random;
    numora::MainWindow game(sound, random);
    std::unique_ptr<numora::LeaderboardWindow> leaderboard;
    // Lists the player kept beside the program are read from there while the player's own
    // folder has none for a mode.
    numora::HandFinishedGamesOn(game, leaderboard, sound, numora::LeaderboardFolder(),
                                numora::ProgramFolder());
    game.show();
    return app.exec();
}

} // namespace

// The process ends once the windows, the sound service and the application object are gone,
// without the libraries' exit-time destructors: Qt Multimedia's frees its PulseAudio
// connection while that connection's own thread may still be dispatching a reply, which
// aborts about one exit in a few thousand. By then every list is saved and nothing is left
// for them to do.
int main(int argc, char* argv[]) {
    const int status = Play(argc, argv);
    std::fflush(nullptr);
    std::quick_exit(status);
}
