// The heaviest landing the rules allow, shared by the library and window benchmarks.
#pragma once

#include "game/game.h"

namespace numora::bench {

// A full board of vertical pairs of equal results, neighbours always different: the
// landing's group sets off a cascade that removes the pairs one rescan at a time.
inline void FillForCascade(GameState& s) {
    for (int col = 0; col < nCol; ++col)
        for (int row = 1; row < nRow; ++row) {
            s.board(col, row) = ((row / 2 + col) % 2) ? "2" : "3";
            CellLabel& label = s.labRes[static_cast<std::size_t>(CellIndex(col, row))];
            label.visible = true;
            label.caption = s.board(col, row);
        }
}

// A game of mode 2 with the board full and a pair on the top row that lands at the next
// gravity tick and matches the cell below it.
inline void SetUpWorstLanding(Game& game) {
    game.ChooseMode(2);
    GameState& s = game.editState();
    FillForCascade(s);
    s.blkCol = {1, 2};
    s.blkRow = {0, 0};
    s.blkRes0 = "2";  // equal to the cell it lands on
    s.blkRes1 = "9";
}

}  // namespace numora::bench
