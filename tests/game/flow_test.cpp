// A game from its start to its hand-over as scripts (see Harness::Play) read back as text.
#include "game_test_support.h"

#include <set>

namespace numora::test {

class Flow : public ::testing::TestWithParam<Scenario> {};

TEST_P(Flow, ScriptEndsAsTheRulesSay) {
    const Scenario& c = GetParam();
    Harness h;
    const auto bar = c.script.find('|');
    h.Play(bar == std::string::npos ? "1" : c.script.substr(0, bar));
    h.game.SetUp(SituationOf(c));
    h.Play(bar == std::string::npos ? c.script : c.script.substr(bar + 1));
    std::string got;
    for (const std::string& want : Split(c.want, '|')) {
        const std::string key = want.substr(0, want.find('='));
        got += (got.empty() ? "" : "|") + key + "=" + h.Show(key);
    }
    EXPECT_EQ(got, c.want);
}

INSTANTIATE_TEST_SUITE_P(Scripts, Flow, ::testing::ValuesIn(Table(R"(
# A new game that keeps the old board, score, check mark or figure place; bad modes taken.
new_game_clears ; 1 2 3 4 5 6 7 8 ; - ; 450 0 ; 306 ; row13=. . . . . . . .|score=0 0 g0
    flags=play t1=2000 step pair t3|checked=30y|fig=350,40|cells=0 0 0
# The spawn after a cascade: marks gone, next pair falling on a fresh interval.
cascade_done ; . . . 3/. . . 7 3 ; 2 13 7 2 12 9 ; - ; TS ; row12=. . . . . . . .
    row13=. . 9 . . . . .|flags=play t1=2000 step pair t3|pair=3,0 4,0|log=104|starts=2|cells=1 0 1
# A milestone cuts in before the pause; pictures and score show only after its sound.
cascade_milestone_freezes ; . . . 3/. . . 7 3 ; 2 13 7 2 12 9 ; 1960 0 ; TWALTU ; log=104 106
    flags=play t3 wait=sound106|stage=1 set 0|score=2040 1990 g2|facing=0|pair=2,13 2,12
# The milestone before the chime; one stage a step; pictures stop at set 4; no 32-bit wrap.
milestone_before_chime ; . . . . . 7 ; 4 13 7 4 12 5 ; 3990 0 ; TS ; log=106 104|stage=1 set 1
    score=4020 4020 g1|flags=play t1=1200 step pair t3
milestone_sets_stop_at_4 ; . . . . . 7 ; 4 13 7 4 12 5 ; 11990 4 ; TS ; stage=5 set 4|log=106 104
score_past_32_bits ; . . . . . 7 ; 4 13 7 4 12 5 ; 2147483600 1073741800 ; TS
    score=2147483630 2147483630 g1
# A cell in the top row drops like any other: in the drop and in the cascade of four 6s.
top_row_drops ; 20/6/6/6/6/2/6/6/6/6/6/6/6/. ; 0 13 6 1 13 8 ; - ; TS ; row0=. . . . . . . .
    row11=. . . . . . . .|row12=20 . . . . . . .|row13=2 8 . . . . . .
# Cells drop a row per removed cell beneath; each level of a cascade scores its group.
rescan_reaches_the_top_row ; 5@0,0 5@1,0 7@5,13 ; 4 13 7 4 12 5 ; - ; TS ; row0=. . . . . . . .
    score=80 80 g2
drop_and_three_levels ; 1/5/5/8 2 . 8 . 6/9 9 . 1/9 4 . 4 4 4 ; 2 13 4 2 12 7 ; - ; TS
    row11=. . . . . . . .|row12=1 2 . 8 . 6 . .|row13=8 9 7 1 . . . .|score=480 480 g6
# A level lapses at a new game and acts at once; no group, no change.
level_before_and_during ; - ; - ; - ; c2|bcd ; flags=play t1=800 step pair t3|checked=23y|starts=3
no_group_no_change ; - ; 0 13 3 1 13 2 ; 500 0 ; c2|T ; flags=play t1=2000 step pair t3
    score=500 500 g0|log=
# A stale continuation of an abandoned cascade or milestone must never run.
abandoned_cascade ; . . . 3/. . . 7 3 ; 2 13 7 2 12 9 ; - ; T2 ; log=104
    flags=play t1=2000 step pair t3|score=0 0 g1|cells=0 0 0
unknown_serials_ignored ; . . . . . 7 ; 4 13 7 4 12 5 ; 1970 0 ; Tk
    flags=play step t3 wait=sound106|log=106
abandoned_milestone ; . . . . . 7 ; 4 13 7 4 12 5 ; 1990 0 ; T1s ; stage=0 set 0|log=106
    score=0 0 g1
# Frames alternate, facing the last shift; the figure switch acts at once.
figure_frames ; - ; 3 5 2 4 5 3 ; 0 2 ; AARAA ; frame=2.3|facing=2|fig=200,148
figure_off ; - ; - ; - ; AnA2 ; frame=0.0|facing=0|checked=20n|fig=banner
    flags=play t1=2000 step pair
# The figure stands above the pair's upper cell.
figure_above_upright_pair ; - ; 3 4 2 3 5 3 ; - ; A ; fig=150,116
# Only a cell at (3,0) or (4,0) ends the game, at the next tick; till then the pair moves.
start_cell_taken_pair_still_moves ; 1@1,1 2@4,1 ; 4 0 7 5 0 8 ; - ; TL ; row0=. . . . 7 8 . .
    pair=2,0 3,0|flags=play t1=2000 step pair t3
top_row_3_ends ; 9@3,0 ; - ; - ; T ; flags=step t3 wait=8
# The fill blanks a cell each 8 ms, deaf to keys, and hands over once: at its end or to a
# new game.
fill_steps ; 12@4,0 ; - ; 120 0 ; 4|DLTWLTW ; flags=step t3 wait=8|cells=4 0 1|log=
fill_hands_over_at_its_end ; 12@4,0 ; - ; 120 0 ; 5|DSTS ; log=end5:120|row0=. . . . 12 . . .
    cells=112 0 0|flags=step t3
fill_new_game_hands_over_first ; 12@4,0 ; - ; 120 0 ; 4|DWW2s ; log=end4:120|row0=. . . . . . . .
    cells=0 0 0|flags=play t1=2000 step pair t3
)")),
                         kCaseName);

// Each row is a fault of the run that finds equal results in line with a landed cell: a bend,
// a diagonal, a gap, "10" taken for "1", the second cell's own group.
INSTANTIATE_TEST_SUITE_P(Crosses, Flow, ::testing::ValuesIn(Table(R"(
L_from_its_end_is_a_line ; . . . . . 7/. . . . . 7 ; 4 13 7 4 12 5 ; - ; T ; marked=4,13 5,13
gap_stops_the_run ; . . . . . . 7 ; 4 13 7 4 12 5 ; - ; T ; marked=none|score=0 0 g0
diagonal_never ; . . . . . 7/. ; 4 13 7 4 12 5 ; - ; T ; marked=none
ten_is_not_one ; . . . . . 1 ; 4 13 10 4 12 5 ; - ; T ; marked=none
second_cell_scores_its_own_group ; . . . . 7/. ; 3 13 7 4 13 7 ; - ; T ; marked=4,12 3,13 4,13
    score=80 80 g2
)")),
                         kCaseName);

// Each row is the fault of turning, shifting or falling the wrong way, through a wall or a
// cell, or of stopping on air; a shift turns the figure its way, a spawn faces it left.
INSTANTIATE_TEST_SUITE_P(TurnsAndShifts, Flow, ::testing::ValuesIn(Table(R"(
A2_blocked_below_cell0 ; 9@3,1 ; 3 0 2 4 0 3 ; - ; 1R|U ; pair=3,0 4,0|facing=2
B1_from_column_6 ; - ; 6 5 2 6 6 3 ; - ; 1R|U ; pair=6,5 7,5|facing=2
B1_at_right_wall ; - ; 7 5 2 7 6 3 ; - ; 1R|U ; pair=7,5 7,6|facing=2
B2_from_column_1 ; - ; 1 5 2 1 4 3 ; - ; 1R|U ; pair=1,5 0,5|facing=2
B2_at_left_wall ; - ; 0 5 2 0 4 3 ; - ; 1R|U ; pair=0,5 0,4|facing=2
B2_blocked_by_cell ; 9@2,5 ; 3 5 2 3 4 3 ; - ; 1R|U ; pair=3,5 3,4|facing=2
flat_in_bottom_row_never_turns ; - ; 3 13 2 4 13 3 ; - ; 1R|U ; pair=3,13 4,13|facing=2
flat_resting_in_row_12_turns ; . . . . 9 ; 3 12 2 4 12 3 ; - ; 1R|U ; pair=3,13 3,12|facing=2
left_from_column_1 ; - ; 1 5 2 2 5 3 ; - ; 1R|L ; pair=0,5 1,5|facing=0
left_at_wall ; - ; 0 5 2 1 5 3 ; - ; 1R|L ; pair=0,5 1,5|facing=2
left_blocked_by_lower ; 9@2,6 ; 3 5 2 3 6 3 ; - ; 1R|L ; pair=3,5 3,6|facing=2
left_blocked_at_cell0 ; 9@2,5 ; 3 5 2 3 4 3 ; - ; 1R|L ; pair=3,5 3,4|facing=2
left_blocked_flat ; 9@2,5 ; 3 5 2 4 5 3 ; - ; 1R|L ; pair=3,5 4,5|facing=2
right_at_wall ; - ; 6 5 2 7 5 3 ; - ; 1L|R ; pair=6,5 7,5|facing=0
flat_cell1_supported ; 9@4,6 ; 3 5 2 4 5 3 ; - ; 1R|T ; pair=3,0 4,0|facing=0
flat_falls_into_the_bottom_row ; - ; 3 12 2 4 12 3 ; - ; 1R|T ; pair=3,13 4,13|facing=2
upright_falls_into_the_bottom_row ; - ; 3 11 2 3 12 3 ; - ; 1R|T ; pair=3,12 3,13|facing=2
upright_lower_supported ; 9@3,7 ; 3 5 2 3 6 3 ; - ; 1R|T ; pair=3,0 4,0|facing=0
)")),
                         kCaseName);

// The preview falls first; no index past the list's end; fresh draws; set-ups that do not fit.
TEST(NewGame, DealsThePreviewFirstAndDrawsFreshInRange) {
    Harness h;
    // A draw at the very top still deals the last dealt item.
    h.random.script = {8.5 / 14, 4.5 / 14, 1.5 / 14, 2.5 / 14, 0.0, 1.0};
    h.Play("1");
    const Game& g = h.game;
    EXPECT_EQ(g.pairCaption(0) + g.pairCaption(1) + g.previewCaption(0) + g.previewCaption(1),
              "5+53+31+22+2");
    h.Play("TTTTTTTTTTTTTT"); // a landing without a group: the preview falls next
    EXPECT_EQ(g.pairCaption(0) + g.pairCaption(1) + g.previewCaption(0) + g.previewCaption(1),
              "1+22+21+16-1");
    h.Play("4"); // another mode's list in place of the first, not added to it
    EXPECT_EQ(g.pairCaption(0) + g.previewCaption(1), "2+92+9");
    for (const Rows& past : {Rows(kRows + 1, "5"), Rows{"1 2 3 4 5 6 7 8 9"}})
        EXPECT_THROW(h.game.SetUp({.board = past}), std::invalid_argument); // does not fit
    using Pair = Situation::Pair; // off the board, or with a result the list lacks
    for (const Pair& p : {Pair{{8, 0}, {0, 0}, {"11", "11"}}, Pair{{0, 0}, {0, 14}, {"11", "11"}},
                          Pair{{0, 1}, {0, 0}, {"11", "9"}}})
        EXPECT_THROW(h.game.SetUp({.pair = p}), std::invalid_argument);
    h.game.SetUp({.board = {". 7* 10*"}}); // "*" marks a cell
    EXPECT_EQ(h.Show("row13") + " " + h.Show("cells"), ". -1 -1 . . . . . 2 2 2");
    EXPECT_NE(SeededRandom().NextUnit(), SeededRandom().NextUnit()); // each game unlike the last
    SeededRandom random; // fresh draws over the whole of [0, 1): every equation can come
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i)
        seen.insert(int(random.NextUnit() * 100));
    EXPECT_TRUE(seen.size() == 100 && *seen.begin() == 0 && *seen.rbegin() == 99) << seen.size();
}

} // namespace numora::test
