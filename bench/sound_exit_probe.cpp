// One close of the program at the moment its first game starts: the sound module loaded,
// its sounds set loading and the landing sound asked for, then the program ends after the
// given number of microseconds, and everything torn down and ended as main() does.
// bench/sound_exit runs it many times and counts the runs that never end.
// Usage: sound_exit_probe <module path without suffix> <microseconds>
#include "sound/module_sound_player.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

namespace {

int Close(int argc, char* argv[]) {
    QApplication app(argc, argv);
    numora::ModuleSoundPlayer sound({QString::fromLocal8Bit(argv[1])});
    sound.Preload();
    if (!sound.loaded()) return 3;
    sound.Play(numora::Sound::Landing);
    const unsigned long micros = std::strtoul(argv[2], nullptr, 10);
    // Events are handled meanwhile, as the window handles them until it is closed.
    QElapsedTimer clock;
    clock.start();
    while (static_cast<unsigned long>(clock.nsecsElapsed() / 1000) < micros)
        QCoreApplication::processEvents();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) return 2;
    const int status = Close(argc, argv);
    std::fflush(nullptr);
    std::quick_exit(status);
}
