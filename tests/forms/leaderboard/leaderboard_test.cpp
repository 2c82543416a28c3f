// The leaderboard as one table: what is at the file's path, what the window offers the final
// score, and the exact bytes on disk after the player confirms a name.
#include "forms/leaderboard/form2.h"
#include "support/fake_sound.h"

#include <QBuffer>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace numora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return file.error() ? QByteArray("<unreadable>") : bytes;
}
void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
QByteArray Zeros(int n) {
    return QByteArray("0,0\r\n").repeated(n);
}
// What stands at the path: a link, a folder, a file, anything.
QList<bool> Kind(const QString& path) {
    const QFileInfo info(path);
    return {info.isSymLink(), info.isDir(), info.isFile(), info.exists()};
}
// A row of the window as the player reads it.
QString Shown(const Form2& form, int k) {
    return form.findChild<QLabel*>(QStringLiteral("Label1_%1").arg(k))->text() + "," +
           form.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(k))->text();
}
void Row(const char* tag, const char* at, const QByteArray& before, qint64 score, int offered,
         const QString& name, const QByteArray& after) {
    QTest::newRow(tag) << QString(at) << before << score << offered << name << after;
}
// Saving into `bytes` in `folder` fails as `status`, in the system's words and the player's; the
// old file stays whole and nothing else is left beside it.
void SaveFails(const QString& folder, const QByteArray& bytes, SaveStatus status,
               const QString& detail, const QString& said) {
    const QString path = LeaderboardFilePath(folder, 1);
    Write(path, bytes);
    const SaveResult r = SaveLeaderboardEntry(path, {}, -1, QString(300, 'N'), 5, 0);
    QVERIFY2(r.status == status && r.detail == detail && Form2::MessageFor(r).contains(said),
             qPrintable(r.detail));
    QCOMPARE(Read(path), bytes);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"kavex1.tmp"});
}

// A legacy GBK file: scores past 16 bits and below zero, two lines beyond the ten.
const QByteArray kLegacy =
    "\xd5\xc5\xc8\xfd,50000\r\n\xc0\xee\xcb\xc4,40000\r\n1,30000\r\n2,20000\r\n3,10000\r\n"
    "4,5000\r\n5,1000\r\n6,500\r\n7,100\r\n8,-5\r\n9,9\r\n10,10\r\n";

} // namespace

class LeaderboardTest : public QObject {
    Q_OBJECT
    QList<QByteArray> corpus_;
    QTemporaryDir small_;
    QString smallDisk_; // a disk of 64 KiB, when one could be mounted

  private slots:
    // The corpus is read first: once the test runs as "nobody" (as root, permissions would not
    // hold), a source tree that is root's alone is closed to it. The small disk is mounted while
    // root, seen by this process alone, so even a crashed run leaves no mount behind; root is
    // kept as the saved user only to take it down at the end.
    void initTestCase() {
        for (const QString& folder :
             qEnvironmentVariable("NUMORA_CORPUS", NUMORA_CORPUS).split(':'))
            for (QDirIterator it(folder, QDir::Files); it.hasNext();)
                corpus_ << Read(it.next());
        if (geteuid() == 0 && unshare(CLONE_NEWNS) == 0 &&
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            mount("tmpfs", qPrintable(small_.path()), "tmpfs", 0, "size=64k,uid=65534") == 0)
            smallDisk_ = small_.path();
        QVERIFY(geteuid() || (setresgid(65534, 65534, 65534) == 0 &&
                              setresuid(65534, 65534, smallDisk_.isEmpty() ? 65534 : 0) == 0));
        // A changed user may no longer open its own /proc/self/mem, the file whose read fails.
        QCOMPARE(prctl(PR_SET_DUMPABLE, 1), 0);
    }
    void cleanupTestCase() {
        if (!smallDisk_.isEmpty()) QVERIFY(seteuid(0) == 0 && umount(qPrintable(smallDisk_)) == 0);
    }

    void table_data() {
        // What is at the path: file, none, folder, pipe, unreadable, eio, readonly, rofile, ...
        QTest::addColumn<QString>("at");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<qint64>("score");
        QTest::addColumn<int>("offered"); // the place offered, -1 for none
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("after"); // the bytes saved; or, after "!", the message
        // A missing file is created; place 1 whatever the score; a comma becomes "，". A
        // character CP936 has is in its bytes ("€" 80), others in GB18030's: U+E76C too, whose
        // CP936 code A2 E3 is "€" to GB18030.
        Row("missing file, typed name", "none", {}, 0, 0, "小明,1€😀\uE76C",
            "\xd0\xa1\xc3\xf7\xa3\xac"
            "1\x80\x94\x39\xfc\x36\x83\x36\xc7\x39,0\r\n" +
                Zeros(9));
        // Untouched lines come back byte for byte; the new entry goes below a tie.
        const QByteArray top = kLegacy.left(kLegacy.indexOf("8,-5"));
        Row("legacy GBK file", "file", kLegacy, 100, 9, "乐乐", top + "\xc0\xd6\xc0\xd6,100\r\n");
        Row("legacy GBK file, beats the top", "file", kLegacy, 50001, 0, "Bo",
            "Bo,50001\r\n" + top);
        Row("no place: ties with the tenth", "file", kLegacy, -5, -1, "", {});
        // Damaged lines count as zero and come back as they were.
        const QByteArray damaged = "\nx\n,12\r\na,1e3\r\nb,99999999999999999999\r\nc, -7 \r\n";
        Row("damaged lines", "file", damaged, 1, 0, "d",
            "d,1\r\n\r\nx\r\n,12\r\na,1e3\r\nb,99999999999999999999\r\nc, -7 \r\n" + Zeros(3));
        // A list that cannot be read is said as the window opens, and no name is asked for.
        Row("a folder at the path", "folder", {}, 5, -1, "", "!排行榜文件读不出来");
        Row("a named pipe at the path", "pipe", {}, 5, -1, "", "!排行榜文件读不出来");
        Row("an unreadable file", "unreadable", kLegacy, 5, -1, "", "!排行榜文件读不出来");
        Row("a file whose reading fails", "eio", {}, 5, -1, "", "!排行榜文件读不出来");
        // A save that fails names what failed, and changes nothing.
        Row("read-only folder, no file", "readonly", {}, 5, 0, "e", "!这个文件夹不能写入");
        Row("read-only folder, a file", "readonly", kLegacy, 200, 8, "e", "!这个文件夹不能写入");
        Row("read-only file", "rofile", kLegacy, 200, 8, "e", "!这个文件不能写入");
        // CP936's lone byte 0x80 is "€" (it showed as "�" and came back as 84 31 A4 37), but 0x80
        // after a lead byte is a trail; a two-byte code and a digit are not a four-byte code.
        const QByteArray euro = "\x80\x81\x80\xd5\xc5"
                                "1\x81\x30\x84\x36\x80,900\r\n";
        Row("CP936 euro", "cp936", euro, 865, 1, "新", euro + "\xd0\xc2,865\r\n" + Zeros(8));
        // A list beside the program, none yet in the player's folder, was ignored: it is read,
        // and the save goes to the player's folder only.
        Row("a list beside the program", "beside", "ann,90\r\nbob,80\r\ncid,70\r\n", 75, 2, "dan",
            "ann,90\r\nbob,80\r\ndan,75\r\ncid,70\r\n" + Zeros(6));
        // One there but unreadable counts as none: a fresh list, place 1 whatever the score.
        Row("an unreadable list beside the program", "beside, unreadable", kLegacy, 0, 0, "e",
            "e,0\r\n" + Zeros(9));
        // Another copy filled the list while the name was typed: said so, the list that beat
        // the score shown, nothing written.
        Row("place taken meanwhile", "meanwhile", {}, 7, 0, "x", "!您的分数已经进不了前十名了");
    }

    void table() {
        QFETCH(QString, at);
        QFETCH(QByteArray, before);
        QFETCH(qint64, score);
        QFETCH(int, offered);
        QFETCH(QString, name);
        QFETCH(QByteArray, after);
        QTemporaryDir dir, program;
        const auto writable = qScopeGuard([&] {
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        const QString path = dir.filePath("kavex3.tmp");
        const QString beside = LeaderboardFilePath(program.path(), 3);
        if (!before.isEmpty()) Write(at.startsWith("beside") ? beside : path, before);
        if (at == "folder") QVERIFY(QDir(dir.path()).mkdir("kavex3.tmp"));
        if (at == "pipe") QCOMPARE(mkfifo(qPrintable(path), 0600), 0);
        if (at == "eio") QVERIFY(QFile::link("/proc/self/mem", path)); // address 0: EIO
        if (at.endsWith("unreadable"))
            QVERIFY(QFile::setPermissions(at.startsWith("beside") ? beside : path, {}));
        if (at == "rofile") QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        if (at == "readonly")
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));

        test::FakeSound sound;
        Form2 form(sound, dir.path(), program.path());
        form.ShowFor(3, score);
        QCOMPARE(sound.played, std::vector<Sound>{Sound::Milestone});
        if (at == "none") { // a missing list is made at once; the window's places, sizes, fonts
            QCOMPARE(Read(path), Zeros(10));
            QString layout =
                form.windowTitle() + QString(" %1x%2").arg(form.width()).arg(form.height());
            for (const char* name : {"Labt", "Text1", "Command1", "Label1_9", "Label2_1"}) {
                const QWidget* c = form.findChild<QWidget*>(name);
                layout +=
                    QString::asprintf(" %d,%d %dx%d %g%s", c->x(), c->y(), c->width(), c->height(),
                                      c->font().pointSizeF(), c->font().bold() ? "b" : "");
            }
            QCOMPARE(layout, QStringLiteral("排行榜 312x339 24,16 217x25 9b 24,40 217x25 %1 256,40 "
                                            "41x25 %1 24,296 81x25 %1 152,104 89x25 %1")
                                 .arg(QFont().pointSizeF()));
        }
        QCOMPARE(form.newPos(), offered);
        auto* box = form.findChild<QLineEdit*>("Text1");
        QCOMPARE(box->isVisible() + form.findChild<QPushButton*>("Command1")->isVisible(),
                 offered >= 0 ? 2 : 0);
        const QString labt = form.findChild<QLabel*>("Labt")->text();
        QCOMPARE(labt, offered >= 0 ? "恭喜恭喜!您上榜了。您的大名:" : "排行榜");
        if (at == "file" && before == kLegacy)
            QCOMPARE(Shown(form, 0) + " " + Shown(form, 9), "张三,50000 8,-5");
        QStringList shown;
        for (int k = 0; k < 6; ++k)
            shown << Shown(form, k);
        if (before.startsWith(
                "\nx")) // a line without a comma is a score alone; one before it, no name
            QCOMPARE(shown.join(' '), "0,0 0,0 ,12 a,0 b,0 c,-7");
        if (at == "cp936") QCOMPARE(Shown(form, 0), "€\u4e90张1\u00a5€,900");
        QCOMPARE(QDir(program.path()).entryList(QDir::Files | QDir::Hidden),
                 at.startsWith("beside") ? QStringList{"kavex3.tmp"} : QStringList{});

        QByteArray atSave =
            before.isEmpty() || at.startsWith("beside") ? QByteArray("<unreadable>") : before;
        if (at == "meanwhile") Write(path, atSave = QByteArray("a,9\r\n").repeated(10));
        const QList<bool> kind = Kind(path);
        if (offered >= 0) {
            box->setText(name);
            QTest::keyClick(box, Qt::Key_Enter);
        } else if (!after.isEmpty()) { // a save made all the same would not touch it either
            const SaveResult r = SaveLeaderboardEntry(path, form.shownList(), 0, "e", score, 0);
            QVERIFY(r.status == SaveStatus::ReadFailed &&
                    Form2::MessageFor(r).contains("这个文件读不出来"));
        }
        if (after.startsWith('!')) {
            QVERIFY(form.isVisible() && form.message() && form.message()->isVisible());
            const QString text = form.message()->text();
            QVERIFY2(text.contains(QString::fromUtf8(after.mid(1))) &&
                         (at == "meanwhile" || text.contains(QDir::toNativeSeparators(path))),
                     qPrintable(text));
            QCOMPARE(form.findChild<QLabel*>("Labt")->text() + Shown(form, 9) == "排行榜a,9",
                     at == "meanwhile");
        }
        if (offered < 0 || after.startsWith('!')) {
            QCOMPARE(Kind(path), kind);
            QFile::setPermissions(path, QFile::ReadOwner);
            if (at != "pipe") QCOMPARE(Read(path), atSave);
            form.ShowFor(3, score); // a new opening starts afresh
            QVERIFY(offered < 0 ||
                    ((!form.message() || !form.message()->isVisible()) && box->text().isEmpty()));
            return;
        }
        QCOMPARE(Read(path), after);
        QVERIFY(!form.message() && !form.isVisible());
        form.Command1_Click(); // the offer is used up: never saved twice
        QCOMPARE(Read(path), after);
        form.ShowFor(3, 0); // the name reads back as typed
        QCOMPARE(Shown(form, offered), name.replace(',', "，") + "," + QString::number(score));
    }

    // The fuzz target's checks on its corpus: seeds and every past finding (NUMORA_CORPUS adds
    // folders, ":"-separated).
    void corpus() {
        for (const QByteArray& bytes : corpus_)
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   std::size_t(bytes.size()));
        QVERIFY(corpus_.size() > 20);
    }

    // A lock held by another copy, a file-size limit: each named as it is (a flush failure once
    // emptied the file and reported it saved). Then scores that do not fit, names that cannot
    // be stored as typed, huge files, and the folder choice.
    void causesAndEdges() {
        QTemporaryDir dir;
        const QString path = LeaderboardFilePath(dir.path(), 1);
        Write(path, Zeros(10));
        QLockFile other(path + ".lock");
        QVERIFY(other.tryLock(0));
        const SaveResult r = SaveLeaderboardEntry(path, PlaceholderList(), 0, "n", 5, 0);
        QVERIFY(r.status == SaveStatus::LockFailed &&
                Form2::MessageFor(r).contains("另一个正在玩的游戏"));
        other.unlock();
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit was{};
        getrlimit(RLIMIT_FSIZE, &was);
        const rlimit small{200, was.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        SaveFails(dir.path(), Zeros(10), SaveStatus::WriteFailed, "File too large",
                  "这个文件没能写入");
        setrlimit(RLIMIT_FSIZE, &was);
        QCOMPARE(ParseScore("9223372036854775808") + ParseScore("+") + ParseScore("1 2"), 0);
        QCOMPARE(ParseScore("\t+42 "), 42);
        QCOMPARE(SanitizeName(QString("a\r\nb\tc") + QChar(0xD800) + "d,😀"), "abcd，😀");
        // A huge file is read only as far as its tenth line, and never past 16 MiB.
        QBuffer lines, line;
        lines.setData(QByteArray("a,1\n").repeated(1 << 20));
        line.setData(QByteArray(17 << 20, 'x'));
        QVERIFY(lines.open(QIODevice::ReadOnly) && line.open(QIODevice::ReadOnly));
        QCOMPARE(ReadLeaderboard(lines)->at(9).score + ReadLeaderboard(line)->at(0).score, 1);
        QVERIFY(lines.pos() < (1 << 20) && line.pos() == (16 << 20));
        const auto writable = qScopeGuard([&] {
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        QCOMPARE(ChooseLeaderboardFolder(dir.path(), "/nonexistent/user"), dir.path());
        QVERIFY(!IsWritableFolder(dir.path() + "/gone")); // a folder removed meanwhile
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(ChooseLeaderboardFolder(dir.path(), dir.path() + "-user/numora"),
                 dir.path() + "-user/numora");
        QVERIFY(QFileInfo(dir.path() + "-user/numora").isDir());
        QDir(dir.path() + "-user").removeRecursively();
    }

    // A disk that fills while the list is written: the write is cut short without an error,
    // and only writing on makes the system name the full disk (it once read "Unknown error").
    void fullDisk() {
        if (smallDisk_.isEmpty()) QSKIP("No small disk: mounting a tmpfs takes root");
        // Ten long names take nine of its sixteen pages; the new list fits only in part.
        SaveFails(smallDisk_, QByteArray(3600, 'N').append(",0\r\n").repeated(10),
                  SaveStatus::DiskFull, "No space left on device", "磁盘已满");
    }
};

QTEST_MAIN(LeaderboardTest)
#include "leaderboard_test.moc"
