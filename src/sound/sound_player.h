// The one sound service of the process. Like the platform service it stands for, a new
// request stops any sound still playing, across all windows.
#pragma once

namespace numora {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the embedded wave sound `id` (104 landing, 106 milestone) and returns at once.
    virtual void Play(int id) = 0;
    // The sound's length, from its wave header: how long a caller that waits must wait.
    virtual int DurationMs(int id) const = 0;
    // Readies the sounds so that the first play is not late; cheap once done.
    virtual void Preload() {}
};

}  // namespace numora
