// The one sound service of the process. Like the platform service it stands for, a new
// request stops any sound still playing, across all windows.
#pragma once

#include "game/sound.h"

namespace numora {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Starts the sound and returns at once.
    virtual void Play(Sound sound) = 0;
    // The sound's length, known when the program is built: how long a caller that waits
    // must wait.
    virtual int DurationMs(Sound sound) const = 0;
    // Readies the sounds so that the first play is not late; cheap once done.
    virtual void Preload() {}
};

} // namespace numora
