// Where the player meets the edges: title bars, closing, the keyboard after a new game, old
// files' bytes, save failures, a list kept beside the program.
#include "forms/application.h"
#include "forms/hand_over.h"
#include <QLineEdit>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
using namespace numora;
namespace {
struct Quiet final : SoundPlayer {
    void Play(int) override {}
    int DurationMs(int) const override { return 0; }
};
QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
// Runs `check` as the user nobody in a child process when this one is root, whom permission
// bits do not stop; returns its exit code.
template <class Check> int AsOrdinaryUser(Check check) {
    if (::geteuid() != 0) return check();
    const pid_t child = ::fork();
    if (child == 0) ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? check() : 99);
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}
// A main window whose game is over and filling the board.
struct Filling {
    Quiet sound;
    SeededRandom random{12};
    Form1 form{sound, random};
    Filling() {
        form.show();
        form.b1_Click(2);
        form.game().editState().board(3, 0) = "5";
        form.Timer1_Timer();
    }
};
} // namespace

class EdgesTest : public QObject {
    Q_OBJECT
  private slots:
    // Fault: Qt appended the display name to every title bar ("排行榜 — Numora").
    void titleBarsReadExactly() {
        SetUpApplication();
        QCOMPARE(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
        Filling main;
        QCOMPARE(main.form.windowTitle(), QString("Numora"));
        QCOMPARE(Form2(main.sound, QString()).windowTitle(), QString("排行榜"));
        QCOMPARE(Form3().windowTitle(), QString("玩法"));
    }
    // Fault: a closed main window's game ran on unseen, then raised the leaderboard.
    void closingStopsTheGame() {
        for (const bool filling : {false, true}) {
            Filling w;
            if (!filling) w.form.b1_Click(3);
            QVERIFY(filling ? w.form.waitTimer().isActive() : w.form.timer1().isActive());
            QSignalSpy ended(&w.form, &Form1::gameEnded);
            w.form.close();
            QVERIFY(!w.form.timer1().isActive() && !w.form.timer3().isActive());
            QVERIFY(!w.form.waitTimer().isActive() && !w.form.game().state().playing);
            w.form.WaitOver();
            w.form.Timer1_Timer();
            QCOMPARE(ended.count(), 0);
        }
    }
    // Fault: a new game chosen during the fill gave the keyboard to the leaderboard's name
    // box, so the first pair fell unsteered. A fill that runs out still focuses the name.
    void keyboardAfterTheHandOver() {
        for (const bool newGame : {true, false}) {
            QTemporaryDir dir;
            Filling w;
            std::unique_ptr<Form2> form2;
            HandFinishedGamesOn(w.form, form2, w.sound, dir.path(), {});
            QVERIFY(QTest::qWaitForWindowActive(&w.form));
            if (newGame) w.form.b1_Click(3);
            for (int k = 0; !newGame && !form2 && k <= kCellCount; ++k)
                w.form.WaitOver();
            QVERIFY(form2 && form2->isVisible());
            QApplication::processEvents();
            QWidget* focus = QApplication::focusWidget();
            QCOMPARE(focus, newGame ? w.form.findChild<QWidget*>("Pict")
                                    : form2->findChild<QWidget*>("Text1"));
            const int col = w.form.game().state().blkCol[0];
            if (newGame) QTest::keyClick(focus, Qt::Key_Left); // the first pair steers
            QCOMPARE(w.form.game().state().blkCol[0], newGame ? col - 1 : col);
        }
    }
    // Fault: CP936's single byte 0x80 "€" showed as "�" and came back as 84 31 A4 37.
    // Every two-byte code of the table (lead 81..FE, trail 40..7E and 80..FE) and 0x80 alone
    // stand in nine names; after a save with a new entry each line is as it was.
    void legacyLinesComeBackByteForByte() {
        QList<QByteArray> lines(kLeaderboardSize);
        int code = 0;
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail)
                if (trail != 0x7F) lines[code++ % 9].append(char(lead)).append(char(trail));
        for (int k = 0; k < kLeaderboardSize; ++k)
            lines[k] = "\x80" + lines[k] + "\x80," + QByteArray::number(900 - 10 * k);
        QTemporaryDir dir;
        const QString path = LeaderboardFilePath(dir.path(), 1);
        Write(path, lines.join("\r\n") + "\r\n");
        const LoadResult loaded = LoadLeaderboard(path);
        QCOMPARE(loaded.list[9].name, QString("€€")); // shown as the original showed it
        QCOMPARE(SaveLeaderboardEntry(path, loaded.list, 4, "新", 865).place, 4);
        const QList<QByteArray> saved = Read(path).split('\n');
        QCOMPARE(saved.size(), kLeaderboardSize + 1);
        for (int k = 0; k < 9; ++k)
            QVERIFY2(saved[k < 4 ? k : k + 1] == lines[k] + '\r', qPrintable(QString::number(k)));
    }
    // Fault: a read-only file was blamed on its folder, and the system's reason was lost.
    void saveFailuresNameTheirCause() {
        const std::pair<SaveStatus, QString> causes[] = {
            {SaveStatus::FileNotWritable, "这个文件不能写入"},
            {SaveStatus::FolderNotWritable, "这个文件夹不能写入"},
            {SaveStatus::LockFailed, "另一个正在玩的游戏"},
            {SaveStatus::DiskFull, "磁盘已满"},
            // Fault: a write failing at the last flush emptied the file and said it was saved.
            {SaveStatus::WriteFailed, "这个文件没能写入"}};
        for (const auto& [cause, says] : causes) {
            QTemporaryDir dir;
            const QString path = LeaderboardFilePath(dir.path(), 1);
            Write(path, FormatLeaderboard(PlaceholderList()));
            const bool file = cause == SaveStatus::FileNotWritable;
            const bool folder = cause == SaveStatus::FolderNotWritable;
            QFile::setPermissions(path, QFileDevice::Permissions(file ? 0x4444 : 0x6666));
            QFile::setPermissions(dir.path(), QFileDevice::Permissions(folder ? 0x5555 : 0x7777));
            QLockFile other(path + ".lock");
            QVERIFY(cause != SaveStatus::LockFailed || other.tryLock(0));
            SaveResult result{SaveStatus::Saved, -1, path, {}};
            QFile full("/dev/full"); // a full disk: every write fails with ENOSPC
            const auto save = [&] {  // the status, or 90 when the system's reason is not with it
                const SaveResult r =
                    SaveLeaderboardEntry(path, PlaceholderList(), 0, QString(300, 'N'), 5, 0);
                return r.detail.isEmpty() ? 90 : int(r.status);
            };
            rlimit before{}; // the file size limit, set below the new list's size
            if (cause == SaveStatus::WriteFailed) {
                std::signal(SIGXFSZ, SIG_IGN);
                ::getrlimit(RLIMIT_FSIZE, &before);
                const rlimit small{200, before.rlim_max};
                ::setrlimit(RLIMIT_FSIZE, &small);
                result.status = SaveStatus(save());
                ::setrlimit(RLIMIT_FSIZE, &before);
            } else if (cause != SaveStatus::DiskFull) {
                result.status = SaveStatus(AsOrdinaryUser(save));
            } else if (full.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                       full.write("\n") < 0) {
                result = WriteFailure(path, full);
            }
            QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
            QCOMPARE(result.status, cause);
            QVERIFY(cause != SaveStatus::DiskFull || result.detail == "No space left on device");
            QVERIFY2(Form2::MessageFor(result).contains(says), qPrintable(says));
            QCOMPARE(Read(path), FormatLeaderboard(PlaceholderList()));
        }
    }
    // Fault: with the files in the player's folder, a list kept beside the program was
    // ignored (ten "0" rows). It is read, and saves go to the player's folder only.
    void listBesideTheProgramIsTheStart() {
        QTemporaryDir program, user;
        const QByteArray old = "ann,90\r\nbob,80\r\ncid,70\r\n";
        Write(LeaderboardFilePath(program.path(), 2), old);
        Quiet sound;
        Form2 form(sound, user.path(), program.path());
        form.ShowFor(2, 75);
        QCOMPARE(form.shownList()[1], (LeaderboardEntry{"bob", 80}));
        QCOMPARE(form.newPos(), 2);
        form.findChild<QLineEdit*>("Text1")->setText("dan");
        form.Command1_Click();
        const QByteArray saved = Read(LeaderboardFilePath(user.path(), 2));
        QVERIFY2(saved.startsWith("ann,90\r\nbob,80\r\ndan,75\r\ncid,70\r\n0,0\r\n"), saved);
        QCOMPARE(Read(LeaderboardFilePath(program.path(), 2)), old);
        QCOMPARE(QDir(program.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QTEST_MAIN(EdgesTest)
#include "edges_test.moc"
