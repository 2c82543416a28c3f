// Saving survives a copy of the game dying at any moment, and two copies saving at once: the
// file always holds a whole list, and no entry is lost to a race. Linux only: it kills and
// starts real processes.
#include "forms/leaderboard/leaderboard_file.h"
#include "leaderboard_fixtures.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#ifdef Q_OS_LINUX
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

using namespace numora;
using namespace numora::testing;

namespace {

#ifdef Q_OS_LINUX
// A running leaderboard_saver, the write end of its standard input and the read end of its
// standard output.
struct Saver {
    pid_t pid = -1;
    int in = -1;
    int out = -1;
};

Saver Start(const QStringList& args) {
    Saver saver;
    int in[2];
    int out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) qFatal("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    for (int fd : {in[0], in[1], out[0], out[1]}) posix_spawn_file_actions_addclose(&actions, fd);
    std::vector<QByteArray> bytes{QByteArray(NUMORA_SAVER_PATH)};
    for (const QString& arg : args) bytes.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& arg : bytes) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&saver.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        qFatal("cannot start %s", NUMORA_SAVER_PATH);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    saver.in = in[1];
    saver.out = out[0];
    return saver;
}

// Reads one line, or everything up to the end when `untilEnd`.
QByteArray Read(int fd, bool untilEnd) {
    QByteArray text;
    char c;
    while (::read(fd, &c, 1) == 1) {
        text += c;
        if (!untilEnd && c == '\n') break;
    }
    return text;
}

// Waits for the saver to end and returns its exit status, or minus the signal that ended
// it, with everything it reported.
int Finish(Saver& saver, QByteArray& reports) {
    int status = 0;
    while (::waitpid(saver.pid, &status, 0) < 0) {
    }
    reports += Read(saver.out, true);
    ::close(saver.in);
    ::close(saver.out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}
#endif

// The list after `saves` saves by the loop: n<saves> down to n<saves-9>, over the starting
// list of o0..o9 holding -1..-10.
LeaderboardList AfterSaves(qint64 saves) {
    LeaderboardList list;
    for (int k = 0; k < kLeaderboardSize; ++k) {
        const qint64 seq = saves - k;
        list[k] = seq >= 1 ? LeaderboardEntry{QStringLiteral("n%1").arg(seq), seq}
                           : LeaderboardEntry{QStringLiteral("o%1").arg(-seq), seq - 1};
    }
    return list;
}

// How many saves the list on file shows.
qint64 SavesShown(const LeaderboardList& list) {
    return list[0].name.startsWith('n') ? list[0].name.mid(1).toLongLong() : 0;
}

// The time between one crash and the next start, driven rather than waited for: a lock the
// killed saver left behind ages past its stale time, as it would before a child played
// again. Most such locks name their dead owner and are taken over at once anyway; one left
// empty (killed between creating it and writing into it) only goes stale with age: 10 s
// for ours, 30 s for the .rmlock Qt takes while removing a stale one. Returns how many
// were left empty.
int AgeLeftoverLocks(const QString& folder) {
    int empty = 0;
    const QDateTime past = QDateTime::currentDateTime().addSecs(-60);
    const QFileInfoList locks =
        QDir(folder).entryInfoList({"*.lock", "*.rmlock"}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& info : locks) {
        empty += info.size() == 0;
        QFile lock(info.filePath());
        if (lock.open(QIODevice::ReadWrite))
            lock.setFileTime(past, QFileDevice::FileModificationTime);
    }
    return empty;
}

int EnvInt(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

} // namespace

class SaveCrashTest : public QObject {
    Q_OBJECT

  private slots:
    void killedWhileSavingLeavesAWholeList();
    void twoCopiesSavingAtOnceLoseNothing_data();
    void twoCopiesSavingAtOnceLoseNothing();
};

// Each round starts the saver, lets it run for a random moment, and kills it with SIGKILL.
// NUMORA_KILLS sets the number of rounds (200 by default).
void SaveCrashTest::killedWhileSavingLeavesAWholeList() {
#ifndef Q_OS_LINUX
    QSKIP("kills real processes with SIGKILL: Linux only");
#else
    const int kills = EnvInt("NUMORA_KILLS", 200);
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 2);
    WriteFile(path, FormatLeaderboard(AfterSaves(0)));
    auto random = QRandomGenerator(EnvInt("NUMORA_KILL_SEED", 20240607));

    qint64 onFile = 0;
    int unreported = 0; // kills that came after a save was on disk but before its report
    // How long one save takes here, measured between reports: a few milliseconds, most of
    // it waiting for the disk, and ten times that under AddressSanitizer.
    qint64 saveNs = 2000000;
    QElapsedTimer clock;
    int emptyLocks = 0;
    for (int round = 0; round < kills; ++round) {
        emptyLocks += AgeLeftoverLocks(dir.path());
        Saver saver = Start({"loop", path, QString::number(onFile + 1)});
        QCOMPARE(Read(saver.out, false), QByteArray("ready\n"));
        // Up to two saves go through, then the kill falls anywhere in the next one.
        QByteArray reports;
        clock.start();
        const int letThrough = random.bounded(3);
        for (int i = 0; i < letThrough; ++i) {
            reports += Read(saver.out, false);
            const qint64 now = clock.nsecsElapsed();
            if (i > 0) saveNs = (7 * saveNs + now) / 8;
            clock.restart();
        }
        std::this_thread::sleep_for(
            std::chrono::nanoseconds(random.bounded(quint64(saveNs) * 5 / 4 + 1)));
        ::kill(saver.pid, SIGKILL);
        const int status = Finish(saver, reports);
        QVERIFY2(status == -SIGKILL, reports.constData());

        qint64 reported = onFile;
        for (const QByteArray& line : reports.split('\n')) {
            if (line.startsWith("saved ")) reported = line.mid(6).toLongLong();
            QVERIFY2(line.isEmpty() || line.startsWith("saved "), line.constData());
        }
        const QByteArray bytes = ReadFile(path);
        const LeaderboardList list = ParseLeaderboard(bytes);
        const qint64 shown = SavesShown(list);
        // The list before the save in progress, or after it: never anything in between.
        QVERIFY2(shown == reported || shown == reported + 1,
                 qPrintable(QStringLiteral("round %1: reported %2, file shows %3")
                                .arg(round).arg(reported).arg(shown)));
        QCOMPARE(bytes, FormatLeaderboard(AfterSaves(shown)));
        if (shown == reported + 1) ++unreported;
        onFile = shown;
    }
    qInfo("%d kills, %lld saves completed, %d kills between a save on disk and its report, "
          "%d locks left empty; a save takes about %lld us",
          kills, onFile, unreported, emptyLocks, saveNs / 1000);
    QVERIFY(onFile > 0);
#endif
}

void SaveCrashTest::twoCopiesSavingAtOnceLoseNothing_data() {
    QTest::addColumn<QList<qint64>>("first");
    QTest::addColumn<QList<qint64>>("second");
    QTest::addColumn<int>("thinkUs");
    // Rising scores: nearly every one takes a place, so the two copies save all the time.
    QList<qint64> odd, even;
    for (qint64 k = 0; k < 50; ++k) {
        odd << 2 * k + 1;
        even << 2 * k + 2;
    }
    QTest::newRow("rising, interleaved") << odd << even << 0;
    // A pause between the list shown and the save, as while a name is typed: the other copy
    // saves in between, so the place offered must be worked out again.
    QTest::newRow("rising, names being typed") << odd << even << 3000;
    // Shuffled: places are won and lost, and many scores no longer place by their turn.
    QList<qint64> all;
    for (qint64 k = 1; k <= 100; ++k) all << k * 7;
    auto random = QRandomGenerator(77);
    std::shuffle(all.begin(), all.end(), random);
    QTest::newRow("shuffled") << all.mid(0, 50) << all.mid(50) << 0;
    QTest::newRow("shuffled, names being typed") << all.mid(0, 50) << all.mid(50) << 3000;
}

void SaveCrashTest::twoCopiesSavingAtOnceLoseNothing() {
#ifndef Q_OS_LINUX
    QSKIP("starts real processes: Linux only");
#else
    QFETCH(QList<qint64>, first);
    QFETCH(QList<qint64>, second);
    QFETCH(int, thinkUs);
    QTemporaryDir dir;
    // No file yet: both copies also race to create it.
    const QString path = LeaderboardFilePath(dir.path(), 4);
    auto args = [&](const QString& prefix, const QList<qint64>& scores) {
        QStringList list{"race", path, prefix, QString::number(thinkUs)};
        for (qint64 score : scores) list << QString::number(score);
        return list;
    };
    Saver a = Start(args("A", first));
    Saver b = Start(args("B", second));
    QCOMPARE(Read(a.out, false), QByteArray("ready\n"));
    QCOMPARE(Read(b.out, false), QByteArray("ready\n"));
    QCOMPARE(::write(a.in, "g", 1), ssize_t(1));
    QCOMPARE(::write(b.in, "g", 1), ssize_t(1));
    QByteArray reportA;
    QByteArray reportB;
    const int statusA = Finish(a, reportA);
    const int statusB = Finish(b, reportB);
    QVERIFY2(statusA == 0, reportA.constData());
    QVERIFY2(statusB == 0, reportB.constData());
    qInfo("A: %s B: %s", reportA.trimmed().constData(), reportB.trimmed().constData());

    std::vector<LeaderboardEntry> all;
    for (qint64 score : first) all.push_back({QStringLiteral("A%1").arg(score), score});
    for (qint64 score : second) all.push_back({QStringLiteral("B%1").arg(score), score});
    std::sort(all.begin(), all.end(),
              [](const LeaderboardEntry& x, const LeaderboardEntry& y) { return x.score > y.score; });
    LeaderboardList best;
    std::copy_n(all.begin(), kLeaderboardSize, best.begin());
    QCOMPARE(ReadFile(path), FormatLeaderboard(best));
#endif
}

QTEST_GUILESS_MAIN(SaveCrashTest)
#include "save_crash_test.moc"
