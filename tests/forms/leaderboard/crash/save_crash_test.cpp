// Real processes: a SIGKILL during a save leaves a whole list, a racing copy loses no entry.
#include "forms/leaderboard/leaderboard_file.h"

#include <QTemporaryDir>

#include <csignal>
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

static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Saves first, first + step, ... once `go` can be read, as a player would: again while another
// copy holds the lock, not once ten others beat it meanwhile; never once the test is gone.
static pid_t Saver(const QString& path, qint64 first, qint64 step, int count, int go) {
    const pid_t parent = getpid(), pid = fork();
    if (pid != 0) return pid;
    if (char c; read(go, &c, 1) != 1) _exit(1);
    for (qint64 score = first; count-- > 0 && getppid() == parent; score += step) {
        SaveStatus status = SaveStatus::LockFailed;
        while (status == SaveStatus::LockFailed && getppid() == parent) {
            const LeaderboardList seen = LoadLeaderboard(path).list;
            const QString name = "n" + QString::number(score);
            status = SaveLeaderboardEntry(path, seen, FindPlace(seen, score), name, score).status;
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
            qFatal("a killed save left this file:\n%s", now.constData());
    }
    // Two copies saving 400 interleaved scores each at once: the ten best of all 800 remain.
    QFile::remove(path);
    const pid_t racers[] = {Saver(path, 1, 2, 400, go[0]), Saver(path, 2, 2, 400, go[0])};
    if (write(go[1], "gg", 2) != 2) return 2;
    for (int status = 0; pid_t racer : racers)
        if (waitpid(racer, &status, 0) != racer || status != 0) qFatal("a racing copy failed");
    if (Read(path) != Listed(800)) qFatal("a racing copy's save was lost:\n%s", Read(path).data());
}
