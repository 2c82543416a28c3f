#include "game/tap.h"

#include <algorithm>

namespace numora {

std::optional<Arrow> ArrowForTap(const FallingPair& pair, int x, int y) {
    if (y < kBannerHeight) return std::nullopt;
    // A gap between two cells belongs to the cell left of it or above it.
    const int col = x / (kCellWidth + 1);
    const int row = (y - kBannerHeight) / (kCellHeight + 1);
    if (col < std::min(pair.col[0], pair.col[1])) return Arrow::Left;
    if (col > std::max(pair.col[0], pair.col[1])) return Arrow::Right;
    int top = kRows;
    int bottom = -1;
    for (std::size_t i = 0; i < 2; ++i) {
        if (pair.col[i] != col) continue;
        top = std::min(top, pair.row[i]);
        bottom = std::max(bottom, pair.row[i]);
    }
    if (row > bottom) return Arrow::Down;
    if (row >= top) return Arrow::Up;
    return std::nullopt;
}

} // namespace numora
