// The two wave files, whole, compiled into the page (made by cmake/EmbedWaves.cmake), so
// the sounds need no request of their own and are there offline with the code.
#pragma once

namespace numora::web {

// The bytes of resources/sounds/wav<id>.wav, header included; null for another id.
const unsigned char* EmbeddedWave(int id);

} // namespace numora::web
