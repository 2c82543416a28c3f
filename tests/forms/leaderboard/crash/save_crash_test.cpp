// Catches a save that a SIGKILL can leave half written, and a save that a second copy racing
// it can lose. Real processes; Linux only.
#include "forms/leaderboard/leaderboard_file.h"

#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace numora;

// The file after saving "n1",1 up to "nTop",top: best first, "0,0" where no one scored.
static QByteArray Listed(qint64 top) {
    QByteArray bytes;
    for (qint64 s = top; s > top - kLeaderboardSize; --s)
        bytes += s > 0 ? QByteArray("n%1,%1\r\n").replace("%1", QByteArray::number(s)) : "0,0\r\n";
    return bytes;
}

static int Fail(const char* what, const QByteArray& file = {}) {
    std::fprintf(stderr, "FAIL: %s\n%s", what, file.constData());
    return 1;
}

static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Saves first, first + step, ... once `go` can be read, as a player would: again while another
// copy holds the lock, not once ten others beat it meanwhile; never once the test is gone.
static pid_t Saver(const QString& path, qint64 first, qint64 step, int count, int go) {
    const pid_t parent = getpid(), pid = fork();
    if (pid != 0) return pid;
    char c;
    if (read(go, &c, 1) != 1) _exit(1);
    for (qint64 score = first; count-- > 0 && getppid() == parent; score += step) {
        SaveStatus status = SaveStatus::LockFailed;
        while (status == SaveStatus::LockFailed && getppid() == parent) {
            const LoadResult loaded = LoadLeaderboard(path);
            const int place = loaded.fresh() ? 0 : FindPlace(loaded.list, score);
            status = place < 0 ? SaveStatus::NoLongerPlaced
                               : SaveLeaderboardEntry(path, loaded.list, place,
                                                      "n" + QString::number(score), score)
                                     .status;
        }
        if (status != SaveStatus::Saved && status != SaveStatus::NoLongerPlaced) _exit(1);
    }
    _exit(0);
}

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath("kavex1.tmp");
    int go[2];
    if (pipe(go) != 0) return 2;
    // Killed at a different moment each round, a copy leaves whole lists, never losing one.
    for (qint64 round = 0, top = 0; round < 60; ++round) {
        const pid_t pid = Saver(path, top + 1, 1, 1 << 20, go[0]);
        if (write(go[1], "g", 1) != 1) return 2;
        usleep(useconds_t(round * 53 % 3000));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        QFile::remove(path + ".lock"); // the killed copy never releases it
        const QByteArray now = Read(path);
        const qint64 was = top;
        top = now.startsWith('n') ? now.mid(1, now.indexOf(',') - 1).toLongLong() : 0;
        if ((now != Listed(top) && !(top == 0 && now.isEmpty())) || top < was)
            return Fail("a killed save left this file:", now);
    }
    // Two copies saving 400 interleaved scores each at once: the ten best of all 800 remain.
    QFile::remove(path);
    const pid_t racers[] = {Saver(path, 1, 2, 400, go[0]), Saver(path, 2, 2, 400, go[0])};
    if (write(go[1], "gg", 2) != 2) return 2;
    for (pid_t racer : racers) {
        int status = 0;
        waitpid(racer, &status, 0);
        if (status != 0) return Fail("a racing copy failed");
    }
    if (Read(path) != Listed(800)) return Fail("a racing copy's save was lost:", Read(path));
}
