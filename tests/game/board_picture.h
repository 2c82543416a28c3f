// Test helpers: boards written as text pictures, a scripted random source and a game
// harness that records what the game asks of the window.
#pragma once

#include "game/game.h"

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

namespace numora::test {

// Rows of 8 space-separated tokens, "." for an empty cell; the last row given is the
// bottom row of the board (row 13), rows above the picture are empty.
void SetBoard(GameState& state, std::initializer_list<std::string> rows);
// The board's rows `first`..13 in the same notation.
std::vector<std::string> BoardRows(const GameState& state, int first);

// Returns the next scripted number, then 0 once the script is used up.
class ScriptedRandom final : public RandomSource {
public:
    double NextUnit() override;
    // Makes the next draws pick these equation indices out of `eqCount`.
    void Pick(std::initializer_list<int> indices, int eqCount);
    std::deque<double> script;
};

struct Harness : GameEvents {
    Harness() : game(random, *this) {}
    void PlaySound(Sound sound, bool wait) override;
    void GameEnded(int mode, std::int64_t score) override;
    // Waits out whatever the game waits for, until it waits no more.
    void Settle();
    // Puts the falling pair at the given cells with the given results.
    void SetPair(int c0, int r0, const std::string& res0, int c1, int r1, const std::string& res1);
    // Sets up a pair about to land with cell 0 beside an equal settled cell: a group of two
    // worth 30 points. The next gravity tick lands it.
    void PrepareGroupOfTwo();
    GameState& s() { return game.editState(); }

    ScriptedRandom random;
    std::vector<std::string> log;  // "sound 104", "sound 106 wait", "ended 2 30"
    Game game;
};

}  // namespace numora::test
