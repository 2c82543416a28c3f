// Any bytes at all as a leaderboard file: reading never fails, yields the ten places, reads
// the same from a device as from memory, and what is written back reads as the same list.
// Built as a libFuzzer target with clang, and into a replay program everywhere.
#include "forms/leaderboard/leaderboard_file.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "leaderboard fuzz: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

bool TenCrLfLines(const QByteArray& bytes) {
    if (bytes.count('\n') != numora::kLeaderboardSize) return false;
    if (bytes.count("\r\n") != numora::kLeaderboardSize) return false;
    return bytes.endsWith("\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace numora;
    // Copied, not wrapped: a view would hide reads past the end from the address checker.
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const LeaderboardList parsed = ParseLeaderboard(bytes);

    QBuffer device;
    device.setData(bytes);
    if (!device.open(QIODevice::ReadOnly)) Fail("buffer did not open");
    const LeaderboardList loaded = ReadLeaderboard(device);
    if (loaded != parsed) Fail("reading from a device differs from parsing the bytes");

    const QByteArray saved = FormatLeaderboard(loaded);
    if (!TenCrLfLines(saved)) Fail("a saved file is not exactly ten CR LF lines");
    const LeaderboardList reloaded = ParseLeaderboard(saved);
    if (reloaded != loaded) Fail("load, save, load changed the list");
    if (FormatLeaderboard(reloaded) != saved) Fail("saving the reloaded list changed the bytes");
    return 0;
}
