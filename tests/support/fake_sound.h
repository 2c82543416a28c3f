// A sound service that records what it was asked to play.
#pragma once

#include "sound/sound_player.h"

#include <vector>

namespace numora::test {

struct FakeSound final : SoundPlayer {
    void Play(Sound sound) override { played.push_back(sound); }
    int DurationMs(Sound sound) const override { return sound == Sound::Milestone ? 2000 : 750; }
    void Preload() override { ++preloads; }
    std::vector<Sound> played;
    int preloads = 0;
};

} // namespace numora::test
