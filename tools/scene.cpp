// Shows the main window in a set-up situation, for looking at it by hand:
//   numora_scene STAGE   the figure of stage 0..4 walking above a pair, with a marked group
#include "forms/main/main_window.h"
#include "sound/sound_player.h"

#include <QApplication>
#include <QTimer>

namespace {
class Silent final : public numora::SoundPlayer {
  public:
    void Play(numora::Sound) override {}
    int DurationMs(numora::Sound) const override { return 0; }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int stage = argc > 1 ? std::clamp(QString(argv[1]).toInt(), 0, 4) : 0;
    Silent silent;
    numora::SeededRandom random(stage + 1);
    numora::MainWindow form(silent, random);
    form.ChooseMode(2);
    // A marked group of two 4s in column 2 above the bottom row, and the pair in row 7.
    form.SetUp({.board = {". . 4*", "7 3 4* 10 5 8 2 6"},
                .pair = numora::Situation::Pair{{3, 4}, {7, 7}, {"4", "5"}},
                .stage = stage});
    if (stage % 2) form.PressArrow(numora::Arrow::Right); // facing right
    form.AnimationTick();
    form.show();
    return app.exec();
}
