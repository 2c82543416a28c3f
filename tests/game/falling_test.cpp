#include "board_picture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace numora::test {
namespace {

struct Cell {
    int col, row;
};
struct Pair {
    int c0, r0, c1, r1;
    bool operator==(const Pair&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Pair& p) {
    return out << "(" << p.c0 << "," << p.r0 << ")(" << p.c1 << "," << p.r1 << ")";
}

Pair PairOf(const GameState& s) { return {s.blkCol[0], s.blkRow[0], s.blkCol[1], s.blkRow[1]}; }

class Playing : public ::testing::Test {
protected:
    void SetUp() override { h.game.ChooseMode(1); }
    void Place(const Pair& p) { h.SetPair(p.c0, p.r0, "2", p.c1, p.r1, "3"); }
    void Occupy(const std::vector<Cell>& cells) {
        for (const Cell& c : cells) h.s().board(c.col, c.row) = "9";
    }
    Harness h;
};

struct MoveCase {
    const char* name;
    std::vector<Cell> settled;
    Pair before;
    int key;
    Pair after;
};

class Moves : public Playing, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(Moves, KeyMovesOrTurnsThePairAsTheRulesSay) {
    const MoveCase& c = GetParam();
    Occupy(c.settled);
    Place(c.before);
    h.game.KeyDown(c.key);
    EXPECT_EQ(PairOf(h.game.state()), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    TurnsAndShifts, Moves,
    ::testing::Values(
        // Turning: cell 1 goes a quarter turn counter-clockwise around cell 0.
        MoveCase{"A2_first_turn_after_spawn", {}, {3, 0, 4, 0}, kKeyUp, {3, 1, 3, 0}},
        MoveCase{"A2_blocked_below_cell0", {{3, 1}}, {3, 0, 4, 0}, kKeyUp, {3, 0, 4, 0}},
        MoveCase{"A1_left_to_below", {}, {4, 5, 3, 5}, kKeyUp, {4, 5, 4, 6}},
        MoveCase{"A1_blocked", {{4, 6}}, {4, 5, 3, 5}, kKeyUp, {4, 5, 3, 5}},
        MoveCase{"B1_below_to_right", {}, {3, 5, 3, 6}, kKeyUp, {3, 5, 4, 5}},
        MoveCase{"B1_at_right_wall", {}, {7, 5, 7, 6}, kKeyUp, {7, 5, 7, 6}},
        MoveCase{"B1_blocked_by_cell", {{4, 5}}, {3, 5, 3, 6}, kKeyUp, {3, 5, 3, 6}},
        MoveCase{"B2_above_to_left_sinks", {}, {3, 5, 3, 4}, kKeyUp, {3, 5, 2, 5}},
        MoveCase{"B2_at_left_wall", {}, {0, 5, 0, 4}, kKeyUp, {0, 5, 0, 4}},
        MoveCase{"B2_blocked_by_cell", {{2, 5}}, {3, 5, 3, 4}, kKeyUp, {3, 5, 3, 4}},
        MoveCase{"flat_in_bottom_row_never_turns", {}, {3, 13, 4, 13}, kKeyUp, {3, 13, 4, 13}},
        MoveCase{"flat_left_in_bottom_row", {}, {4, 13, 3, 13}, kKeyUp, {4, 13, 3, 13}},
        // Shifting: both cells or neither.
        MoveCase{"left_at_wall", {}, {0, 5, 1, 5}, kKeyLeft, {0, 5, 1, 5}},
        MoveCase{"right_at_wall", {}, {6, 5, 7, 5}, kKeyRight, {6, 5, 7, 5}},
        MoveCase{"flat_left_reads_own_square_free", {}, {4, 5, 3, 5}, kKeyLeft, {3, 5, 2, 5}},
        MoveCase{"flat_right", {}, {3, 5, 4, 5}, kKeyRight, {4, 5, 5, 5}},
        MoveCase{"upright_left_blocked_by_lower", {{2, 6}}, {3, 5, 3, 6}, kKeyLeft, {3, 5, 3, 6}},
        MoveCase{"upright_right_blocked_by_upper", {{4, 4}}, {3, 5, 3, 4}, kKeyRight, {3, 5, 3, 4}},
        MoveCase{"flat_right_blocked", {{5, 5}}, {3, 5, 4, 5}, kKeyRight, {3, 5, 4, 5}},
        MoveCase{"other_keys_change_nothing", {}, {3, 5, 4, 5}, 65, {3, 5, 4, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Playing, FourTurnsBringTheShapeBackOneRowLower) {
    Place({3, 5, 4, 5});
    for (int i = 0; i < 4; ++i) h.game.KeyDown(kKeyUp);
    EXPECT_EQ(PairOf(h.game.state()), (Pair{3, 6, 4, 6}));
}

TEST_F(Playing, FacingChangesOnlyWithAPerformedMove) {
    Place({3, 5, 4, 5});
    h.game.KeyDown(kKeyRight);
    EXPECT_EQ(h.game.state().boyFrame, 2);
    Place({0, 5, 1, 5});
    h.game.KeyDown(kKeyLeft);  // blocked by the wall
    EXPECT_EQ(h.game.state().boyFrame, 2);
    Place({3, 5, 4, 5});
    h.game.KeyDown(kKeyLeft);
    EXPECT_EQ(h.game.state().boyFrame, 0);
}

TEST(Keys, DoNothingBeforeTheFirstGame) {
    Harness h;
    h.SetPair(3, 5, "2", 4, 5, "3");
    for (int key : {kKeyLeft, kKeyRight, kKeyUp, kKeyDown}) h.game.KeyDown(key);
    EXPECT_EQ(PairOf(h.game.state()), (Pair{3, 5, 4, 5}));
    EXPECT_TRUE(h.game.state().board.Empty(3, 5));
}

struct FallCase {
    const char* name;
    std::vector<Cell> settled;
    Pair pair;
    bool falls;
};

class Falls : public Playing, public ::testing::WithParamInterface<FallCase> {};

TEST_P(Falls, TickMovesDownOrLands) {
    const FallCase& c = GetParam();
    Occupy(c.settled);
    Place(c.pair);
    h.game.GravityTick();
    const GameState& s = h.game.state();
    if (c.falls) {
        EXPECT_EQ(PairOf(s), (Pair{c.pair.c0, c.pair.r0 + 1, c.pair.c1, c.pair.r1 + 1}));
        EXPECT_TRUE(s.board.Empty(c.pair.c0, c.pair.r0));
    } else {
        // Landed where it stood; the next pair is at the start cells.
        EXPECT_EQ(s.board(c.pair.c0, c.pair.r0), "2");
        EXPECT_EQ(s.board(c.pair.c1, c.pair.r1), "3");
        EXPECT_EQ(PairOf(s), (Pair{3, 0, 4, 0}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    TestFall, Falls,
    ::testing::Values(FallCase{"flat_free", {}, {3, 5, 4, 5}, true},
                      FallCase{"flat_one_cell_supported", {{3, 6}}, {3, 5, 4, 5}, false},
                      FallCase{"flat_other_cell_supported", {{4, 6}}, {3, 5, 4, 5}, false},
                      FallCase{"flat_bottom_row", {}, {3, 13, 4, 13}, false},
                      FallCase{"upright_free", {}, {3, 5, 3, 6}, true},
                      FallCase{"upright_lower_supported", {{3, 7}}, {3, 5, 3, 6}, false},
                      FallCase{"upright_cell0_lower_supported", {{3, 7}}, {3, 6, 3, 5}, false},
                      FallCase{"upright_bottom_row", {}, {3, 12, 3, 13}, false},
                      FallCase{"upright_side_cells_do_not_hold", {{2, 7}, {4, 7}}, {3, 5, 3, 6}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Playing, HalfSupportedFlatPairKeepsItsGap) {
    Occupy({{3, 13}});
    Place({3, 12, 4, 12});
    h.game.GravityTick();
    EXPECT_EQ(h.game.state().board(4, 12), "3");
    EXPECT_TRUE(h.game.state().board.Empty(4, 13));
}

TEST_F(Playing, RestingPairCanStillBeMovedOffItsSupport) {
    Occupy({{3, 6}, {4, 6}});
    Place({3, 5, 4, 5});
    h.game.KeyDown(kKeyRight);
    h.game.KeyDown(kKeyRight);
    h.game.GravityTick();
    EXPECT_EQ(PairOf(h.game.state()), (Pair{5, 6, 6, 6}));
}

TEST_F(Playing, DownOnARestingPairLandsItAndSpawnsAtOnce) {
    Occupy({{3, 6}});
    Place({3, 5, 4, 5});
    const unsigned starts = h.game.state().timer1.starts;
    h.game.KeyDown(kKeyDown);
    const GameState& s = h.game.state();
    EXPECT_EQ(s.board(3, 5), "2");
    EXPECT_EQ(PairOf(s), (Pair{3, 0, 4, 0}));
    EXPECT_TRUE(s.labBVisible);
    EXPECT_TRUE(s.timer1.enabled);
    EXPECT_GT(s.timer1.starts, starts);  // the next tick is a full interval away
}

TEST_F(Playing, DownThatOnlyMovesKeepsTheTimersSchedule) {
    Place({3, 5, 4, 5});
    const unsigned starts = h.game.state().timer1.starts;
    h.game.KeyDown(kKeyDown);
    EXPECT_EQ(PairOf(h.game.state()), (Pair{3, 6, 4, 6}));
    EXPECT_EQ(h.game.state().timer1.starts, starts);
}

}  // namespace
}  // namespace numora::test
