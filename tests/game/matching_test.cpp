// The search for equal results in line with the landed cells, seen at the moment the
// marked cells wait in MarkColour for their removal.
#include "board_picture.h"

#include <gtest/gtest.h>

namespace numora::test {
namespace {

struct MatchCase {
    const char* name;
    std::vector<std::string> rows12and13;  // the settled cells before the landing
    int c0, r0;
    const char* res0;
    int c1, r1;
    const char* res1;
    std::vector<std::string> marked;  // rows 12 and 13 right after the landing
    std::int64_t groupN;
    std::int64_t score;
};

class Matching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matching, MarksTheCrossAndScoresIt) {
    const MatchCase& c = GetParam();
    Harness h;
    h.game.ChooseMode(1);
    SetBoard(h.s(), {c.rows12and13[0], c.rows12and13[1]});
    h.SetPair(c.c0, c.r0, c.res0, c.c1, c.r1, c.res1);
    h.game.GravityTick();

    const GameState& s = h.game.state();
    EXPECT_EQ(BoardRows(s, 12), c.marked);
    EXPECT_EQ(s.groupN, c.groupN);
    EXPECT_EQ(s.score, c.score);
    EXPECT_EQ(s.label1, std::to_string(c.score));
    // Labels: marked exactly where the board holds the mark; landed cells show results.
    for (int row = 12; row < nRow; ++row)
        for (int col = 0; col < nCol; ++col) {
            const CellLabel& label = s.labRes[static_cast<std::size_t>(CellIndex(col, row))];
            EXPECT_EQ(label.marked, s.board(col, row) == kRemovalMark) << col << "," << row;
            EXPECT_EQ(label.visible, !s.board.Empty(col, row)) << col << "," << row;
        }
    if (c.score == 0) {
        // Nothing found: no sound, no pause, the next pair is already falling.
        EXPECT_TRUE(h.log.empty());
        EXPECT_EQ(h.game.waiting().kind, Wait::Kind::None);
        EXPECT_FALSE(s.removed);
        EXPECT_TRUE(s.timer1.enabled);
    } else {
        EXPECT_EQ(h.log, std::vector<std::string>{"sound 104"});
        EXPECT_EQ(h.game.waiting().kind, Wait::Kind::Pause);
        EXPECT_EQ(h.game.waiting().ms, 100);
        EXPECT_FALSE(s.canStep);
        EXPECT_FALSE(s.timer1.enabled);
        EXPECT_FALSE(s.labBVisible);
    }
}

const char* kEmpty = ". . . . . . . .";

INSTANTIATE_TEST_SUITE_P(
    Crosses, Matching,
    ::testing::Values(
        MatchCase{"equal_right_neighbour", {kEmpty, ". . . . . 7 . ."}, 4, 13, "7", 4, 12, "5",
                  {". . . . 5 . . .", ". . . . -1 -1 . ."}, 1, 30},
        MatchCase{"origin_in_the_middle", {kEmpty, ". . . 7 . 7 . ."}, 4, 13, "7", 4, 12, "5",
                  {". . . . 5 . . .", ". . . -1 -1 -1 . ."}, 2, 80},
        MatchCase{"L_origin_at_an_end", {". . . . . 7 . .", ". . . . . 7 . ."}, 4, 13, "7",
                  4, 12, "5", {". . . . 5 7 . .", ". . . . -1 -1 . ."}, 1, 30},
        MatchCase{"L_origin_at_the_corner", {kEmpty, ". . . . . 7 . ."}, 4, 13, "7", 4, 12,
                  "7", {". . . . -1 . . .", ". . . . -1 -1 . ."}, 2, 80},
        MatchCase{"gap_stops_the_run", {kEmpty, ". . . . . . 7 ."}, 4, 13, "7", 4, 12, "5",
                  {". . . . 5 . . .", ". . . . 7 . 7 ."}, 0, 0},
        MatchCase{"different_stops_the_run", {kEmpty, ". . . . . 3 7 ."}, 4, 13, "7", 4, 12,
                  "5", {". . . . 5 . . .", ". . . . 7 3 7 ."}, 0, 0},
        MatchCase{"diagonal_never", {". . . . . 7 . .", kEmpty}, 4, 13, "7", 4, 12, "5",
                  {". . . . 5 7 . .", ". . . . 7 . . ."}, 0, 0},
        MatchCase{"ten_is_not_one", {kEmpty, ". . . . . 1 . ."}, 4, 13, "10", 4, 12, "5",
                  {". . . . 5 . . .", ". . . . 10 1 . ."}, 0, 0},
        MatchCase{"both_landed_equal_only", {kEmpty, kEmpty}, 3, 13, "4", 4, 13, "4",
                  {kEmpty, ". . . -1 -1 . . ."}, 1, 30},
        MatchCase{"second_call_scores_its_own_group", {". . . . 7 . . .", kEmpty}, 3, 13, "7",
                  4, 13, "7", {". . . . -1 . . .", ". . . -1 -1 . . ."}, 2, 80},
        MatchCase{"run_reaches_the_left_edge", {kEmpty, "7 7 7 7 7 7 7 ."}, 7, 13, "7", 7, 12,
                  "5", {". . . . . . . 5", "-1 -1 -1 -1 -1 -1 -1 -1"}, 7, 630},
        MatchCase{"run_reaches_the_right_edge", {kEmpty, ". 3 3 3 3 3 3 3"}, 0, 13, "3", 0, 12,
                  "5", {"5 . . . . . . .", "-1 -1 -1 -1 -1 -1 -1 -1"}, 7, 630}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MatchingColumn, UpRunFindsTheWholeColumnAbove) {
    Harness h;
    h.game.ChooseMode(1);
    // A tall column of 6s with the pair landing on its side, equal to the top.
    GameState& s = h.s();
    for (int row = 1; row < nRow; ++row) s.board(0, row) = "6";
    s.board(1, nRow - 1) = "2";
    h.SetPair(1, 12, "6", 2, 12, "8");  // cell 0 lands on the "2", beside the column
    h.game.GravityTick();
    // Cell 0's left run finds (0,12) only: a cross, not a flood.
    EXPECT_EQ(s.groupN, 1);
    EXPECT_EQ(s.board(0, 11), "6");
    EXPECT_EQ(s.board(0, 12), kRemovalMark);
}

}  // namespace
}  // namespace numora::test
