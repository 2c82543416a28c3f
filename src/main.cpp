#include "forms/main/form1.h"
#include "game/random_source.h"
#include "sound/qt_sound_player.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("numora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Numora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/numora.svg")));

    numora::QtSoundPlayer sound;
    numora::SeededRandom random;
    numora::Form1 form1(sound, random);
    form1.show();
    // The sounds are decoded once the window is up, so the start is not held up by them
    // and the first play is not late.
    QTimer::singleShot(0, &sound, [&sound] { sound.Preload(); });
    return app.exec();
}
