// The entry point of the sound module, the one part of the program that uses Qt
// Multimedia. ModuleSoundPlayer loads it when the first game begins.
#include "sound/qt_sound_player.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT numora::SoundPlayer* numora_make_sound_player() {
    return new numora::QtSoundPlayer;
}
