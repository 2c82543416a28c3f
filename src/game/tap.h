// What a tap or a click on the board means: the arrow it stands for.
#pragma once

#include "game/game.h"

#include <optional>

namespace numora {

// The arrow a tap at (x, y) stands for, in the pixels of the client area (the banner's top
// left is 0, 0), or none. Left or right of the falling pair it steps toward the tap; on the
// pair it turns it; below it in its own columns it drops a row. Above it the pair cannot go,
// and that is where the figure walks: a child reaching for the figure must not move the
// pair, so a tap there does nothing, and nor does one on the banner.
std::optional<Arrow> ArrowForTap(const FallingPair& pair, int x, int y);

} // namespace numora
