// New game, spawning, game over, the figure's step, and the faults a careless state
// machine would have: stale continuations, lost scores, repeated draws.
#include "board_picture.h"

#include <gtest/gtest.h>

#include <set>

namespace numora::test {
namespace {

TEST(StartUp, IdleUntilAModeIsChosen) {
    Harness h;
    const GameState& s = h.game.state();
    EXPECT_FALSE(s.playing);
    EXPECT_FALSE(s.timer1.enabled);
    EXPECT_EQ(s.timer1.interval, 2000);
    EXPECT_FALSE(s.timer3.enabled);
    EXPECT_TRUE(s.picbgVisible);
    EXPECT_TRUE(s.dhyChecked);
    EXPECT_EQ(s.checkedMode, 0);
    EXPECT_EQ(s.checkedLevel, 0);
    EXPECT_EQ(s.labBp[0], "0");
    EXPECT_FALSE(s.labBpVisible);
    EXPECT_EQ(s.label1, "0");
    h.game.GravityTick();
    EXPECT_FALSE(s.playing);
}

TEST(NewGame, PreviewDrawnByTheNewGameFallsFirst) {
    Harness h;
    h.random.Pick({8, 4, 1, 2}, 14);  // first preview: 5+5, 3+3; then 1+2, 2+2
    h.game.ChooseMode(1);
    const GameState& s = h.game.state();
    EXPECT_EQ(s.labB[0], "5+5");
    EXPECT_EQ(s.blkRes0, "10");
    EXPECT_EQ(s.labB[1], "3+3");
    EXPECT_EQ(s.labBp[0], "1+2");
    EXPECT_EQ(s.nextRes1, "4");
    EXPECT_EQ(s.blkCol, (std::array<int, 2>{3, 4}));
    EXPECT_EQ(s.blkRow, (std::array<int, 2>{0, 0}));
    EXPECT_TRUE(s.playing);
    EXPECT_TRUE(s.canStep);
    EXPECT_TRUE(s.timer1.enabled);
    EXPECT_TRUE(s.labBVisible);
    EXPECT_TRUE(s.labBpVisible);
    EXPECT_FALSE(s.picbgVisible);
    EXPECT_EQ(s.checkedMode, 1);
    EXPECT_TRUE(s.timer3.enabled);
    EXPECT_TRUE(s.picMove.visible);
    EXPECT_EQ(s.picMove.left, 350);
    EXPECT_EQ(s.picMove.top, 40);
}

TEST(NewGame, ClearsABoardInPlayAndKeepsTheCheckedMode) {
    Harness h;
    h.game.ChooseMode(3);
    SetBoard(h.s(), {"1 2 3 4 5 6 7 8"});
    h.s().score = 450;
    h.s().label1 = "450";
    h.game.ChooseMode(3);
    const GameState& s = h.game.state();
    EXPECT_EQ(s.checkedMode, 3);
    EXPECT_EQ(s.score, 0);
    EXPECT_EQ(s.label1, "0");
    for (int col = 0; col <= nCol; ++col)
        for (int row = 0; row <= nRow; ++row) EXPECT_TRUE(s.board.Empty(col, row));
    for (const CellLabel& label : s.labRes) {
        EXPECT_FALSE(label.visible);
        EXPECT_EQ(label.caption, "");
    }
    EXPECT_EQ(s.eqCount, 44);
}

TEST(NewGame, WithAnimationOffLeavesTheFigureAlone) {
    Harness h;
    h.game.ChooseAnimation(false);
    h.game.ChooseMode(1);
    EXPECT_FALSE(h.game.state().timer3.enabled);
    EXPECT_FALSE(h.game.state().picMove.visible);
    h.game.ChooseAnimation(true);  // acts at once, also mid-game
    EXPECT_TRUE(h.game.state().timer3.enabled);
    EXPECT_TRUE(h.game.state().picMove.visible);
    EXPECT_TRUE(h.game.state().dhyChecked);
    EXPECT_FALSE(h.game.state().dhwChecked);
}

TEST(Random, EveryIndexIsReachableAndNeverOutOfRange) {
    Harness h;
    h.random.script = {0.0, 0.9999999999999999, 0.5, 0.999999};
    h.game.ChooseMode(1);
    EXPECT_EQ(h.game.state().labB[0], "1+1");
    EXPECT_EQ(h.game.state().labB[1], "6-1");  // index 13, never 14
}

TEST(Random, SuccessivePairsAreFreshDraws) {
    // Drawing a new game's preview and first pair at once must not repeat one draw.
    SeededRandom random;
    struct Quiet : GameEvents {
        void PlaySound(Sound, bool) override {}
        void GameEnded(int, std::int64_t) override {}
    } quiet;
    Game game(random, quiet);
    int samePairs = 0;
    std::set<std::string> firstCells;
    for (int i = 0; i < 200; ++i) {
        game.ChooseMode(2);
        const GameState& s = game.state();
        samePairs += s.labB[0] == s.labBp[0] && s.labB[1] == s.labBp[1];
        firstCells.insert(s.labB[0]);
    }
    EXPECT_LT(samePairs, 10);  // 1 in 44^2 by chance
    EXPECT_GT(firstCells.size(), 30u);
    // Two programs started together do not deal the same game.
    SeededRandom a, b;
    int equal = 0;
    for (int i = 0; i < 16; ++i) equal += a.NextUnit() == b.NextUnit();
    EXPECT_LT(equal, 16);
}

TEST(GameOver, OnlyTheStartCellsEndTheGame) {
    for (int col = 0; col < nCol; ++col) {
        Harness h;
        h.game.ChooseMode(1);
        h.s().board(col, 0) = "9";
        h.SetPair(0, 5, "2", 1, 5, "3");
        h.game.GravityTick();
        const bool over = col == 3 || col == 4;
        EXPECT_EQ(h.game.state().playing, !over) << col;
        EXPECT_EQ(h.game.state().blkRow[0], over ? 5 : 6) << col;
    }
}

TEST(GameOver, FillsTheBoardCellByCellThenHandsOver) {
    Harness h;
    h.game.ChooseMode(4);
    h.s().score = 0;
    h.s().board(4, 0) = "12";
    h.game.KeyDown(kKeyDown);  // the key runs a tick, which ends the game
    const GameState& s = h.game.state();
    EXPECT_FALSE(s.playing);
    EXPECT_FALSE(s.timer1.enabled);
    EXPECT_FALSE(s.labBVisible);
    int steps = 0;
    while (h.game.waiting().kind == Wait::Kind::Pause) {
        EXPECT_EQ(h.game.waiting().ms, 8);
        const int filled = steps + 1;
        EXPECT_TRUE(s.labRes[static_cast<std::size_t>(filled - 1)].visible);
        if (filled < kCellCount) {
            EXPECT_FALSE(s.labRes[static_cast<std::size_t>(filled)].visible);
        }
        h.game.KeyDown(kKeyLeft);  // ignored during the fill
        EXPECT_TRUE(h.log.empty());
        h.game.Resume(h.game.waiting().serial);
        ++steps;
    }
    EXPECT_EQ(steps, kCellCount);
    for (const CellLabel& label : s.labRes) {
        EXPECT_TRUE(label.visible);
        EXPECT_EQ(label.caption, "");
    }
    EXPECT_EQ(s.board(4, 0), "12");  // the board itself is left as it was
    EXPECT_EQ(h.log, std::vector<std::string>{"ended 4 0"});
    EXPECT_TRUE(s.timer3.enabled);  // the figure goes on
}

TEST(GameOver, GroupInTheTopRowIsRemovedBeforeTheNextTick) {
    Harness h;
    h.game.ChooseMode(1);
    for (int row = 2; row < nRow; ++row) h.s().board(3, row) = row % 2 ? "2" : "3";
    h.s().board(3, 1) = "9";
    h.SetPair(3, 0, "9", 2, 0, "5");  // lands at once on the 9 below cell 0
    h.game.GravityTick();
    h.Settle();
    EXPECT_EQ(h.game.state().board(2, 0), "5");  // half supported, left where it landed
    h.game.GravityTick();
    EXPECT_TRUE(h.game.state().playing);
}

// ---------------------------------------------------------------- mended faults

TEST(Abandon, NewGameDuringACascadeRunsNothingOfTheOldGame) {
    Harness h;
    h.game.ChooseMode(1);
    SetBoard(h.s(), {". . . 3 . . . .", ". . . 7 3 . . ."});
    h.SetPair(2, 13, "7", 2, 12, "9");
    h.game.GravityTick();
    const unsigned stale = h.game.waiting().serial;
    h.game.ChooseMode(2);
    EXPECT_EQ(h.game.waiting().kind, Wait::Kind::None);
    h.game.Resume(stale);  // the old pause's timer fires late
    const GameState& s = h.game.state();
    EXPECT_EQ(s.score, 0);
    EXPECT_EQ(s.label1, "0");
    EXPECT_TRUE(s.canStep);
    for (const CellLabel& label : s.labRes) {
        EXPECT_FALSE(label.visible);
        EXPECT_FALSE(label.marked);
    }
    for (int col = 0; col < nCol; ++col)
        for (int row = 0; row < nRow; ++row) EXPECT_TRUE(s.board.Empty(col, row));
    EXPECT_EQ(h.log, std::vector<std::string>{"sound 104"});  // nothing after the switch
    EXPECT_EQ(s.blkRow[0], 0);
}

TEST(Abandon, NewGameDuringTheMilestoneSoundDropsItsContinuation) {
    Harness h;
    h.game.ChooseMode(1);
    h.s().score = 1990;
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    const unsigned stale = h.game.waiting().serial;
    h.game.ChooseMode(1);
    h.game.Resume(stale);
    EXPECT_EQ(h.game.state().picBoySet, 0);
    EXPECT_EQ(h.game.state().label1, "0");
    EXPECT_EQ(h.log, std::vector<std::string>{"sound 106 wait"});
}

TEST(Abandon, NewGameDuringTheFillHandsTheFinishedGameOverFirst) {
    Harness h;
    h.game.ChooseMode(5);
    h.s().score = 1230;
    h.s().board(3, 0) = "4";
    h.game.GravityTick();
    for (int i = 0; i < 20; ++i) h.game.Resume(h.game.waiting().serial);
    const unsigned stale = h.game.waiting().serial;
    h.game.ChooseMode(2);
    EXPECT_EQ(h.log, std::vector<std::string>{"ended 5 1230"});
    EXPECT_EQ(h.game.state().mode, 2);
    EXPECT_TRUE(h.game.state().playing);
    h.game.Resume(stale);
    EXPECT_EQ(h.log.size(), 1u);  // never handed over twice
    EXPECT_FALSE(h.game.state().labRes[25].visible);
}

TEST(Abandon, ResumeWithoutAWaitOrWithAWrongSerialDoesNothing) {
    Harness h;
    h.game.ChooseMode(1);
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    const unsigned serial = h.game.waiting().serial;
    h.game.Resume(serial + 1);
    h.game.Resume(serial - 1);
    EXPECT_EQ(h.game.waiting().serial, serial);
    EXPECT_EQ(h.game.state().board(4, 13), kRemovalMark);
}

// ---------------------------------------------------------------- the figure

struct FigureCase {
    int c0, r0, c1, r1;
    bool onBoard;
    int left, top;
};

class Figure : public ::testing::TestWithParam<FigureCase> {};

TEST_P(Figure, StandsOnThePairOrInTheBanner) {
    const FigureCase& c = GetParam();
    Harness h;
    h.game.ChooseMode(1);
    h.SetPair(c.c0, c.r0, "2", c.c1, c.r1, "3");
    h.game.AnimationTick();
    const GameState& s = h.game.state();
    EXPECT_EQ(s.picMove.visible, c.onBoard);
    EXPECT_EQ(s.picTboyVisible, !c.onBoard);
    if (c.onBoard) {
        EXPECT_EQ(s.picMove.left, c.left);
        EXPECT_EQ(s.picMove.top, c.top);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, Figure,
                         ::testing::Values(FigureCase{3, 5, 4, 5, true, 150, 148},
                                           FigureCase{3, 0, 3, 1, false, 0, 0},
                                           FigureCase{3, 2, 3, 1, false, 0, 0},
                                           FigureCase{5, 2, 4, 2, true, 200, 52},
                                           FigureCase{0, 13, 0, 12, true, 0, 372}));

TEST(FigureFrames, AlternateAndFaceTheLastMove) {
    Harness h;
    h.game.ChooseMode(1);
    auto frames = [&h](int n) {
        std::vector<int> out;
        for (int i = 0; i < n; ++i) {
            h.game.AnimationTick();
            out.push_back(h.game.state().picMoveImage.frame);
        }
        return out;
    };
    EXPECT_EQ(frames(3), (std::vector<int>{0, 1, 0}));
    h.game.KeyDown(kKeyRight);
    EXPECT_EQ(frames(2), (std::vector<int>{3, 2}));
    h.SetPair(7, 5, "2", 7, 4, "3");
    h.game.KeyDown(kKeyRight);  // blocked: still facing right
    EXPECT_EQ(frames(1), (std::vector<int>{3}));
    h.game.ChooseAnimation(false);
    h.game.AnimationTick();  // the timer is off: nothing is drawn
    EXPECT_EQ(h.game.state().picMoveImage.frame, 3);
    EXPECT_FALSE(h.game.state().picMove.visible);
}

TEST(FigureFrames, BeforeAnyGameTheStartUpSetIsDrawnInTheBanner) {
    Harness h;
    h.game.ChooseAnimation(true);
    h.game.AnimationTick();
    EXPECT_EQ(h.game.state().picMoveImage.set, 0);
    EXPECT_TRUE(h.game.state().picTboyVisible);
}

}  // namespace
}  // namespace numora::test
