// Catches a save that a SIGKILL can leave half written (the list must be as before or after
// one save) and a save that a second copy racing it can lose. Real processes; Linux only.
#include "forms/leaderboard/leaderboard_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace numora;

// The file after saving "n1",1 up to "nTop",top: best first, "0,0" where no one scored.
static QByteArray Listed(qint64 top) {
    QByteArray bytes;
    for (qint64 s = top; s > top - kLeaderboardSize; --s) bytes += s > 0 ? QByteArray("n%1,%1\r\n").replace("%1", QByteArray::number(s)) : "0,0\r\n";
    return bytes;
}

// Saves first, first + step, ... as a player would (a score that ten others saved meanwhile
// beat is not saved), trying again while another copy holds the lock; writes each score done
// to `out`. Starts once `go` can be read, if given.
static pid_t Saver(const QString& path, qint64 first, qint64 step, int count, int out, int go = -1) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    char c;
    if (go >= 0 && read(go, &c, 1) != 1) _exit(1);
    for (qint64 score = first; count-- > 0; score += step) {
        SaveStatus status = SaveStatus::LockFailed;
        while (status == SaveStatus::LockFailed) {
            const LoadResult loaded = LoadLeaderboard(path);
            const int place = loaded.fresh() ? 0 : FindPlace(loaded.list, score);
            status = place < 0 ? SaveStatus::NoLongerPlaced : SaveLeaderboardEntry(path, loaded.list, place, "n" + QString::number(score), score).status;
        }
        if ((status != SaveStatus::Saved && status != SaveStatus::NoLongerPlaced) || (out >= 0 && write(out, &score, sizeof score) != sizeof score)) _exit(1);
    }
    _exit(0);
}

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath("kavex1.tmp");
    qint64 last = 0;
    for (int round = 0; round < 60; ++round) {
        int fd[2];
        if (pipe(fd) != 0) return 2;
        const pid_t pid = Saver(path, last + 1, 1, 1 << 20, fd[1]);
        close(fd[1]);
        for (int n = round % 4; n > 0 && read(fd[0], &last, sizeof last) == sizeof last; --n) {}
        usleep(useconds_t(round * 37 % 3000));
        kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        while (read(fd[0], &last, sizeof last) == sizeof last) {}
        close(fd[0]);
        QFile::remove(path + ".lock");  // the killed copy never releases it
        QFile file(path);
        const QByteArray now = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (now != Listed(last) && now != Listed(last + 1) && !(last == 0 && now.isEmpty()))
            return std::fprintf(stderr, "FAIL: killed after saving %lld, the file holds:\n%s", qint64(last), now.constData()), 1;
        last += now == Listed(last + 1);
    }
    // Two copies saving 400 interleaved scores each at once: the ten best of all 800 remain.
    QFile::remove(path);
    int go[2];
    if (pipe(go) != 0) return 2;
    const pid_t a = Saver(path, 1, 2, 400, -1, go[0]), b = Saver(path, 2, 2, 400, -1, go[0]);
    if (write(go[1], "gg", 2) != 2) return 2;
    int statusA = 0, statusB = 0;
    waitpid(a, &statusA, 0), waitpid(b, &statusB, 0);
    QFile file(path);
    if (statusA || statusB || !file.open(QIODevice::ReadOnly) || file.readAll() != Listed(800))
        return std::fprintf(stderr, "FAIL: a racing copy failed or its save was lost\n"), 1;
    std::printf("PASS: 60 kills, last score %lld\n", qint64(last));
}
