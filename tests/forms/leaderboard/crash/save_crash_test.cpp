// Saving under SIGKILL at any moment leaves the list before or after one save, never half of
// either; two copies saving at once lose no entry. Real processes, forked; Linux only.
#include "forms/leaderboard/leaderboard_file.h"

#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace numora;

namespace {

int failures = 0;
void Expect(bool ok, const char* what, long detail) {
    if (!ok) std::fprintf(stderr, "FAIL: %s (%ld)\n", what, detail), ++failures;
}

// Saves as the window does: the place offered on the list as read, then the save; a lock
// held too long is tried again, as the player would.
bool SaveAsAPlayer(const QString& path, qint64 score) {
    for (;;) {
        const LoadResult loaded = LoadLeaderboard(path);
        const int offered = loaded.fresh() ? 0 : FindPlace(loaded.list, score);
        const SaveStatus status = offered < 0 ? SaveStatus::NoLongerPlaced
            : SaveLeaderboardEntry(path, loaded.list, offered, QStringLiteral("n%1").arg(score), score).status;
        if (status != SaveStatus::LockFailed) return status == SaveStatus::Saved || status == SaveStatus::NoLongerPlaced;
    }
}

pid_t Child(int out, const QString& path, qint64 first, qint64 step, int count, int go) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    char c;
    if (go >= 0 && read(go, &c, 1) != 1) _exit(3);
    for (qint64 k = 0; k < count; ++k) {
        if (!SaveAsAPlayer(path, first + k * step)) _exit(1);
        const qint64 done = first + k * step;
        if (out >= 0 && write(out, &done, sizeof done) != sizeof done) _exit(2);
    }
    _exit(0);
}

}  // namespace

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath("kavex1.tmp");
    std::mt19937 random(1);
    // Kills: each child saves 1, 2, 3 ... onward from the last saved score.
    qint64 last = 0;
    for (int kill = 0; kill < 60; ++kill) {
        int pipeFd[2];
        if (pipe(pipeFd) != 0) return 2;
        const pid_t pid = Child(pipeFd[1], path, last + 1, 1, 1000000, -1);
        close(pipeFd[1]);
        for (int n = int(random() % 4); n > 0 && read(pipeFd[0], &last, sizeof last) == sizeof last; --n) {}
        usleep(random() % 3000);
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        while (read(pipeFd[0], &last, sizeof last) == sizeof last) {}
        close(pipeFd[0]);
        QFile::remove(path + ".lock");  // the killed copy will never release it
        const LoadResult now = LoadLeaderboard(path);
        QFile file(path);
        const bool whole = !file.exists() || (file.open(QIODevice::ReadOnly) && file.readAll() == FormatLeaderboard(now.list));
        Expect(whole, "the file is not ten whole lines", kill);
        const qint64 top = now.list[0].score;
        Expect(top == last || top == last + 1, "the file is neither before nor after one save", top);
        for (int k = 0; k < kLeaderboardSize; ++k) {
            const qint64 want = std::max<qint64>(top - k, 0);
            Expect(now.list[std::size_t(k)].score == want, "an entry is lost or doubled", want);
        }
        last = top;
    }
    // The race: two copies, 50 saves each, interleaved scores; the top ten of all 100 remain.
    QFile::remove(path);
    int go[2];
    if (pipe(go) != 0) return 2;
    const pid_t a = Child(-1, path, 1, 2, 50, go[0]), b = Child(-1, path, 2, 2, 50, go[0]);
    if (write(go[1], "gg", 2) != 2) return 2;
    int statusA = 0, statusB = 0;
    waitpid(a, &statusA, 0);
    waitpid(b, &statusB, 0);
    Expect(statusA == 0 && statusB == 0, "a racing copy failed to save", statusA | statusB);
    const LeaderboardList final = LoadLeaderboard(path).list;
    for (int k = 0; k < kLeaderboardSize; ++k)
        Expect(final[std::size_t(k)] == LeaderboardEntry{QStringLiteral("n%1").arg(100 - k), 100 - k}, "a racing save was lost", k);
    std::printf("%s: %d kills, last score %lld\n", failures ? "FAIL" : "PASS", 60, static_cast<long long>(last));
    return failures ? 1 : 0;
}
