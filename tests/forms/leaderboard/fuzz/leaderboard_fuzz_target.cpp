// Any bytes as a leaderboard file: reading never fails or hangs, reads the same from a device as
// from memory, and load, save, load keeps the list and its ten CR LF lines
// (tools/fuzz_leaderboard.sh).
#include "forms/leaderboard/leaderboard_file.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace numora;
    const QByteArray bytes(reinterpret_cast<const char*>(data),
                           qsizetype(size)); // a copy: overreads show
    const LeaderboardList parsed = ParseLeaderboard(bytes);
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    const QByteArray saved = FormatLeaderboard(parsed);
    const bool ok = ReadLeaderboard(device) == parsed && saved.count("\r\n") == kLeaderboardSize &&
                    saved.count('\n') == kLeaderboardSize && saved.endsWith("\r\n") &&
                    ParseLeaderboard(saved) == parsed &&
                    FormatLeaderboard(ParseLeaderboard(saved)) == saved;
    if (!ok) std::abort();
    return 0;
}
