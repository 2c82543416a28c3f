// The heaviest landing the rules allow, shared by the library and window benchmarks.
#pragma once

#include "game/game.h"

namespace numora::bench {

// For a game of mode 2: the board full below the top row, of vertical pairs of equal results,
// neighbours always different, and a pair on the top row that lands at the next gravity tick
// and matches the cell below it: the landing's group sets off a cascade that removes the
// pairs one rescan at a time.
inline Situation WorstLanding() {
    Situation worst{.pair = Situation::Pair{{1, 2}, {0, 0}, {"2", "9"}}}; // "2" as below it
    for (int row = 1; row < kRows; ++row) {
        std::string line;
        for (int col = 0; col < kColumns; ++col)
            line += ((row / 2 + col) % 2) ? "2 " : "3 ";
        worst.board.push_back(line);
    }
    return worst;
}

} // namespace numora::bench
