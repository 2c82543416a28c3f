// A game from its start to its hand-over as scripts (see Harness::Play) read back as text.
#include "game_test_support.h"

#include <set>

namespace numora::test {

struct Scenario {
    const char* name;
    Rows board;
    const char* pair; // "c0 r0 res0 c1 r1 res1", or empty
    std::int64_t score;
    int stage;
    const char* script; // "before|after" the board and pair are set up; "after" alone starts mode 1
    const char* want;   // "key=value|key=value", as Harness::Show says
};
class Flow : public ::testing::TestWithParam<Scenario> {};

TEST_P(Flow, ScriptEndsAsTheRulesSay) {
    const Scenario& c = GetParam();
    Harness h;
    std::string script = c.script;
    const std::size_t bar = script.find('|');
    h.Play(bar == std::string::npos ? "1" : script.substr(0, bar));
    Situation situation{Picture(c.board), Harness::Pair(c.pair)};
    if (c.score) situation.score = c.score;
    if (c.stage) situation.stage = c.stage;
    h.game.SetUp(situation);
    h.Play(bar == std::string::npos ? script : script.substr(bar + 1));
    EXPECT_EQ(h.Show(c.want), c.want);
}

const Rows kCascade = {". . . 3 . . . .", ". . . 7 3 . . ."}; // the 7s go, then the 3s meet
const Rows kTwo = {". . . . . 7 . ."};                        // with pair kTwoPair: a group of two
const char* kCascadePair = "2 13 7 2 12 9";
const char* kTwoPair = "4 13 7 4 12 5";
// Column 0 from the top: 20, four 6s, 2, seven 6s; with pair "0 13 6 1 13 8" a run of eight 6s.
const Rows kColumn = {"^", "20", "6", "6", "6", "6", "2", "6", "6", "6", "6", "6", "6", "6"};
// Columns 1 and 4 full below row 0: a pair lands in row 0 through the real landing path.
const Rows kWalls = [] {
    Rows r(15, ". 1 . . 2");
    r[0] = "^", r[1] = ".";
    return r;
}();

INSTANTIATE_TEST_SUITE_P(
    Scripts, Flow,
    ::testing::Values(
        // A start-up that already plays or takes keys.
        Scenario{"startup_idle",
                 {},
                 "",
                 0,
                 0,
                 "|TDLA",
                 "flags=splash|checked=00y|fig=none|score=0 0 g0|frame=-1.0 facing 0"},
        // A new game that keeps the old board, score, check mark or figure place; bad modes taken.
        Scenario{"new_game_clears",
                 {"1 2 3 4 5 6 7 8"},
                 "",
                 450,
                 0,
                 "306",
                 "row13=. . . . . . . .|score=0 0 g0|flags=play t1=2000 step pair "
                 "t3|checked=30y|fig=350,40|cells=0 0 0"},
        // A spawn that keeps the old facing or the old tick's schedule; a Down that only moves
        // must keep the schedule.
        Scenario{"spawn_faces_left_restarts_timer",
                 {},
                 "4 13 2 5 13 3",
                 0,
                 0,
                 "RDD",
                 "pair=3,1 4,1|frame=-1.0 facing 0|starts=2"},
        // Down refused and sideways keys moving only the landed coordinates while a cascade waits.
        Scenario{"cascade_waits", kCascade, kCascadePair, 0, 0, "TDL",
                 "score=30 30 g1|pair=1,13 1,12|row12=. . 9 3 . . . .|row13=. . -1 -1 3 . . "
                 ".|flags=play t3 wait=100|log=104|cells=5 2 5"},
        // The second group scores with the grown group count.
        Scenario{"cascade_second_group", kCascade, kCascadePair, 0, 0, "TW",
                 "score=80 80 g2|row13=. . 9 -1 -1 . . .|flags=play t3 wait=100|cells=3 2 3"},
        // The spawn after a cascade: marks gone, next pair falling on a fresh interval.
        Scenario{"cascade_done", kCascade, kCascadePair, 0, 0, "TS",
                 "row12=. . . . . . . .|row13=. . 9 . . . . .|flags=play t1=2000 step pair "
                 "t3|pair=3,0 4,0|log=104|starts=2|cells=1 0 1"},
        // A milestone in the cascade cuts in before the pause and freezes the game; pictures and
        // the score caption change only after its sound.
        Scenario{"cascade_milestone_freezes", kCascade, kCascadePair, 1960, 0, "TWALTU",
                 "log=104 106|flags=play t3 wait=sound106|stage=1 set 0|score=2040 1990 "
                 "g2|frame=-1.0 facing 0|pair=2,13 2,12"},
        Scenario{"cascade_milestone_after_sound", kCascade, kCascadePair, 1960, 0, "TWW",
                 "stage=1 set 1|score=2040 2040 g2|flags=play t3 wait=100"},
        // The landing's own milestone before its chime; one stage per step, however many
        // multiples it passes; pictures stop at set 4; scores never wrap at 32 bits.
        Scenario{"milestone_before_chime", kTwo, kTwoPair, 3990, 0, "TS",
                 "log=106 104|stage=1 set 1|score=4020 4020 g1|flags=play t1=1200 step pair t3"},
        Scenario{"milestone_sets_stop_at_4", kTwo, kTwoPair, 11990, 4, "TS",
                 "stage=5 set 4|log=106 104"},
        Scenario{"score_past_32_bits", kTwo, kTwoPair, 2147483600, 1073741800, "TS",
                 "score=2147483630 2147483630 g1"},
        // A cell in the top row drops like any other, here twice: in the drop and in the cascade of
        // four 6s.
        Scenario{"top_row_drops", kColumn, "0 13 6 1 13 8", 0, 0, "TS",
                 "row0=. . . . . . . .|row11=. . . . . . . .|row12=20 . . . . . . .|row13=2 8 . . "
                 ". . . ."},
        // Each settled cell drops a row per removed cell beneath it, column by column; a cell held
        // on one side keeps its gap; each level of the cascade, top row too, scores its group.
        Scenario{
            "rescan_reaches_the_top_row",
            {"^", "5 5", ".", ".", ".", ".", ".", ".", ".", ".", ".", ".", ".", ".", ". . . . . 7"},
            kTwoPair,
            0,
            0,
            "TS",
            "row0=. . . . . . . .|score=80 80 g2"},
        Scenario{
            "drop_and_three_levels",
            {"1 . . . . . . .", "5 . . . . . . .", "5 . . . . . . .", "8 2 . 8 . 6 . .",
             "9 9 . 1 . . . .", "9 4 . 4 4 4 . ."},
            "2 13 4 2 12 7",
            0,
            0,
            "TS",
            "row11=. . . . . . . .|row12=1 2 . 8 . 6 . .|row13=8 9 7 1 . . . .|score=480 480 g6"},
        // A level chosen before a game lapses at the new game, acts at once mid-game, ignores a
        // fourth item, and returns with the first group; a landing without one changes nothing.
        Scenario{"level_before_and_during",
                 {},
                 "",
                 0,
                 0,
                 "c2|bcd",
                 "flags=play t1=800 step pair t3|checked=23y|starts=3"},
        Scenario{"level_returns_with_a_group", kTwo, kTwoPair, 0, 0, "c2|TS",
                 "flags=play t1=800 step pair t3|score=30 30 g1"},
        Scenario{"no_group_no_change",
                 {},
                 "0 13 3 1 13 2",
                 500,
                 0,
                 "c2|T",
                 "flags=play t1=2000 step pair t3|score=500 500 g0|log="},
        // A stale continuation of an abandoned cascade or milestone must never run.
        Scenario{"abandoned_cascade", kCascade, kCascadePair, 0, 0, "T2s",
                 "log=104|flags=play t1=2000 step pair t3|score=0 0 g1|cells=0 0 0"},
        Scenario{"unknown_serials_ignored", kTwo, kTwoPair, 1990, 0, "Tk",
                 "flags=play step t3 wait=sound106|log=106"},
        Scenario{"abandoned_milestone", kTwo, kTwoPair, 1990, 0, "T1s",
                 "stage=0 set 0|log=106|score=0 0 g1"},
        // Frames alternate and face the last performed shift; a stopped timer draws nothing; the
        // start-up set stands in the banner before any game; the switch acts at once.
        Scenario{"figure_before_a_game",
                 {},
                 "",
                 0,
                 0,
                 "|AyA",
                 "frame=0.0 facing 0|fig=banner|flags=t3 splash"},
        Scenario{
            "figure_frames", {}, "3 5 2 4 5 3", 0, 2, "AARAA", "frame=2.3 facing 2|fig=200,148"},
        Scenario{"figure_off",
                 {},
                 "",
                 0,
                 0,
                 "AnA2",
                 "frame=0.0 facing 0|checked=20n|fig=banner|flags=play t1=2000 step pair"},
        Scenario{"figure_on_mid_game",
                 {},
                 "",
                 0,
                 0,
                 "n1y",
                 "flags=play t1=2000 step pair t3|fig=350,40"},
        // The figure stands above the pair's leftmost, highest cell, or in the banner near the top.
        Scenario{"figure_above_flat_pair", {}, "3 5 2 4 5 3", 0, 0, "A", "fig=150,148"},
        Scenario{"figure_rows_1_2_banner", {}, "3 2 2 3 1 3", 0, 0, "A", "fig=banner"},
        Scenario{"figure_cell1_left", {}, "5 2 2 4 2 3", 0, 0, "A", "fig=200,52"},
        Scenario{"figure_bottom", {}, "0 13 2 0 12 3", 0, 0, "A", "fig=0,372"},
        // Only a cell at (3,0) or (4,0) ends the game, at the next tick: a pair spawned onto it can
        // still move until then.
        Scenario{"row0_landing_plays_on", kWalls, "1 0 5 0 0 6", 0, 0, "T",
                 "row0=6 5 . . . . . .|flags=play t1=2000 step pair t3"},
        Scenario{"start_cell_taken_pair_still_moves", kWalls, "4 0 7 5 0 8", 0, 0, "TL",
                 "row0=. . . . 7 8 . .|pair=2,0 3,0|flags=play t1=2000 step pair t3"},
        Scenario{"start_cell_taken_next_tick_ends", kWalls, "4 0 7 5 0 8", 0, 0, "TLT",
                 "flags=step t3 wait=8"},
        Scenario{"top_row_2_plays_on",
                 {"^", ". . 9 . . . . ."},
                 "",
                 0,
                 0,
                 "T",
                 "flags=play t1=2000 step pair t3"},
        Scenario{"top_row_3_ends", {"^", ". . . 9 . . . ."}, "", 0, 0, "T", "flags=step t3 wait=8"},
        Scenario{"top_row_4_ends", {"^", ". . . . 9 . . ."}, "", 0, 0, "T", "flags=step t3 wait=8"},
        Scenario{"top_row_5_plays_on",
                 {"^", ". . . . . 9 . ."},
                 "",
                 0,
                 0,
                 "T",
                 "flags=play t1=2000 step pair t3"},
        // The fill blanks one cell each 8 ms, deaf to keys and ticks, keeps the board, and hands
        // the game over once: at its end, or at once to a new game chosen during it.
        Scenario{"fill_steps",
                 {"^", ". . . . 12 . . ."},
                 "",
                 120,
                 0,
                 "4|DLTWLTW",
                 "flags=step t3 wait=8|cells=4 0 1|log="},
        Scenario{"fill_hands_over_at_its_end",
                 {"^", ". . . . 12 . . ."},
                 "",
                 120,
                 0,
                 "4|DS",
                 "log=end4:120|row0=. . . . 12 . . .|cells=112 0 0|flags=step t3"},
        Scenario{"fill_new_game_hands_over_first",
                 {"^", ". . . . 12 . . ."},
                 "",
                 120,
                 0,
                 "4|DWW2s",
                 "log=end4:120|row0=. . . . . . . .|cells=0 0 0|flags=play t1=2000 step pair t3"}),
    kCaseName);

// Each row is a fault of the run that finds equal results in line with a landed cell: too
// far, too short, diagonal, across a gap, "10" taken for "1", a landed cell matched twice.
INSTANTIATE_TEST_SUITE_P(
    Crosses, Flow,
    ::testing::Values(
        Scenario{"right_neighbour",
                 {kEmptyRow, ". . . . . 7 . ."},
                 "4 13 7 4 12 5",
                 0,
                 0,
                 "T",
                 "row12=. . . . 5 . . .|row13=. . . . -1 -1 . .|score=30 30 g1"},
        Scenario{"both_sides",
                 {kEmptyRow, ". . . 7 . 7 . ."},
                 "4 13 7 4 12 5",
                 0,
                 0,
                 "T",
                 "row12=. . . . 5 . . .|row13=. . . -1 -1 -1 . .|score=80 80 g2"},
        Scenario{"L_from_its_end_is_a_line",
                 {". . . . . 7 . .", ". . . . . 7 . ."},
                 "4 13 7 4 12 5",
                 0,
                 0,
                 "T",
                 "row12=. . . . 5 7 . .|row13=. . . . -1 -1 . .|score=30 30 g1"},
        Scenario{"L_from_its_corner",
                 {kEmptyRow, ". . . . . 7 . ."},
                 "4 13 7 4 12 7",
                 0,
                 0,
                 "T",
                 "row12=. . . . -1 . . .|row13=. . . . -1 -1 . .|score=80 80 g2"},
        Scenario{"gap_stops_the_run",
                 {kEmptyRow, ". . . . . . 7 ."},
                 "4 13 7 4 12 5",
                 0,
                 0,
                 "T",
                 "row12=. . . . 5 . . .|row13=. . . . 7 . 7 .|score=0 0 g0"},
        Scenario{"different_stops_the_run",
                 {kEmptyRow, ". . . . . 3 7 ."},
                 "4 13 7 4 12 5",
                 0,
                 0,
                 "T",
                 "row12=. . . . 5 . . .|row13=. . . . 7 3 7 .|score=0 0 g0"},
        Scenario{"diagonal_never",
                 {". . . . . 7 . .", kEmptyRow},
                 "4 13 7 4 12 5",
                 0,
                 0,
                 "T",
                 "row12=. . . . 5 7 . .|row13=. . . . 7 . . .|score=0 0 g0"},
        Scenario{"ten_is_not_one",
                 {kEmptyRow, ". . . . . 1 . ."},
                 "4 13 10 4 12 5",
                 0,
                 0,
                 "T",
                 "row12=. . . . 5 . . .|row13=. . . . 10 1 . .|score=0 0 g0"},
        Scenario{"the_pair_itself",
                 {kEmptyRow, kEmptyRow},
                 "3 13 4 4 13 4",
                 0,
                 0,
                 "T",
                 "row12=. . . . . . . .|row13=. . . -1 -1 . . .|score=30 30 g1"},
        Scenario{"second_cell_scores_its_own_group",
                 {". . . . 7 . . .", kEmptyRow},
                 "3 13 7 4 13 7",
                 0,
                 0,
                 "T",
                 "row12=. . . . -1 . . .|row13=. . . -1 -1 . . .|score=80 80 g2"},
        Scenario{"down_run",
                 {". . . . . . . .", ". . . . . . . 6"},
                 "7 12 6 6 12 8",
                 0,
                 0,
                 "T",
                 "row12=. . . . . . 8 -1|row13=. . . . . . . -1|score=30 30 g1"},
        Scenario{"run_to_the_left_edge",
                 {kEmptyRow, "7 7 7 7 7 7 7 ."},
                 "7 13 7 7 12 5",
                 0,
                 0,
                 "T",
                 "row12=. . . . . . . 5|row13=-1 -1 -1 -1 -1 -1 -1 -1|score=630 630 g7"},
        Scenario{"run_to_the_right_edge",
                 {kEmptyRow, ". 3 3 3 3 3 3 3"},
                 "0 13 3 0 12 5",
                 0,
                 0,
                 "T",
                 "row12=5 . . . . . . .|row13=-1 -1 -1 -1 -1 -1 -1 -1|score=630 630 g7"},
        Scenario{"up_run_stops_at_a_different_cell", kColumn, "0 13 6 1 13 8", 0, 0, "T",
                 "score=630 630 g7|row4=6 . . . . . . .|row6=-1 . . . . . . ."},
        Scenario{"run_up_to_the_top_row",
                 {"^", ". . 7", ". . 7", ".", ". . 9 9"},
                 "2 2 7 3 2 5",
                 0,
                 0,
                 "T",
                 "row0=. . -1 . . . . .|row2=. . -1 5 . . . .|score=80 80 g2"}),
    kCaseName);

// Each row is the fault of turning, shifting or falling the wrong way, through a wall or a
// cell, or of stopping on air; a shift turns the figure its way, a spawn faces it left.
INSTANTIATE_TEST_SUITE_P(
    TurnsAndShifts, Flow,
    ::testing::Values(
        Scenario{"A2_first_turn_after_spawn",
                 {},
                 "3 0 2 4 0 3",
                 0,
                 0,
                 "1R|U",
                 "pair=3,1 3,0|frame=-1.0 facing 2"},
        Scenario{"A2_blocked_below_cell0",
                 {"^", ".", ". . . 9"},
                 "3 0 2 4 0 3",
                 0,
                 0,
                 "1R|U",
                 "pair=3,0 4,0|frame=-1.0 facing 2"},
        Scenario{"A1_left_to_below",
                 {},
                 "4 5 2 3 5 3",
                 0,
                 0,
                 "1R|U",
                 "pair=4,5 4,6|frame=-1.0 facing 2"},
        Scenario{"B1_below_to_right",
                 {},
                 "3 5 2 3 6 3",
                 0,
                 0,
                 "1R|U",
                 "pair=3,5 4,5|frame=-1.0 facing 2"},
        Scenario{"B1_from_column_6",
                 {},
                 "6 5 2 6 6 3",
                 0,
                 0,
                 "1R|U",
                 "pair=6,5 7,5|frame=-1.0 facing 2"},
        Scenario{"B1_at_right_wall",
                 {},
                 "7 5 2 7 6 3",
                 0,
                 0,
                 "1R|U",
                 "pair=7,5 7,6|frame=-1.0 facing 2"},
        Scenario{"B2_above_to_left",
                 {},
                 "3 5 2 3 4 3",
                 0,
                 0,
                 "1R|U",
                 "pair=3,5 2,5|frame=-1.0 facing 2"},
        Scenario{"B2_from_column_1",
                 {},
                 "1 5 2 1 4 3",
                 0,
                 0,
                 "1R|U",
                 "pair=1,5 0,5|frame=-1.0 facing 2"},
        Scenario{
            "B2_at_left_wall", {}, "0 5 2 0 4 3", 0, 0, "1R|U", "pair=0,5 0,4|frame=-1.0 facing 2"},
        Scenario{"B2_blocked_by_cell",
                 {"^", ".", ".", ".", ".", ".", ". . 9"},
                 "3 5 2 3 4 3",
                 0,
                 0,
                 "1R|U",
                 "pair=3,5 3,4|frame=-1.0 facing 2"},
        Scenario{"flat_in_bottom_row_never_turns",
                 {},
                 "3 13 2 4 13 3",
                 0,
                 0,
                 "1R|U",
                 "pair=3,13 4,13|frame=-1.0 facing 2"},
        Scenario{"flat_resting_in_row_12_turns",
                 {". . . . 9"},
                 "3 12 2 4 12 3",
                 0,
                 0,
                 "1R|U",
                 "pair=3,13 3,12|frame=-1.0 facing 2"},
        Scenario{"left", {}, "3 5 2 4 5 3", 0, 0, "1R|L", "pair=2,5 3,5|frame=-1.0 facing 0"},
        Scenario{"left_from_column_1",
                 {},
                 "1 5 2 2 5 3",
                 0,
                 0,
                 "1R|L",
                 "pair=0,5 1,5|frame=-1.0 facing 0"},
        Scenario{"left_upright_from_column_1",
                 {},
                 "1 5 2 1 6 3",
                 0,
                 0,
                 "1R|L",
                 "pair=0,5 0,6|frame=-1.0 facing 0"},
        Scenario{
            "left_at_wall", {}, "0 5 2 1 5 3", 0, 0, "1R|L", "pair=0,5 1,5|frame=-1.0 facing 2"},
        Scenario{"left_blocked_by_lower",
                 {"^", ".", ".", ".", ".", ".", ".", ". . 9"},
                 "3 5 2 3 6 3",
                 0,
                 0,
                 "1R|L",
                 "pair=3,5 3,6|frame=-1.0 facing 2"},
        Scenario{"left_blocked_at_cell0",
                 {"^", ".", ".", ".", ".", ".", ". . 9"},
                 "3 5 2 3 4 3",
                 0,
                 0,
                 "1R|L",
                 "pair=3,5 3,4|frame=-1.0 facing 2"},
        Scenario{"right", {}, "3 5 2 4 5 3", 0, 0, "1L|R", "pair=4,5 5,5|frame=-1.0 facing 2"},
        Scenario{"right_from_column_6",
                 {},
                 "5 5 2 6 5 3",
                 0,
                 0,
                 "1L|R",
                 "pair=6,5 7,5|frame=-1.0 facing 2"},
        Scenario{"right_upright_from_column_6",
                 {},
                 "6 5 2 6 4 3",
                 0,
                 0,
                 "1L|R",
                 "pair=7,5 7,4|frame=-1.0 facing 2"},
        Scenario{
            "right_at_wall", {}, "6 5 2 7 5 3", 0, 0, "1L|R", "pair=6,5 7,5|frame=-1.0 facing 0"},
        Scenario{"right_blocked_by_upper",
                 {"^", ".", ".", ".", ".", ". . . . 9"},
                 "3 5 2 3 4 3",
                 0,
                 0,
                 "1L|R",
                 "pair=3,5 3,4|frame=-1.0 facing 0"},
        Scenario{"right_blocked_at_cell0",
                 {"^", ".", ".", ".", ".", ".", ". . . . 9"},
                 "3 5 2 3 4 3",
                 0,
                 0,
                 "1L|R",
                 "pair=3,5 3,4|frame=-1.0 facing 0"},
        Scenario{"other_keys_do_nothing",
                 {},
                 "3 5 2 4 5 3",
                 0,
                 0,
                 "1R|x",
                 "pair=3,5 4,5|frame=-1.0 facing 2"},
        Scenario{"flat_falls", {}, "3 5 2 4 5 3", 0, 0, "1R|T", "pair=3,6 4,6|frame=-1.0 facing 2"},
        Scenario{"flat_cell0_supported_other_hangs",
                 {"^", ".", ".", ".", ".", ".", ".", ". . . 9"},
                 "3 5 2 4 5 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,0 4,0|frame=-1.0 facing 0"},
        Scenario{"flat_cell1_supported",
                 {"^", ".", ".", ".", ".", ".", ".", ". . . . 9"},
                 "3 5 2 4 5 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,0 4,0|frame=-1.0 facing 0"},
        Scenario{"flat_bottom_row",
                 {},
                 "3 13 2 4 13 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,0 4,0|frame=-1.0 facing 0"},
        Scenario{"flat_falls_into_the_bottom_row",
                 {},
                 "3 12 2 4 12 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,13 4,13|frame=-1.0 facing 2"},
        Scenario{"upright_falls_into_the_bottom_row",
                 {},
                 "3 11 2 3 12 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,12 3,13|frame=-1.0 facing 2"},
        Scenario{
            "upright_falls", {}, "3 5 2 3 6 3", 0, 0, "1R|T", "pair=3,6 3,7|frame=-1.0 facing 2"},
        Scenario{"upright_lower_supported",
                 {"^", ".", ".", ".", ".", ".", ".", ".", ". . . 9"},
                 "3 5 2 3 6 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,0 4,0|frame=-1.0 facing 0"},
        Scenario{"upright_cell0_lower_supported",
                 {"^", ".", ".", ".", ".", ".", ".", ".", ". . . 9"},
                 "3 6 2 3 5 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,0 4,0|frame=-1.0 facing 0"},
        Scenario{"upright_bottom_row",
                 {},
                 "3 12 2 3 13 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,0 4,0|frame=-1.0 facing 0"},
        Scenario{"upright_cell0_at_bottom",
                 {},
                 "3 13 2 3 12 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,0 4,0|frame=-1.0 facing 0"},
        Scenario{"upright_side_cells_do_not_hold",
                 {"^", ".", ".", ".", ".", ".", ".", ".", ". . 9 . 9"},
                 "3 5 2 3 6 3",
                 0,
                 0,
                 "1R|T",
                 "pair=3,6 3,7|frame=-1.0 facing 2"}),
    kCaseName);

// The preview falls first; no index past the list's end; fresh draws; set-ups that do not fit.
TEST(NewGame, DealsThePreviewFirstAndDrawsFreshInRange) {
    Harness h;
    h.random.script = {8.5 / 14, 4.5 / 14, 1.5 / 14, 2.5 / 14,
                       0.0,      1.0}; // a draw at the very top still deals the last dealt item
    h.game.ChooseMode(1);
    const GameState& s = h.st();
    const Game& g = h.game;
    EXPECT_EQ(g.pairCaption(0) + s.blkRes(0) + g.pairCaption(1) + s.blkRes(1) +
                  g.previewCaption(0) + s.nextRes(0) + g.previewCaption(1) + s.nextRes(1),
              "5+510"
              "3+36"
              "1+23"
              "2+24");
    h.game.SetUp({.pair = Harness::Pair("0 13 3 1 13 2")});
    for (const Rows& past : {Rows(nRow + 1, "5"), Rows{"1 2 3 4 5 6 7 8 9"}})
        EXPECT_THROW(h.game.SetUp({.board = past}), std::invalid_argument);
    EXPECT_EQ(h.Show("row13"), "row13=. . . . . . . ."); // and left the game as it was
    h.Play("D");
    EXPECT_EQ(g.pairCaption(0) + " " + g.pairCaption(1) + " " + g.previewCaption(0) + " " +
                  g.previewCaption(1),
              "1+2 2+2 1+1 6-1");
    h.game.SetUp({.board = {". 7* 10*"}}); // "*" marks a cell
    EXPECT_EQ(h.Show("row13|cells"), "row13=. -1 -1 . . . . .|cells=2 2 2");
    SeededRandom random; // fresh draws over the whole of [0, 1): every equation can come
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i)
        seen.insert(int(random.NextUnit() * 100));
    EXPECT_TRUE(seen.size() == 100 && *seen.begin() == 0 && *seen.rbegin() == 99) << seen.size();
}

} // namespace numora::test
