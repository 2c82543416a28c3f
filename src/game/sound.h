// The program's two sounds, named by the ids of their embedded wave files (wav104.wav,
// wav106.wav). The game asks for them and the sound service plays them, by this one type.
#pragma once

namespace numora {

enum class Sound { Landing = 104, Milestone = 106 };
inline constexpr Sound kSounds[] = {Sound::Landing, Sound::Milestone};

} // namespace numora
