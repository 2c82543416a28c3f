// The page's one sound service, on Web Audio: a new sound stops the one still playing, as
// the desktop's does. Browsers let a page make sound only once the player has done
// something, so the audio starts with the first menu choice; until then, and on a device
// with no sound output, the sounds play silently. Nothing waits on the audio: a wait for a
// sound is timed by its known length (DurationMs), read from the wave file when the page
// was built.
#pragma once

#include "game/sound.h"

#include <emscripten/val.h>

#include <array>
#include <functional>

namespace numora::web {

class SoundService {
  public:
    // From a player's gesture: makes the audio context, or lets a suspended one run.
    void Wake();
    void Play(Sound sound);
    static int DurationMs(Sound sound);
    // Told of every sound asked for, heard or not (the test build keeps a record).
    static void Watch(std::function<void(Sound)> watcher);

  private:
    void MakeBuffers();

    emscripten::val context_ = emscripten::val::undefined();
    std::array<emscripten::val, 2> buffers_{emscripten::val::undefined(),
                                            emscripten::val::undefined()};
    emscripten::val playing_ = emscripten::val::undefined();
};

} // namespace numora::web
