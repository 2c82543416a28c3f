// The wave sounds compiled into the program, and how long each plays.
#pragma once

#include "game/sound.h"

#include <QString>

namespace numora {

// An embedded sound's resource path, e.g. ":/sounds/wav104.wav".
QString SoundResourcePath(Sound sound);

// An embedded sound's length in ms, read from its wave header (0 for one unreadable).
int EmbeddedSoundDurationMs(Sound sound);

} // namespace numora
