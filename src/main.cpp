#include "forms/application.h"
#include "forms/hand_over.h"
#include "game/random_source.h"
#include "sound/module_sound_player.h"

#include <QApplication>

#include <memory>

namespace {

int Play(int argc, char* argv[]) {
    QApplication app(argc, argv);
    numora::SetUpApplication();

    numora::ModuleSoundPlayer sound;
    numora::SeededRandom random;
    numora::Form1 form1(sound, random);
    std::unique_ptr<numora::Form2> form2;
    // Lists the player kept beside the program are read from there while the player's own
    // folder has none for a mode.
    numora::HandFinishedGamesOn(form1, form2, sound, numora::LeaderboardFolder(),
                                numora::ProgramFolder());
    form1.show();
    return app.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    numora::EndProcess(Play(argc, argv));
}
