#include "forms/application.h"
#include "forms/leaderboard/form2.h"
#include "forms/main/form1.h"
#include "game/random_source.h"
#include "sound/module_sound_player.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    numora::SetUpApplication();

    numora::ModuleSoundPlayer sound;
    numora::SeededRandom random;
    numora::Form1 form1(sound, random);
    // The leaderboard window is made at the first game over and lives on, reloading at
    // every opening; the main window stays enabled while it is open.
    std::unique_ptr<numora::Form2> form2;
    QObject::connect(&form1, &numora::Form1::gameEnded, &form1, [&](int mode, qint64 score) {
        if (!form2) form2 = std::make_unique<numora::Form2>(sound, numora::LeaderboardFolder());
        form2->ShowFor(mode, score);
    });
    form1.show();
    return app.exec();
}
