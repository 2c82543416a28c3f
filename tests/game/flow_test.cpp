// A game from its start to its hand-over: spawning, cascades, milestones, the fill, the
// figure, and the waits a careless state machine would get wrong.
#include "game_test_support.h"

#include <set>

namespace numora::test {
namespace {

using Rows = std::vector<std::string>;

// A start-up that already plays, or a new game that keeps the old board, score or preview.
TEST(NewGame, StartsFromTheSplashAndDealsThePreviewFirst) {
    Harness h;
    h.game.GravityTick();
    h.game.KeyDown(kKeyDown);
    EXPECT_EQ(Flags(h.game), "");
    EXPECT_TRUE(h.st().picbgVisible && h.st().dhyChecked && !h.st().dhwChecked && h.st().board.Empty(0, 1));
    EXPECT_EQ(h.st().checkedMode + h.st().checkedLevel + h.st().labBpVisible, 0);
    h.game.ChooseMode(3);
    SetBoard(h.s(), {"1 2 3 4 5 6 7 8"});
    h.s().score = 450;
    for (double r : {8.5, 4.5, 1.5, 2.5}) h.random.script.push_back(r / 14);
    h.game.ChooseMode(1);
    const GameState& s = h.st();
    EXPECT_EQ(s.labB[0] + s.blkRes0 + s.labB[1] + s.blkRes1 + s.labBp[0] + s.nextRes0 + s.labBp[1] + s.nextRes1,
              "5+510" "3+36" "1+23" "2+24");
    EXPECT_EQ(s.blkCol[0] * 1000 + s.blkRow[0] * 100 + s.blkCol[1] * 10 + s.blkRow[1], 3040);
    EXPECT_EQ(Flags(h.game), "play t1=2000 step pair t3 fig");
    EXPECT_EQ(s.label1 + " " + std::to_string(s.score) + " " + std::to_string(s.checkedMode), "0 0 1");
    EXPECT_EQ(s.picMove.left * 1000 + s.picMove.top, 350040);
    EXPECT_TRUE(s.labBpVisible && !s.picbgVisible);
    EXPECT_EQ(BoardRows(s, 13), Rows{kEmptyRow});
    for (const CellLabel& label : s.labRes) EXPECT_FALSE(label.visible);
    h.game.ChooseMode(0);
    h.game.ChooseMode(6);
    EXPECT_EQ(s.mode * 100 + s.eqCount, 114);
}

// An index drawn past the list's end, or two draws that repeat.
TEST(NewGame, DrawsAreInRangeAndFresh) {
    Harness h;
    h.random.script = {0.0, 0.9999999999999999, 0.5, 0.999999};
    h.game.ChooseMode(1);
    EXPECT_EQ(h.st().labB[0] + " " + h.st().labB[1], "1+1 6-1");
    SeededRandom random;
    Game game(random, h);
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i, game.ChooseMode(2)) seen.insert(game.state().labB[0] + game.state().labB[1] + game.state().labBp[0]);
    EXPECT_GT(seen.size(), 45u);
}

// A spawn that keeps the old facing, or the old tick's schedule; a Down that only moves
// must keep the schedule.
TEST(Spawn, FacesLeftAndGivesTimer1AFullInterval) {
    Harness h;
    h.game.ChooseMode(1);
    h.game.KeyDown(kKeyRight);
    h.SetPair(4, 13, "2", 5, 13, "3");
    const unsigned starts = h.st().timer1.starts;
    h.game.KeyDown(kKeyDown);
    EXPECT_EQ(h.st().boyFrame * 10 + h.st().blkRow[0], 0);
    EXPECT_EQ(h.st().timer1.starts, starts + 1);
    h.game.KeyDown(kKeyDown);
    EXPECT_EQ(h.st().timer1.starts, starts + 1);
}

// The landing removes two 7s; the drop lets two 3s meet: a cascade of two groups.
struct Cascade : ::testing::Test {
    void SetUp() override {
        h.game.ChooseMode(1);
        SetBoard(h.s(), {". . . 3 . . . .", ". . . 7 3 . . ."});
        h.SetPair(2, 13, "7", 2, 12, "9");
        h.game.GravityTick();
    }
    Harness h;
};

// The second group must score with the grown group count; Down waits; sideways keys move
// only the landed coordinates; the spawn after a cascade restarts the timer.
TEST_F(Cascade, SecondGroupScoresWithTheGrownCountThenTheNextPairFalls) {
    EXPECT_EQ(h.st().score, 30);
    h.game.KeyDown(kKeyDown);
    h.game.KeyDown(kKeyLeft);
    EXPECT_EQ(h.st().blkCol[0], 1);
    EXPECT_EQ(BoardRows(h.st(), 12), (Rows{". . 9 3 . . . .", ". . -1 -1 3 . . ."}));
    h.game.Resume(h.game.waiting().serial);
    EXPECT_EQ(BoardRows(h.st(), 13), Rows{". . 9 -1 -1 . . ."});
    EXPECT_EQ(h.st().score, 80);  // 30 + 10 + 20 x 2
    EXPECT_EQ(Flags(h.game), "play t3 fig wait=pause100");
    const unsigned starts = h.st().timer1.starts;
    h.Settle();
    EXPECT_EQ(BoardRows(h.st(), 12), (Rows{kEmptyRow, ". . 9 . . . . ."}));
    EXPECT_EQ(Flags(h.game), "play t1=2000 step pair t3 fig");
    EXPECT_EQ(h.st().timer1.starts, starts + 1);
    EXPECT_EQ(h.st().blkCol[0], 3);
    EXPECT_EQ(h.log, Rows{"sound 104"});
    EXPECT_EQ(h.st().labRes[106].caption, "9");
    for (int k = 0; k < kCellCount; ++k) EXPECT_EQ(h.st().labRes[std::size_t(k)].visible, k == 106) << k;
}

// A milestone in the cascade cuts in before the pause, freezes the game, and changes the
// pictures and the score caption only after its sound.
TEST_F(Cascade, MilestoneInTheCascadeWaitsForItsSound) {
    h.s().score = 1960;
    h.game.Resume(h.game.waiting().serial);
    EXPECT_EQ(h.log, (Rows{"sound 104", "sound 106 wait"}));
    EXPECT_EQ(Flags(h.game), "play t3 fig wait=sound106");
    EXPECT_EQ(h.st().stage * 100 + h.st().picBoySet * 10 + h.st().picTboySet, 100);
    EXPECT_EQ(h.st().label1, "30");
    h.game.AnimationTick();
    EXPECT_EQ(h.st().picMoveImage.set, -1);
    h.game.KeyDown(kKeyLeft);
    h.game.GravityTick();
    EXPECT_EQ(h.st().blkCol[0] * 100 + h.st().blkRow[0], 213);
    h.game.Resume(h.game.waiting().serial);
    EXPECT_EQ(h.st().picBoySet * 10 + h.st().picTboySet, 11);
    EXPECT_EQ(h.st().label1, "2010");
    EXPECT_EQ(Flags(h.game), "play t3 fig wait=pause100");
}

// The landing's own milestone sounds before the landing chime; one stage per scoring step
// however many multiples it passes; pictures stop at set 4; scores never wrap.
TEST(Milestone, OrderStepsTheLastSetAndNoWrap) {
    Harness h;
    h.game.ChooseMode(1);
    auto landGroup = [&h] {
        h.PrepareGroupOfTwo();
        h.game.GravityTick();
        h.Settle();
    };
    h.s().score = 3990;
    landGroup();
    EXPECT_EQ(h.log, (Rows{"sound 106 wait", "sound 104"}));
    EXPECT_EQ(h.st().stage * 10 + h.st().picBoySet, 11);
    landGroup();
    EXPECT_EQ(h.st().stage * 10 + h.st().picTboySet, 22);
    h.s().score = 11990;
    h.s().stage = 5;
    h.s().picBoySet = h.s().picTboySet = 4;
    h.log.clear();
    landGroup();
    EXPECT_EQ(h.log.front() + " " + std::to_string(h.st().stage), "sound 106 wait 6");
    EXPECT_EQ(h.st().picBoySet * 10 + h.st().picTboySet, 44);
    h.s().score = 2147483600;
    h.s().stage = 1073741800;
    landGroup();
    EXPECT_EQ(h.st().label1, "2147483630");
}

// Each settled cell drops one row per removed cell beneath it, column by column; a
// half-supported cell keeps its gap; each level of the cascade scores its own group.
TEST(Removal, CellsDropByWhatWasRemovedBeneath) {
    Harness h;
    h.game.ChooseMode(1);
    SetBoard(h.s(), {"1 . . . . . . .", "5 . . . . . . .", "5 . . . . . . .", "8 2 . 8 . 6 . .",
                     "9 9 . 1 . . . .", "9 4 . 4 4 4 . ."});
    h.SetPair(2, 13, "4", 2, 12, "7");
    h.game.GravityTick();
    h.Settle();
    EXPECT_EQ(BoardRows(h.st(), 11), (Rows{kEmptyRow, "1 2 . 8 . 6 . .", "8 9 7 1 . . . ."}));
    EXPECT_EQ(h.st().score, (160 + 20 * 4) + (10 + 20 * 5) + (10 + 20 * 6));  // 4s, then 5s, then 9s
}

// A level acts at once mid-game, lapses at a new game and returns with the first group;
// a landing without a group changes neither speed nor score.
TEST(Level, ActsAtOnceAndReturnsAfterANewGame) {
    Harness h;
    h.game.ChooseLevel(3);
    EXPECT_EQ(Flags(h.game), "");
    h.game.ChooseMode(2);
    h.game.ChooseLevel(2);
    EXPECT_EQ(h.st().timer1.interval, 1400);
    const unsigned starts = h.st().timer1.starts;
    h.game.ChooseLevel(3);
    h.game.ChooseLevel(4);  // no such item: ignored
    EXPECT_EQ(h.st().checkedLevel * 10000 + h.st().timer1.interval, 30800);
    EXPECT_EQ(h.st().timer1.starts, starts + 1);
    h.game.ChooseMode(2);
    EXPECT_EQ(h.st().timer1.interval, 2000);
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    h.Settle();
    h.SetPair(0, 13, "1", 1, 13, "2");
    h.game.GravityTick();
    EXPECT_EQ(Flags(h.game), "play t1=800 step pair t3 fig");
    EXPECT_EQ(h.st().label1, "30");
}

// Only (3,0) and (4,0) end the game; a pair landing in row 0 elsewhere plays on; a pair
// spawned onto an occupied start cell can still move until the next tick ends the game.
TEST(GameOver, OnlyTheStartCellsEndTheGame) {
    for (int col = 0; col < nCol; ++col) {
        Harness h;
        h.game.ChooseMode(1);
        h.s().board(col, 0) = "9";
        h.game.GravityTick();
        EXPECT_EQ(h.st().playing, col != 3 && col != 4) << col;
    }
    Harness h;
    h.game.ChooseMode(1);
    for (int row = 1; row < nRow; ++row) h.s().board(1, row) = h.s().board(4, row) = std::to_string(row);
    h.SetPair(1, 0, "a", 0, 0, "b");
    h.game.GravityTick();  // lands in row 0, columns 0-1: play goes on
    EXPECT_EQ(h.st().board(0, 0) + h.st().board(1, 0), "ba");
    EXPECT_TRUE(h.st().playing);
    h.SetPair(4, 0, "c", 5, 0, "d");
    h.game.GravityTick();
    h.game.KeyDown(kKeyLeft);  // the new pair, spawned onto "c", still moves
    EXPECT_EQ(h.st().blkCol[0] * 10 + h.st().blkCol[1], 23);
    EXPECT_TRUE(h.st().playing);
    h.game.GravityTick();
    EXPECT_FALSE(h.st().playing);
}

// The fill blanks every cell in order, 8 ms apart, ignores keys and ticks, keeps the board
// and the figure, and hands the game over exactly once at its end.
TEST(GameOver, FillsCellByCellThenHandsOver) {
    Harness h;
    h.game.ChooseMode(4);
    h.s().score = 120;
    h.s().board(4, 0) = "12";
    h.game.KeyDown(kKeyDown);
    int steps = 0;
    for (; h.game.waiting().kind == Wait::Kind::Pause; ++steps) {
        EXPECT_EQ(Flags(h.game), "step t3 fig wait=pause8");
        EXPECT_TRUE(h.st().labRes[std::size_t(steps)].visible);
        if (steps + 1 < kCellCount) { EXPECT_FALSE(h.st().labRes[std::size_t(steps + 1)].visible); }
        h.game.KeyDown(kKeyLeft);
        h.game.GravityTick();
        EXPECT_TRUE(h.log.empty());
        h.game.Resume(h.game.waiting().serial);
    }
    EXPECT_EQ(steps, kCellCount);
    for (const CellLabel& label : h.st().labRes) EXPECT_TRUE(label.visible && label.caption.empty());
    EXPECT_EQ(h.st().board(4, 0) + " " + h.log.at(0), "12 ended 4 120");
    EXPECT_EQ(Flags(h.game), "step t3 fig");
}

// A stale continuation of an abandoned landing, milestone or fill must never run.
TEST(Abandon, NewGameDropsEveryWaitOfTheOldGame) {
    Harness h;
    h.game.ChooseMode(1);
    SetBoard(h.s(), {". . . 3 . . . .", ". . . 7 3 . . ."});
    h.SetPair(2, 13, "7", 2, 12, "9");
    h.game.GravityTick();
    unsigned stale = h.game.waiting().serial;
    h.game.ChooseMode(2);
    h.game.Resume(stale);
    EXPECT_EQ(Flags(h.game) + " " + h.st().label1, "play t1=2000 step pair t3 fig 0");
    for (const CellLabel& label : h.st().labRes) EXPECT_FALSE(label.visible || label.marked);
    EXPECT_EQ(h.log, Rows{"sound 104"});
    h.s().score = 1990;
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    stale = h.game.waiting().serial;
    h.game.Resume(stale + 1);
    h.game.Resume(stale - 1);
    EXPECT_EQ(h.game.waiting().serial, stale);
    h.game.ChooseMode(1);
    h.game.Resume(stale);
    EXPECT_EQ(h.st().picBoySet * 10 + h.st().picTboySet, 0);
    h.s().score = 1230;
    h.s().board(3, 0) = "4";
    h.game.GravityTick();
    for (int i = 0; i < 20; ++i) h.game.Resume(h.game.waiting().serial);
    stale = h.game.waiting().serial;
    h.log.clear();
    h.game.ChooseMode(5);  // the finished game is handed over first, and never twice
    h.game.Resume(stale);
    EXPECT_EQ(h.log, Rows{"ended 1 1230"});
    EXPECT_FALSE(h.st().labRes[25].visible);
}

struct FigureCase {
    const char* name;
    int c0, r0, c1, r1, left, top;  // top -1: in the banner
};
class Figure : public ::testing::TestWithParam<FigureCase> {};

// The figure stands above the pair's leftmost, highest cell, or in the banner near the top.
TEST_P(Figure, StandsOnThePairOrInTheBanner) {
    const FigureCase& c = GetParam();
    Harness h;
    h.game.ChooseMode(1);
    h.SetPair(c.c0, c.r0, "2", c.c1, c.r1, "3");
    h.game.AnimationTick();
    const FigureBox& box = h.st().picMove;
    EXPECT_EQ(h.st().picTboyVisible, c.top < 0);
    EXPECT_EQ(box.visible ? box.left * 1000 + box.top : -1, c.top < 0 ? -1 : c.left * 1000 + c.top);
}
INSTANTIATE_TEST_SUITE_P(Positions, Figure, ::testing::Values(
    FigureCase{"flat_row_5", 3, 5, 4, 5, 150, 148}, FigureCase{"rows_0_1", 3, 0, 3, 1, 0, -1},
    FigureCase{"rows_1_2", 3, 2, 3, 1, 0, -1}, FigureCase{"row_2_cell1_left", 5, 2, 4, 2, 200, 52},
    FigureCase{"bottom", 0, 13, 0, 12, 0, 372}), kCaseName);

// Frames alternate and face the last performed shift; a stopped timer draws nothing; the
// start-up set shows in the banner before any game; the switch acts at once.
TEST(Figure, FramesAlternateAndFaceTheLastShift) {
    Harness h;
    h.game.AnimationTick();
    EXPECT_EQ(h.st().picMoveImage.set, -1);
    h.game.ChooseAnimation(true);
    h.game.AnimationTick();
    EXPECT_EQ(h.st().picMoveImage.set * 10 + h.st().picTboyVisible, 1);
    h.game.ChooseMode(1);
    h.s().picBoySet = 3;
    std::string frames;
    for (int key : {0, 0, kKeyRight, 0, 0}) {
        if (key) h.game.KeyDown(key);
        else h.game.AnimationTick(), frames += std::to_string(h.st().picMoveImage.frame);
    }
    EXPECT_EQ(frames + std::to_string(h.st().picMoveImage.set), "10323");
    h.game.ChooseAnimation(false);
    h.game.AnimationTick();
    EXPECT_EQ(Flags(h.game) + " " + std::to_string(h.st().picMoveImage.frame), "play t1=2000 step pair 2");
    EXPECT_TRUE(h.st().dhwChecked && !h.st().dhyChecked);
    h.game.ChooseMode(2);
    h.game.ChooseAnimation(true);
    EXPECT_EQ(Flags(h.game), "play t1=2000 step pair t3 fig");
}

}  // namespace
}  // namespace numora::test
