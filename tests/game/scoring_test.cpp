// Scoring, speed, milestones, removal, drop and cascades.
#include "board_picture.h"

#include <gtest/gtest.h>

namespace numora::test {
namespace {

struct SpeedCase {
    std::int64_t score;
    int lvlBonus;
    int interval;
};

class Speed : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(Speed, IntervalFollowsScorePlusLevel) {
    EXPECT_EQ(Game::SpeedInterval(GetParam().score, GetParam().lvlBonus), GetParam().interval);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, Speed,
    ::testing::Values(SpeedCase{0, 0, 2000}, SpeedCase{999, 0, 2000}, SpeedCase{1000, 0, 1800},
                      SpeedCase{2999, 0, 1600}, SpeedCase{3000, 0, 1400}, SpeedCase{8999, 0, 400},
                      SpeedCase{9000, 0, 200}, SpeedCase{250000, 0, 200},
                      SpeedCase{0, 3000, 1400}, SpeedCase{1000, 3000, 1200},
                      SpeedCase{3999, 3000, 800}, SpeedCase{6000, 3000, 200},
                      SpeedCase{7000, 3000, 200}, SpeedCase{0, 6000, 800},
                      SpeedCase{2000, 6000, 400}, SpeedCase{3000, 6000, 200}));

// A board whose landing (cell 0 "7" beside a settled "7") removes a pair of cells and,
// after the drop, lets two "3"s meet: one cascade level.
class Cascade : public ::testing::Test {
protected:
    void SetUp() override {
        h.game.ChooseMode(1);
        SetBoard(h.s(), {". . . 3 . . . .",  //
                         ". . . 7 3 . . ."});
        h.SetPair(2, 13, "7", 2, 12, "9");
    }
    Harness h;
};

TEST_F(Cascade, SecondGroupScoresWithTheGrownGroupCount) {
    h.game.GravityTick();
    EXPECT_EQ(h.game.state().score, 30);
    h.game.Resume(h.game.waiting().serial);  // first removal, then the rescan marks the 3s
    EXPECT_EQ(BoardRows(h.game.state(), 13), std::vector<std::string>{". . 9 -1 -1 . . ."});
    EXPECT_EQ(h.game.state().score, 80);  // 30 + 10 + 20 x 2
    EXPECT_EQ(h.game.waiting().kind, Wait::Kind::Pause);
    EXPECT_FALSE(h.game.state().canStep);
    h.Settle();
    const GameState& s = h.game.state();
    EXPECT_EQ(BoardRows(s, 12), (std::vector<std::string>{". . . . . . . .", ". . 9 . . . . ."}));
    EXPECT_TRUE(s.canStep);
    EXPECT_TRUE(s.timer1.enabled);
    EXPECT_TRUE(s.labBVisible);
    EXPECT_EQ(s.blkRow[0], 0);
    EXPECT_EQ(h.log, std::vector<std::string>{"sound 104"});
    for (const CellLabel& label : s.labRes) EXPECT_FALSE(label.marked);
    EXPECT_EQ(s.labRes[static_cast<std::size_t>(CellIndex(2, 13))].caption, "9");
}

TEST_F(Cascade, DownIsRefusedWhileTheCascadeWaitsButSidewaysKeysMoveTheLandedCoordinates) {
    h.game.GravityTick();
    h.game.KeyDown(kKeyDown);
    EXPECT_EQ(h.game.state().blkRow[0], 13);
    EXPECT_EQ(h.game.state().board(2, 12), "9");  // no second tick ran
    h.game.KeyDown(kKeyLeft);
    EXPECT_EQ(h.game.state().blkCol[0], 1);
    EXPECT_EQ(h.game.state().board(1, 13), "");  // the board is not touched
    h.Settle();
    EXPECT_EQ(h.game.state().blkCol[0], 3);  // the spawn resets them
}

TEST_F(Cascade, MilestoneInsideTheCascadeCutsInBeforeTheRemovalPause) {
    h.s().score = 1960;
    h.game.GravityTick();  // 1990: no milestone yet
    EXPECT_EQ(h.game.waiting().kind, Wait::Kind::Pause);
    h.game.Resume(h.game.waiting().serial);  // the rescan's group reaches 2040
    EXPECT_EQ(h.log, (std::vector<std::string>{"sound 104", "sound 106 wait"}));
    ASSERT_EQ(h.game.waiting().kind, Wait::Kind::Sound);
    EXPECT_EQ(h.game.state().stage, 1);
    EXPECT_EQ(h.game.state().picBoySet, 0);  // pictures change after the sound
    EXPECT_EQ(h.game.state().label1, "1990");
    // The game stands still meanwhile.
    h.s().timer3.enabled = true;
    const int frame = h.game.state().picMoveImage.set;
    h.game.AnimationTick();
    EXPECT_EQ(h.game.state().picMoveImage.set, frame);
    h.game.KeyDown(kKeyLeft);
    EXPECT_EQ(h.game.state().blkCol[0], 2);

    h.game.Resume(h.game.waiting().serial);
    EXPECT_EQ(h.game.state().picBoySet, 1);
    EXPECT_EQ(h.game.state().picTboySet, 1);
    EXPECT_EQ(h.game.state().label1, "2040");
    EXPECT_EQ(h.game.waiting().kind, Wait::Kind::Pause);  // then the removal pause
}

TEST(Milestone, InTheLandingsOwnMatchingComesBeforeTheLandingSound) {
    Harness h;
    h.game.ChooseMode(1);
    h.s().score = 1990;
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    EXPECT_EQ(h.log, std::vector<std::string>{"sound 106 wait"});
    EXPECT_EQ(h.game.state().stage, 1);
    h.game.Resume(h.game.waiting().serial);
    EXPECT_EQ(h.log, (std::vector<std::string>{"sound 106 wait", "sound 104"}));
    EXPECT_EQ(h.game.state().picBoySet, 1);
    EXPECT_EQ(h.game.state().score, 2020);
}

TEST(Milestone, OnePerScoringStepAndPicturesStopAtSetFour) {
    Harness h;
    h.game.ChooseMode(1);
    auto landGroup = [&h] {
        h.PrepareGroupOfTwo();
        h.game.GravityTick();
        h.Settle();
    };
    h.s().score = 3990;  // two multiples of 2000 passed by one step of 30
    landGroup();
    EXPECT_EQ(h.game.state().stage, 1);
    landGroup();
    EXPECT_EQ(h.game.state().stage, 2);
    EXPECT_EQ(h.game.state().picBoySet, 2);

    h.s().score = 11990;
    h.s().stage = 5;
    h.s().picBoySet = h.s().picTboySet = 4;
    h.log.clear();
    landGroup();
    EXPECT_EQ(h.game.state().stage, 6);
    EXPECT_EQ(h.log.front(), "sound 106 wait");  // the sound still plays
    EXPECT_EQ(h.game.state().picBoySet, 4);
    EXPECT_EQ(h.game.state().picTboySet, 4);
}

TEST(Removal, VerticalGroupUnderAStackDropsItTwice) {
    Harness h;
    h.game.ChooseMode(1);
    // Column 0 holds a stack 1,2,3 on a vertical pair of 5s left by an earlier turn; a
    // landing elsewhere starts the removal, whose rescan finds the 5s.
    SetBoard(h.s(), {"1 . . . . . . .", "2 . . . . . . .", "3 . . . . . . .",
                     "5 . . . . . . .", "5 . . . . . . .", "8 . . . . . . .",
                     "9 . . . . . 4 ."});
    h.SetPair(7, 13, "4", 7, 12, "6");
    h.game.GravityTick();
    h.Settle();
    EXPECT_EQ(BoardRows(h.game.state(), 8),
              (std::vector<std::string>{". . . . . . . .", "1 . . . . . . .",
                                        "2 . . . . . . .", "3 . . . . . . .",
                                        "8 . . . . . . .", "9 . . . . . . 6"}));
}

TEST(Removal, HalfSupportedCellsKeepTheirGapAndColumnsDropApart) {
    Harness h;
    h.game.ChooseMode(1);
    SetBoard(h.s(), {". 2 . 8 . 6 . .",  //
                     ". 9 . 1 . . . .",  //
                     ". 4 . 4 4 4 . ."});
    h.SetPair(2, 13, "4", 2, 12, "7");  // lands between: a row of five 4s
    h.game.GravityTick();
    h.Settle();
    EXPECT_EQ(BoardRows(h.game.state(), 11),
              (std::vector<std::string>{". . . . . . . .", ". 2 . 8 . 6 . .",
                                        ". 9 7 1 . . . ."}));
    EXPECT_EQ(h.game.state().score, 10 * 16 + 20 * 4);
}

TEST(Scoring, ScoreNeverWraps) {
    Harness h;
    h.game.ChooseMode(1);
    h.s().score = 2147483600;  // just under 2^31
    h.s().stage = 1073741800;
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    h.Settle();
    EXPECT_EQ(h.game.state().score, 2147483630);
    h.game.GravityTick();
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    h.Settle();
    EXPECT_EQ(h.game.state().score, 2147483660);
    EXPECT_EQ(h.game.state().label1, "2147483660");
}

TEST(Level, ChosenMidGameActsAtOnceAndAgainAfterARemoval) {
    Harness h;
    h.game.ChooseMode(1);
    const unsigned starts = h.game.state().timer1.starts;
    h.game.ChooseLevel(3);
    EXPECT_EQ(h.game.state().timer1.interval, 800);
    EXPECT_GT(h.game.state().timer1.starts, starts);  // the next tick at the new interval
    h.s().score = 3500;
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    EXPECT_EQ(h.game.state().timer1.interval, 200);  // 3530 + 6000: step 9
}

TEST(Level, NewGameStartsAtTwoSecondsAndTheLevelReturnsWithTheFirstRemoval) {
    Harness h;
    h.game.ChooseLevel(3);
    EXPECT_FALSE(h.game.state().timer1.enabled);
    h.game.ChooseMode(2);
    EXPECT_EQ(h.game.state().timer1.interval, 2000);
    EXPECT_EQ(h.game.state().lvlBonus, 6000);
    h.PrepareGroupOfTwo();
    h.game.GravityTick();
    EXPECT_EQ(h.game.state().timer1.interval, 800);
}

TEST(Level, OnlyTheLastChoiceIsChecked) {
    Harness h;
    EXPECT_EQ(h.game.state().checkedLevel, 0);
    h.game.ChooseLevel(2);
    h.game.ChooseLevel(1);
    EXPECT_EQ(h.game.state().checkedLevel, 1);
    EXPECT_EQ(h.game.state().lvlBonus, 0);
    EXPECT_EQ(h.game.state().timer1.interval, 2000);
}

TEST(Scoring, LandingWithoutGroupChangesNothing) {
    Harness h;
    h.game.ChooseLevel(3);
    h.game.ChooseMode(1);
    h.s().score = 500;
    h.s().label1 = "500";
    h.SetPair(3, 13, "2", 4, 13, "3");
    h.game.GravityTick();
    EXPECT_EQ(h.game.state().score, 500);
    EXPECT_EQ(h.game.state().timer1.interval, 2000);
    EXPECT_EQ(h.game.state().label1, "500");
}

}  // namespace
}  // namespace numora::test
