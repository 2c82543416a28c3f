// A sound service that records what it was asked to play.
#pragma once

#include "sound/sound_player.h"

#include <vector>

namespace numora::test {

struct FakeSound final : SoundPlayer {
    void Play(int id) override { played.push_back(id); }
    int DurationMs(int id) const override { return id == 106 ? 2000 : 750; }
    void Preload() override { ++preloads; }
    std::vector<int> played;
    int preloads = 0;
};

}  // namespace numora::test
