// The rules as tables: keys and falls, crosses, speed and the equation lists.
#include "game_test_support.h"

namespace numora::test {

struct KeyCase {
    const char* name;
    std::vector<std::pair<int, int>> settled;  // cells holding "9"
    std::array<int, 4> before;  // c0 r0 c1 r1
    int key;                    // an arrow's code, or 0 for a gravity tick
    const char* after;          // as Show says; a landed pair is followed by the next at (3,0)(4,0)
    int facing;   // boyFrame after: a performed shift turns the figure, a spawn faces left
};

class Keys : public ::testing::TestWithParam<KeyCase> {};

// Each row is the fault of turning, shifting or falling the wrong way, through a wall or a
// cell, or of stopping on air.
TEST_P(Keys, MoveTurnOrFallAsTheRulesSay) {
    const KeyCase& c = GetParam();
    Harness h;
    h.Play("1");
    for (auto [col, row] : c.settled) h.s().board(col, row) = "9";
    h.SetPair(c.before[0], c.before[1], "2", c.before[2], c.before[3], "3");
    h.s().boyFrame = 1;
    c.key ? h.game.KeyDown(c.key) : h.game.GravityTick();
    EXPECT_EQ(h.Show("pair"), std::string("pair=") + c.after);
    EXPECT_EQ(h.st().boyFrame, c.facing);
}

INSTANTIATE_TEST_SUITE_P(TurnsAndShifts, Keys, ::testing::Values(
    KeyCase{"A2_first_turn_after_spawn", {}, {3, 0, 4, 0}, kKeyUp, "3,1 3,0", 1},
    KeyCase{"A2_blocked_below_cell0", {{3, 1}}, {3, 0, 4, 0}, kKeyUp, "3,0 4,0", 1},
    KeyCase{"A1_left_to_below", {}, {4, 5, 3, 5}, kKeyUp, "4,5 4,6", 1},
    KeyCase{"B1_below_to_right", {}, {3, 5, 3, 6}, kKeyUp, "3,5 4,5", 1},
    KeyCase{"B1_from_column_6", {}, {6, 5, 6, 6}, kKeyUp, "6,5 7,5", 1},
    KeyCase{"B1_at_right_wall", {}, {7, 5, 7, 6}, kKeyUp, "7,5 7,6", 1},
    KeyCase{"B2_above_to_left", {}, {3, 5, 3, 4}, kKeyUp, "3,5 2,5", 1},
    KeyCase{"B2_from_column_1", {}, {1, 5, 1, 4}, kKeyUp, "1,5 0,5", 1},
    KeyCase{"B2_at_left_wall", {}, {0, 5, 0, 4}, kKeyUp, "0,5 0,4", 1},
    KeyCase{"B2_blocked_by_cell", {{2, 5}}, {3, 5, 3, 4}, kKeyUp, "3,5 3,4", 1},
    KeyCase{"flat_in_bottom_row_never_turns", {}, {3, 13, 4, 13}, kKeyUp, "3,13 4,13", 1},
    KeyCase{"left", {}, {3, 5, 4, 5}, kKeyLeft, "2,5 3,5", 0},
    KeyCase{"left_from_column_1", {}, {1, 5, 2, 5}, kKeyLeft, "0,5 1,5", 0},
    KeyCase{"left_upright_from_column_1", {}, {1, 5, 1, 6}, kKeyLeft, "0,5 0,6", 0},
    KeyCase{"left_at_wall", {}, {0, 5, 1, 5}, kKeyLeft, "0,5 1,5", 1},
    KeyCase{"left_blocked_by_lower", {{2, 6}}, {3, 5, 3, 6}, kKeyLeft, "3,5 3,6", 1},
    KeyCase{"left_blocked_at_cell0", {{2, 5}}, {3, 5, 3, 4}, kKeyLeft, "3,5 3,4", 1},
    KeyCase{"right", {}, {3, 5, 4, 5}, kKeyRight, "4,5 5,5", 2},
    KeyCase{"right_from_column_6", {}, {5, 5, 6, 5}, kKeyRight, "6,5 7,5", 2},
    KeyCase{"right_upright_from_column_6", {}, {6, 5, 6, 4}, kKeyRight, "7,5 7,4", 2},
    KeyCase{"right_at_wall", {}, {6, 5, 7, 5}, kKeyRight, "6,5 7,5", 1},
    KeyCase{"right_blocked_by_upper", {{4, 4}}, {3, 5, 3, 4}, kKeyRight, "3,5 3,4", 1},
    KeyCase{"right_blocked_at_cell0", {{4, 5}}, {3, 5, 3, 4}, kKeyRight, "3,5 3,4", 1},
    KeyCase{"other_keys_do_nothing", {}, {3, 5, 4, 5}, 65, "3,5 4,5", 1},
    KeyCase{"flat_falls", {}, {3, 5, 4, 5}, 0, "3,6 4,6", 1},
    KeyCase{"flat_cell0_supported_other_hangs", {{3, 6}}, {3, 5, 4, 5}, 0, "3,0 4,0", 0},
    KeyCase{"flat_cell1_supported", {{4, 6}}, {3, 5, 4, 5}, 0, "3,0 4,0", 0},
    KeyCase{"flat_bottom_row", {}, {3, 13, 4, 13}, 0, "3,0 4,0", 0},
    KeyCase{"upright_falls", {}, {3, 5, 3, 6}, 0, "3,6 3,7", 1},
    KeyCase{"upright_lower_supported", {{3, 7}}, {3, 5, 3, 6}, 0, "3,0 4,0", 0},
    KeyCase{"upright_cell0_lower_supported", {{3, 7}}, {3, 6, 3, 5}, 0, "3,0 4,0", 0},
    KeyCase{"upright_bottom_row", {}, {3, 12, 3, 13}, 0, "3,0 4,0", 0},
    KeyCase{"upright_cell0_at_bottom", {}, {3, 13, 3, 12}, 0, "3,0 4,0", 0},
    KeyCase{"upright_side_cells_do_not_hold", {{2, 7}, {4, 7}}, {3, 5, 3, 6}, 0, "3,6 3,7", 1}), kCaseName);

// A run that went on past the first different cell would flood the column; a cell in the top
// row must drop like any other (here twice, the second time in the cascade of four 6s).
TEST(Crosses, UpRunStopsAtTheFirstDifferentCellAndTheTopRowDrops) {
    Harness h;
    h.Play("1");
    for (int row = 0; row < nRow - 1; ++row) h.s().board(0, row) = row == 0 ? "20" : row == 5 ? "2" : "6";
    h.SetPair(0, 13, "6", 1, 13, "8");
    h.Play("T");
    EXPECT_EQ(h.Show("score row4 row6"), "score=630 630 g7|row4=6 . . . . . . .|row6=-1 . . . . . . .");
    h.Play("S");
    EXPECT_EQ(h.Show("row0 row11 row12 row13"), "row0=. . . . . . . .|row11=. . . . . . . .|row12=20 . . . . . . .|row13=2 8 . . . . . .");
}

// Wrong step size, wrong cap, or a level that adds the wrong bonus: score, level → ms.
TEST(Speed, IntervalFollowsScorePlusLevel) {
    std::string got;
    for (auto [score, level] : std::vector<std::pair<std::int64_t, int>>{{0, 1}, {999, 1}, {1000, 1}, {2999, 1}, {8999, 1}, {9000, 1},
             {250000, 1}, {0, 2}, {3999, 2}, {6000, 2}, {0, 3}, {2999, 3}, {3000, 3}, {0, 4}})
        got += std::to_string(Game::SpeedInterval(score, Game::LevelBonus(level))) + " ";
    EXPECT_EQ(got, "2000 2000 1800 1600 400 200 200 1400 800 200 800 400 200 2000 ");
}

struct ListCase {
    const char* name;
    int mode, count;
    const char *first, *last, *neverDealt;
};
class Lists : public ::testing::TestWithParam<ListCase> {};

// A wrong generator rule, a last item dealt, or a result that is not the sum.
TEST_P(Lists, DealAllButTheLastItemAndEveryResultIsRight) {
    const ListCase& c = GetParam();
    EquationTable t;
    LoadEquations(EquationList(c.mode), t);
    ASSERT_EQ(t.eqCount, c.count);
    EXPECT_EQ(t.eqText[0] + "=" + t.eqRes[0], c.first);
    EXPECT_EQ(t.eqText[std::size_t(c.count - 1)] + "=" + t.eqRes[std::size_t(c.count - 1)], c.last);
    EXPECT_TRUE(EquationList(c.mode).ends_with(std::string(",") + c.neverDealt));
    for (int k = 0; k < c.count; ++k) {
        const std::string& text = t.eqText[std::size_t(k)];
        const std::size_t op = text.find_first_of("+-");
        const int a = std::stoi(text.substr(0, op)), b = std::stoi(text.substr(op + 1));
        EXPECT_EQ(std::to_string(text[op] == '+' ? a + b : a - b), t.eqRes[std::size_t(k)]) << text;
    }
}
INSTANTIATE_TEST_SUITE_P(Modes, Lists, ::testing::Values(
    ListCase{"demo", 1, 14, "1+1=2", "6-1=5", "8-2=6"},
    ListCase{"add10", 2, 44, "1+1=2", "8+2=10", "9+1=10"},
    ListCase{"sub10", 3, 44, "10-1=9", "3-2=1", "2-1=1"},
    ListCase{"add20", 4, 35, "2+9=11", "9+8=17", "9+9=18"},
    ListCase{"sub20", 5, 35, "11-2=9", "17-9=8", "18-9=9"}), kCaseName);

// The demo list is written by hand; long texts break after 8 characters; a list without a
// trailing comma deals nothing; more than 101 items are cut at the table's capacity.
TEST(Lists, DemoListLineBreaksAndCapacity) {
    EXPECT_EQ(EquationList(1), "1+1=2,1+2=3,2+2=4,2+3=5,3+3=6,3+4=7,4+4=8,4+5=9,5+5=10,9-1=8,"
                               "9-7=2,5-2=3,8-4=4,6-1=5,8-2=6");
    EquationTable t;
    LoadEquations("12345678901=123456789,12345678=12345678,x=1", t);
    ASSERT_EQ(t.eqCount, 2);
    EXPECT_EQ(t.eqText[0] + "|" + t.eqRes[0], "12345678\r901|12345678\r9");
    EXPECT_EQ(t.eqText[1] + "|" + t.eqRes[1], "12345678|12345678");
    LoadEquations("1+1=2", t);
    EXPECT_EQ(t.eqCount, 0);
    std::string many;
    for (int k = 0; k < 150; ++k) many += "1+1=2,";
    LoadEquations(many, t);
    EXPECT_EQ(t.eqCount, 101);  // eqText(0..100)
}

}  // namespace numora::test
