// Thousands of games of random keys, ticks, menu choices and ends of waits; after every
// call the state must be one the rules allow.
#include "game_test_support.h"

#include <random>

namespace numora::test {
namespace {

struct Recorder : GameEvents {
    void PlaySound(Sound, bool) override {}
    void GameEnded(int, std::int64_t score) override { ended.push_back(score); }
    std::vector<std::int64_t> ended;
};

// A pair that leaves the board, overlaps a cell or splits; a mark, label or score that
// drifts from the board; a timer left running in a wait; a hand-over lost or doubled.
TEST(RandomPlay, InvariantsHoldThroughThousandsOfGames) {
    SeededRandom draws(20261206);
    std::mt19937_64 roll(7);
    Recorder events;
    Game game(draws, events);
    const GameState& s = game.state();
    std::int64_t lastScore = 0, finalScore = 0;
    int interval = 2000, games = 0;
    long steps = 0;
    auto newGame = [&] {
        game.ChooseMode(1 + int(roll() % 5));
        lastScore = 0, interval = 2000, ++games;
    };
    newGame();
    while (games < 2000) {
        const int r = int(roll() % 100);
        const bool waits = game.waiting().kind != Wait::Kind::None, filling = waits && !s.playing;
        const std::size_t handedOver = events.ended.size();
        finalScore = s.score;
        if (waits && r < 60) game.Resume(game.waiting().serial);
        else if (r < 30) game.GravityTick();
        else if (r < 75) game.KeyDown(std::array{kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyDown, 32}[roll() % 6]);
        else if (r < 90) game.AnimationTick();
        else if (r < 93) game.ChooseLevel(r - 89), interval = Game::SpeedInterval(0, Game::LevelBonus(r - 89));
        else if (r < 96) game.ChooseAnimation(roll() % 2);
        else if (r < 97 && roll() % 20 == 0) newGame();
        else game.Resume(game.waiting().serial);
        ++steps;
        // Handed over once: at the end of the fill, or at once to a new game during it.
        const bool stillFilling = game.waiting().kind != Wait::Kind::None && !s.playing;
        ASSERT_EQ(events.ended.size(), handedOver + (filling && !stillFilling));
        if (events.ended.size() != handedOver) { ASSERT_EQ(events.ended.back(), finalScore); }
        if (events.ended.size() != handedOver && !s.playing) newGame();
        for (int k = 0; k <= nRow; ++k) ASSERT_TRUE(s.board.Empty(nCol, k) && s.board.Empty(k % (nCol + 1), nRow));
        ASSERT_EQ(std::abs(s.blkCol[0] - s.blkCol[1]) + std::abs(s.blkRow[0] - s.blkRow[1]), 1);
        for (int i = 0; i < 2; ++i) ASSERT_TRUE(s.blkCol[i] >= 0 && s.blkCol[i] < nCol && s.blkRow[i] >= 0 && s.blkRow[i] < nRow);
        if (!s.playing) continue;
        const Wait& wait = game.waiting();
        for (int k = 0; k < kCellCount; ++k) {
            const CellLabel& label = s.labRes[std::size_t(k)];
            const std::string& cell = s.board(k % nCol, k / nCol);
            ASSERT_EQ(label.marked, cell == kRemovalMark) << k;
            ASSERT_EQ(label.visible, !cell.empty()) << k;
            if (!cell.empty() && !label.marked) { ASSERT_EQ(label.caption, cell) << k; }
        }
        ASSERT_GE(s.score, lastScore);
        if (s.score != lastScore) interval = Game::SpeedInterval(s.score, s.lvlBonus);
        lastScore = s.score;
        ASSERT_LE(s.stage, s.score / 2000);
        ASSERT_TRUE(s.label1 == std::to_string(s.score) || wait.kind == Wait::Kind::Sound);
        ASSERT_EQ(s.timer1.interval, interval);
        ASSERT_EQ(s.timer1.enabled, wait.kind == Wait::Kind::None);
        ASSERT_EQ(s.canStep && s.labBVisible, wait.kind == Wait::Kind::None);
        if (wait.kind == Wait::Kind::None && s.board.Empty(3, 0) && s.board.Empty(4, 0)) {
            ASSERT_TRUE(s.board.Empty(s.blkCol[0], s.blkRow[0]) && s.board.Empty(s.blkCol[1], s.blkRow[1]));
        }
    }
    EXPECT_GT(events.ended.size(), 1200u);
    EXPECT_GT(steps, 100000);
}

}  // namespace
}  // namespace numora::test
