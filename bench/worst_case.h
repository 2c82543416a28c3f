// The heaviest landing the rules allow, shared by the library and window benchmarks.
#pragma once

#include "game/game.h"

namespace numora::bench {

// A game of mode 2 with the board full below the top row, of vertical pairs of equal
// results, neighbours always different, and a pair on the top row that lands at the next
// gravity tick and matches the cell below it: the landing's group sets off a cascade that
// removes the pairs one rescan at a time.
inline void SetUpWorstLanding(Game& game) {
    game.ChooseMode(2);
    Situation worst{.pair = Situation::Pair{{1, 2}, {0, 0}, {"2", "9"}}}; // "2" as below it
    for (int row = 1; row < nRow; ++row) {
        std::string line;
        for (int col = 0; col < nCol; ++col)
            line += ((row / 2 + col) % 2) ? "2 " : "3 ";
        worst.board.push_back(line);
    }
    game.SetUp(worst);
}

} // namespace numora::bench
