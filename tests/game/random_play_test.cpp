// Thousands of games of random keys, ticks, menu choices and ends of waits, with the
// game's invariants checked after every call.
#include "board_picture.h"

#include <gtest/gtest.h>

#include <random>

namespace numora::test {
namespace {

struct Recorder : GameEvents {
    void PlaySound(Sound, bool) override {}
    void GameEnded(int mode, std::int64_t score) override { ended.push_back({mode, score}); }
    std::vector<std::pair<int, std::int64_t>> ended;
};

class RandomPlay {
public:
    explicit RandomPlay(std::uint64_t seed) : draws(seed), actions(seed * 7919 + 1), game(draws, events) {}

    void Check(const char* what) {
        const GameState& s = game.state();
        const Wait& wait = game.waiting();
        SCOPED_TRACE(what);
        for (int row = 0; row <= nRow; ++row) ASSERT_TRUE(s.board.Empty(nCol, row));
        for (int col = 0; col <= nCol; ++col) ASSERT_TRUE(s.board.Empty(col, nRow));
        if (s.playing) {
            for (int col = 0; col < nCol; ++col)
                for (int row = 0; row < nRow; ++row) {
                    const CellLabel& label = s.labRes[static_cast<std::size_t>(CellIndex(col, row))];
                    const std::string& cell = s.board(col, row);
                    if (cell == kRemovalMark) {
                        ASSERT_NE(wait.kind, Wait::Kind::None) << "a mark outlived its landing";
                        ASSERT_TRUE(label.marked && label.visible);
                    } else {
                        ASSERT_FALSE(label.marked) << col << "," << row;
                        ASSERT_EQ(label.visible, !cell.empty()) << col << "," << row;
                        if (!cell.empty()) {
                            ASSERT_EQ(label.caption, cell);
                        }
                    }
                }
            ASSERT_GE(s.score, lastScore);
            ASSERT_EQ(s.label1 == std::to_string(s.score) || wait.kind == Wait::Kind::Sound, true);
            ASSERT_EQ(s.timer1.interval, expectedInterval);
            if (wait.kind == Wait::Kind::None) {
                ASSERT_TRUE(s.canStep);
                ASSERT_TRUE(s.timer1.enabled);
                ASSERT_TRUE(s.labBVisible);
            } else {
                ASSERT_FALSE(s.timer1.enabled);
                if (wait.kind == Wait::Kind::Pause) {
                    ASSERT_FALSE(s.canStep);
                }
            }
            ASSERT_LE(s.stage, s.score / 2000);
        }
        for (int i = 0; i < 2; ++i) {
            ASSERT_GE(s.blkCol[i], 0);
            ASSERT_LT(s.blkCol[i], nCol);
            ASSERT_GE(s.blkRow[i], 0);
            ASSERT_LT(s.blkRow[i], nRow);
        }
        ASSERT_EQ(std::abs(s.blkCol[0] - s.blkCol[1]) + std::abs(s.blkRow[0] - s.blkRow[1]), 1);
        const bool blocked = !s.board.Empty(3, 0) || !s.board.Empty(4, 0);
        if (s.playing && wait.kind == Wait::Kind::None && !blocked) {
            ASSERT_TRUE(s.board.Empty(s.blkCol[0], s.blkRow[0]));
            ASSERT_TRUE(s.board.Empty(s.blkCol[1], s.blkRow[1]));
        }
    }

    void Step() {
        const GameState& s = game.state();
        const int roll = static_cast<int>(actions() % 100);
        if (game.waiting().kind != Wait::Kind::None && roll < 60) {
            game.Resume(game.waiting().serial);
        } else if (roll < 30) {
            game.GravityTick();
        } else if (roll < 75) {
            static constexpr int keys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyDown, 32};
            game.KeyDown(keys[actions() % 6]);
        } else if (roll < 90) {
            game.AnimationTick();
        } else if (roll < 93) {
            const int level = 1 + static_cast<int>(actions() % 3);
            game.ChooseLevel(level);
            expectedInterval = Game::SpeedInterval(0, Game::LevelBonus(level));
        } else if (roll < 96) {
            game.ChooseAnimation(actions() % 2 == 0);
        } else if (roll < 97 && actions() % 20 == 0) {
            NewGame();
            return;
        } else {
            game.Resume(game.waiting().serial);
        }
        if (s.score != lastScoreSeen) {
            expectedInterval = Game::SpeedInterval(s.score, s.lvlBonus);
            lastScoreSeen = s.score;
        }
        Check("step");
        lastScore = s.score;
    }

    void NewGame() {
        const bool wasFilling = !game.state().playing && game.waiting().kind != Wait::Kind::None;
        const std::size_t endedBefore = events.ended.size();
        const std::int64_t finalScore = game.state().score;
        game.ChooseMode(1 + static_cast<int>(actions() % 5));
        if (wasFilling) {
            ASSERT_EQ(events.ended.size(), endedBefore + 1);
            ASSERT_EQ(events.ended.back().second, finalScore);
        }
        expectedInterval = 2000;
        lastScore = lastScoreSeen = 0;
        ++games;
        Check("new game");
    }

    SeededRandom draws;
    std::mt19937_64 actions;
    Recorder events;
    Game game;
    std::int64_t lastScore = 0, lastScoreSeen = 0;
    int expectedInterval = 2000;
    int games = 0;
};

TEST(RandomPlay, InvariantsHoldThroughThousandsOfGames) {
    RandomPlay play(20261206);
    play.NewGame();
    long steps = 0;
    std::size_t handedOver = 0;
    while (play.games < 2500) {
        play.Step();
        if (::testing::Test::HasFatalFailure()) return;
        ++steps;
        if (play.events.ended.size() != handedOver) {
            handedOver = play.events.ended.size();
            if (!play.game.state().playing) {  // the fill ran to its end
                ASSERT_EQ(play.events.ended.back().second, play.game.state().score);
                ASSERT_EQ(play.game.waiting().kind, Wait::Kind::None);
                play.NewGame();
            }
        }
    }
    // Most games ran to their end and were handed over exactly once.
    EXPECT_GT(handedOver, 1500u);
    EXPECT_GT(steps, 100000);
}

}  // namespace
}  // namespace numora::test
