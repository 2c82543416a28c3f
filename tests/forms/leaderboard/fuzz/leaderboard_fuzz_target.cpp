// Any bytes as a leaderboard file: reading never fails or hangs, reads the same from a device
// as from memory, and load, save, load keeps the list and its ten CR LF lines. A libFuzzer
// target with clang (tools/fuzz_leaderboard.sh); elsewhere a main replays the corpus folder.
#include "forms/leaderboard/leaderboard_file.h"

#include <QBuffer>
#include <QDirIterator>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace numora;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));  // a copy: overreads show
    const LeaderboardList parsed = ParseLeaderboard(bytes);
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    const QByteArray saved = FormatLeaderboard(parsed);
    const bool ok = ReadLeaderboard(device) == parsed && saved.count("\r\n") == kLeaderboardSize &&
                    saved.count('\n') == kLeaderboardSize && saved.endsWith("\r\n") &&
                    ParseLeaderboard(saved) == parsed && FormatLeaderboard(ParseLeaderboard(saved)) == saved;
    if (!ok) std::abort();
    return 0;
}

#ifndef NUMORA_LIBFUZZER
int main(int argc, char* argv[]) {
    int files = 0;
    for (QDirIterator it(argc > 1 ? argv[1] : ".", QDir::Files); it.hasNext(); ++files) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) return 2;
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    }
    std::printf("%d files replayed\n", files);
    return files > 20 ? 0 : 2;
}
#endif
