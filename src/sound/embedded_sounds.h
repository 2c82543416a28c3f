// The wave sounds compiled into the program, and how long each plays.
#pragma once

#include "game/sound.h"

#include <QString>

#include <map>

namespace numora {

// An embedded sound's resource path, e.g. ":/sounds/wav104.wav".
QString SoundResourcePath(Sound sound);

// Each embedded sound's length in ms, read from its wave header (0 for one unreadable).
std::map<Sound, int> EmbeddedSoundDurations();

}  // namespace numora
