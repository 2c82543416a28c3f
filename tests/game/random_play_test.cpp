// Thousands of games of random input: a pair that leaves the board, splits or overlaps a cell; a
// mark left after its landing; a score that falls; a timer running in a wait; a game handed
// over twice, never, or with the wrong score.
#include "game_test_support.h"

#include <random>

namespace numora::test {

struct Recorder : GameEvents {
    void PlaySound(Sound) override {}
    void HandOverScore(int, std::int64_t score) override { ended.push_back(score); }
    std::vector<std::int64_t> ended;
};

TEST(RandomPlay, InvariantsHoldThroughThousandsOfGames) {
    SeededRandom draws(20261206);
    std::mt19937_64 roll(7);
    Recorder events;
    Game game(draws, events);
    const GameState& s = game.state();
    const auto waiting = [&game] { return game.waiting().kind != Wait::Kind::None; };
    std::int64_t lastScore = 0;
    for (long step = 0; events.ended.size() < 1200; ++step) {
        ASSERT_LT(step, 2000000) << "games stopped ending";
        const int r = int(roll() % 100);
        const bool filling = waiting() && !s.playing;
        const std::size_t handedOver = events.ended.size();
        const std::int64_t finalScore = s.score;
        if ((!s.playing && !filling) || (r == 96 && roll() % 20 == 0)) {
            game.ChooseMode(1 + int(roll() % 5));
            lastScore = 0;
        } else if ((waiting() && r < 60) || r >= 96) {
            game.Resume(game.waiting().serial);
        } else if (r < 30) {
            game.GravityTick();
        } else if (r < 75) {
            game.KeyDown(std::array{kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyDown, 32}[r % 6]);
        } else if (r < 90) {
            game.AnimationTick();
        } else if (r < 93) {
            game.ChooseLevel(r - 89);
        } else {
            game.ChooseAnimation(r % 2);
        }
        // Handed over once, with the final score: at the end of the fill, or at once to a new game.
        ASSERT_EQ(events.ended.size(), handedOver + (filling && !(waiting() && !s.playing)));
        ASSERT_TRUE(events.ended.size() == handedOver || events.ended.back() == finalScore);
        for (int k = 0; k <= nRow; ++k)
            ASSERT_TRUE(s.board.Empty(nCol, k) && s.board.Empty(k % (nCol + 1), nRow));
        ASSERT_EQ(std::abs(s.blkCol[0] - s.blkCol[1]) + std::abs(s.blkRow[0] - s.blkRow[1]), 1);
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(s.blkCol[i] >= 0 && s.blkCol[i] < nCol && s.blkRow[i] >= 0 &&
                        s.blkRow[i] < nRow);
        if (!s.playing) continue;
        ASSERT_TRUE(s.timer1.enabled == !waiting() && s.score >= lastScore &&
                    s.stage <= s.score / 2000);
        lastScore = s.score;
        if (waiting() || !s.board.Empty(3, 0) || !s.board.Empty(4, 0)) continue;
        // Between landings, with the start cells free: the pair on free cells, and no marks.
        ASSERT_TRUE(s.board.Empty(s.blkCol[0], s.blkRow[0]) &&
                    s.board.Empty(s.blkCol[1], s.blkRow[1]));
        for (int k = 0; k < kCellCount; ++k)
            ASSERT_FALSE(s.board(k % nCol, k / nCol).marked) << k;
    }
}

} // namespace numora::test
