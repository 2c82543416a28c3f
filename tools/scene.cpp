// Shows the main window in a set-up situation, for looking at it by hand:
//   numora_scene STAGE   the figure of stage 0..4 walking above a pair, with a marked group
#include "forms/main/form1.h"
#include "sound/sound_player.h"

#include <QApplication>
#include <QTimer>

namespace {
class Silent final : public numora::SoundPlayer {
public:
    void Play(int) override {}
    int DurationMs(int) const override { return 0; }
};
}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int stage = argc > 1 ? std::clamp(QString(argv[1]).toInt(), 0, 4) : 0;
    Silent silent;
    numora::SeededRandom random(stage + 1);
    numora::Form1 form(silent, random);
    form.b1_Click(2);
    numora::GameState& s = form.game().editState();
    s.stage = stage;
    s.picBoySet = s.picTboySet = stage;
    const char* bottom[] = {"7", "3", "9", "10", "5", "8", "2", "6"};
    for (int col = 0; col < numora::nCol; ++col) {
        s.board(col, 13) = bottom[col];
        s.labRes[static_cast<std::size_t>(numora::CellIndex(col, 13))] = {bottom[col], true, false};
    }
    s.board(2, 12) = "4";
    s.labRes[static_cast<std::size_t>(numora::CellIndex(2, 12))] = {"4", true, true};
    s.labRes[static_cast<std::size_t>(numora::CellIndex(2, 13))].marked = true;
    s.blkCol = {3, 4};
    s.blkRow = {7, 7};
    s.boyFrame = stage % 2 ? 2 : 0;
    form.Timer3_Timer();
    form.show();
    return app.exec();
}
