// A copy of the game reduced to its saving, for the crash and race tests: it saves entries
// the way the leaderboard window does (load, offer a place, save) and reports each save on
// standard output the moment it is on disk.
//
//   leaderboard_saver loop <file> <first>      saves n<first>, n<first+1>, ... with those
//                                              scores until it is killed
//   leaderboard_saver race <file> <prefix> <think-us> <score>...
//                                              once a byte arrives on standard input, saves
//                                              <prefix><score> for each score, pausing up to
//                                              <think-us> microseconds between showing the
//                                              list and saving (the player typing a name),
//                                              then prints how it went and exits
#include "forms/leaderboard/leaderboard_file.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

#include <chrono>
#include <thread>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace numora;

namespace {

// Straight to the file descriptor: a buffered line would be lost with the process.
void Report(const QByteArray& line) {
    const QByteArray out = line + '\n';
    qsizetype done = 0;
    while (done < out.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, out.constData() + done, size_t(out.size() - done));
        if (n <= 0) std::_Exit(3);
        done += n;
    }
}

// One save as the window makes it: the place offered on the list as loaded, then the save,
// which works the place out again if another copy changed the file meanwhile.
SaveStatus SaveOnce(const QString& path, const QString& name, qint64 score, int thinkUs,
                    int& lockRetries) {
    for (;;) {
        const LoadResult loaded = LoadLeaderboard(path);
        if (loaded.status == LoadStatus::Unreadable) return SaveStatus::ReadFailed;
        const int offered = loaded.fresh() ? 0 : FindPlace(loaded.list, score);
        if (offered < 0) return SaveStatus::NoLongerPlaced;
        if (thinkUs > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(
                QRandomGenerator::global()->bounded(thinkUs)));
        const SaveResult saved = SaveLeaderboardEntry(path, loaded.list, offered, name, score);
        // The player would press the button again.
        if (saved.status == SaveStatus::LockFailed) {
            ++lockRetries;
            continue;
        }
        return saved.status;
    }
}

// Loads the name encoding before the first timed save, then says so.
void WarmUpAndReport() {
    ParseLeaderboard(FormatLeaderboard(PlaceholderList()));
    Report("ready");
}

int Usage() {
    std::fprintf(stderr, "usage: leaderboard_saver loop <file> <first> | "
                         "race <file> <prefix> <think-us> <score>...\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) return Usage();
    const QByteArray command = argv[1];
    const QString path = QString::fromLocal8Bit(argv[2]);
    int lockRetries = 0;

    if (command == "loop") {
        WarmUpAndReport();
        for (qint64 seq = QByteArray(argv[3]).toLongLong();; ++seq) {
            const SaveStatus status =
                SaveOnce(path, QStringLiteral("n%1").arg(seq), seq, 0, lockRetries);
            if (status != SaveStatus::Saved) {
                Report("failed " + QByteArray::number(int(status)));
                return 1;
            }
            Report("saved " + QByteArray::number(seq));
        }
    }

    if (command == "race") {
        if (argc < 5) return Usage();
        const QString prefix = QString::fromLocal8Bit(argv[3]);
        const int thinkUs = QByteArray(argv[4]).toInt();
        // Both copies start saving together, once each has said it is ready.
        WarmUpAndReport();
        char go = 0;
        if (::read(STDIN_FILENO, &go, 1) != 1) return 1;
        int saved = 0;
        int notPlaced = 0;
        for (int i = 5; i < argc; ++i) {
            const qint64 score = QByteArray(argv[i]).toLongLong();
            switch (SaveOnce(path, prefix + QString::number(score), score, thinkUs,
                             lockRetries)) {
            case SaveStatus::Saved: ++saved; break;
            case SaveStatus::NoLongerPlaced: ++notPlaced; break;
            default: Report("failed at " + QByteArray::number(score)); return 1;
            }
        }
        Report("saved " + QByteArray::number(saved) + " not-placed " +
               QByteArray::number(notPlaced) + " lock-retries " + QByteArray::number(lockRetries));
        return 0;
    }
    return Usage();
}
