# The two sounds' formats and lengths, read from their wave headers when the build is
# configured: the program's only wave files are its own, so it carries numbers, not a
# parser. Both editions read them, so a view can time a wait for a sound by its length
# without asking the audio device. A file not in the canonical 44-byte PCM form stops the
# configure.
include_guard(GLOBAL)

# The little-endian field of `size` bytes at `at` of the header read into `hex`.
macro(numora_le at size var)
  set(${var} 0)
  foreach(k RANGE 1 ${size})
    math(EXPR pos "(${at} + ${size} - ${k}) * 2")
    string(SUBSTRING "${hex}" ${pos} 2 byte)
    math(EXPR ${var} "${${var}} * 256 + 0x${byte}")
  endforeach()
endmacro()

# Writes `header`, a C++ header with kEmbeddedWaveFormats: each sound's id, rate, channels,
# bits, data bytes and length in milliseconds.
function(numora_wave_formats header)
  set(numora_wave_lines)
  foreach(id 104 106)
    set(wav ${PROJECT_SOURCE_DIR}/resources/sounds/wav${id}.wav)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${wav})
    file(READ ${wav} hex LIMIT 44 HEX)
    file(SIZE ${wav} bytes)
    string(LENGTH "${hex}" length)
    if(length EQUAL 88)
      string(SUBSTRING "${hex}" 0 8 riff)
      string(SUBSTRING "${hex}" 16 16 wave_fmt)
      string(SUBSTRING "${hex}" 72 8 data)
      numora_le(4 4 riff_size)
      numora_le(16 4 fmt_size)
      numora_le(20 2 tag)
      numora_le(22 2 channels)
      numora_le(24 4 rate)
      numora_le(28 4 byte_rate)
      numora_le(32 2 block)
      numora_le(34 2 bits)
      numora_le(40 4 data_bytes)
    endif()
    if(NOT length EQUAL 88 OR NOT riff STREQUAL "52494646"
       OR NOT wave_fmt STREQUAL "57415645666d7420" OR NOT data STREQUAL "64617461"
       OR NOT fmt_size EQUAL 16 OR NOT tag EQUAL 1 OR channels LESS 1
       OR NOT (bits EQUAL 8 OR bits EQUAL 16) OR rate LESS 1)
      message(FATAL_ERROR "${wav} is not a wave file in the canonical 44-byte PCM form "
                          "(RIFF, WAVE, a 16-byte fmt chunk of PCM in 8 or 16 bits, then data)")
    endif()
    math(EXPR block_wanted "${channels} * ${bits} / 8")
    math(EXPR rate_wanted "${rate} * ${block_wanted}")
    math(EXPR end "44 + ${data_bytes}")
    math(EXPR riff_wanted "36 + ${data_bytes}")
    if(NOT block EQUAL block_wanted OR NOT byte_rate EQUAL rate_wanted
       OR NOT bytes EQUAL end OR NOT riff_size EQUAL riff_wanted)
      message(FATAL_ERROR "${wav}: its header does not add up (block ${block}, ${byte_rate} "
                          "bytes/s, ${data_bytes} data bytes in a file of ${bytes})")
    endif()
    # Rounded up: a caller that waits must not move on while the sound still plays.
    math(EXPR ms "(${data_bytes} * 1000 + ${byte_rate} - 1) / ${byte_rate}")
    string(APPEND numora_wave_lines
           "    {${id}, ${rate}, ${channels}, ${bits}, ${data_bytes}, ${ms}},\n")
  endforeach()
  file(CONFIGURE OUTPUT ${header}
       CONTENT "// Made by cmake/WaveFormats.cmake from the headers of resources/sounds/*.wav.
#pragma once

namespace numora {

struct EmbeddedWaveFormat {
    int id;
    int sampleRate;
    int channels;
    int bitsPerSample;
    int dataBytes;
    int durationMs;
};
inline constexpr int kWaveHeaderBytes = 44;
inline constexpr EmbeddedWaveFormat kEmbeddedWaveFormats[] = {
@numora_wave_lines@};

} // namespace numora
" @ONLY)
endfunction()
