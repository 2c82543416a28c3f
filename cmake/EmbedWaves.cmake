# The page's copy of the two sounds: a C++ source holding each wave file's bytes, behind
# EmbeddedWave() of src/web/embedded_waves.h. Made when the build is configured, as the
# formats in WaveFormats.cmake are, from the same files.
include_guard(GLOBAL)

function(numora_embed_waves source)
  set(arrays)
  set(cases)
  foreach(id 104 106)
    set(wav ${PROJECT_SOURCE_DIR}/resources/sounds/wav${id}.wav)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${wav})
    file(READ ${wav} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # Lines of a readable length, so a diff or an editor never chokes on the file.
    string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
    string(APPEND arrays "const unsigned char kWave${id}[] = {\n${bytes}};\n")
    string(APPEND cases "    case ${id}:\n        return kWave${id};\n")
  endforeach()
  file(CONFIGURE OUTPUT ${source}
       CONTENT "// Made by cmake/EmbedWaves.cmake from resources/sounds/*.wav.
#include \"web/embedded_waves.h\"

namespace numora::web {

namespace {

@arrays@
} // namespace

const unsigned char* EmbeddedWave(int id) {
    switch (id) {
@cases@    default:
        return nullptr;
    }
}

} // namespace numora::web
" @ONLY)
endfunction()
