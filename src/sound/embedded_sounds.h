// The wave sounds compiled into the program, and how long each plays.
#pragma once

#include <QString>

#include <map>

namespace numora {

// The sounds' ids: 104 landing, 106 milestone.
inline constexpr int kSoundIds[] = {104, 106};

// An embedded sound's resource path, e.g. ":/sounds/wav104.wav".
QString SoundResourcePath(int id);

// Each embedded sound's length in ms, read from its wave header (0 for one unreadable).
std::map<int, int> EmbeddedSoundDurations();

}  // namespace numora
