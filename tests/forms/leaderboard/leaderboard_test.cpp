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
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace numora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size); // the fuzz target's checks

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
QByteArray Zeros(int n) {
    return QByteArray("0,0\r\n").repeated(n);
}

// A legacy GBK file: scores past 16 bits and below zero, two lines beyond the ten.
const QByteArray kLegacy =
    "\xd5\xc5\xc8\xfd,50000\r\n\xc0\xee\xcb\xc4,40000\r\n1,30000\r\n2,20000\r\n3,10000\r\n"
    "4,5000\r\n5,1000\r\n6,500\r\n7,100\r\n8,-5\r\n9,9\r\n10,10\r\n";

} // namespace

class LeaderboardTest : public QObject {
    Q_OBJECT
    QList<QByteArray> corpus_;

  private slots:
    // The corpus is read first: once the test runs as "nobody" (as root, permissions would not
    // hold), a source tree that is root's alone is closed to it.
    void initTestCase() {
        for (const QString& folder :
             qEnvironmentVariable("NUMORA_CORPUS", NUMORA_CORPUS).split(':'))
            for (QDirIterator it(folder, QDir::Files); it.hasNext();)
                corpus_ << Read(it.next());
        QVERIFY(geteuid() || (setgid(65534) == 0 && setuid(65534) == 0));
    }

    void table_data() {
        QTest::addColumn<QString>(
            "at"); // what is at the path: file, none, folder, pipe, unreadable, readonly
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<qint64>("score");
        QTest::addColumn<int>("offered"); // the place offered, -1 for none
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>(
            "after"); // the bytes saved; or, after "!", what the message says
        // A missing file is created; place 1 whatever the score; a comma becomes "，". A
        // character CP936 has is in its bytes ("€" 80), others in GB18030's: U+E76C too, whose
        // CP936 code A2 E3 is "€" to GB18030.
        QTest::newRow("missing file, typed name")
            << "none" << QByteArray() << qint64(0) << 0 << "小明,1€😀\uE76C"
            << "\xd0\xa1\xc3\xf7\xa3\xac"
               "1\x80\x94\x39\xfc\x36\x83\x36\xc7\x39,0\r\n" +
                   Zeros(9);
        // Untouched lines come back byte for byte; the new entry goes below a tie.
        QTest::newRow("legacy GBK file, twelve lines")
            << "file" << kLegacy << qint64(100) << 9 << "乐乐"
            << kLegacy.left(kLegacy.indexOf("8,-5")) + "\xc0\xd6\xc0\xd6,100\r\n";
        QTest::newRow("legacy GBK file, beats the top")
            << "file" << kLegacy << qint64(50001) << 0 << "Bo"
            << "Bo,50001\r\n" + kLegacy.left(kLegacy.indexOf("8,-5"));
        QTest::newRow("no place: ties with the tenth")
            << "file" << kLegacy << qint64(-5) << -1 << "" << QByteArray();
        // Damaged lines count as zero and come back as they were.
        QTest::newRow("damaged lines")
            << "file" << QByteArray("\nx\n,12\r\na,1e3\r\nb,99999999999999999999\r\nc, -7 \r\n")
            << qint64(1) << 0 << "d"
            << "d,1\r\n\r\nx\r\n,12\r\na,1e3\r\nb,99999999999999999999\r\nc, -7 \r\n" + Zeros(3);
        QTest::newRow("a folder at the path")
            << "folder" << QByteArray() << qint64(5) << 0 << "e" << QByteArray("!这个文件读不出来");
        QTest::newRow("a named pipe at the path")
            << "pipe" << QByteArray() << qint64(5) << 0 << "e" << QByteArray("!这个文件读不出来");
        QTest::newRow("an unreadable file")
            << "unreadable" << kLegacy << qint64(5) << 0 << "e" << QByteArray("!这个文件读不出来");
        // A save that fails names what failed, and changes nothing.
        QTest::newRow("read-only folder, no file") << "readonly" << QByteArray() << qint64(5) << 0
                                                   << "e" << QByteArray("!这个文件夹不能写入");
        QTest::newRow("read-only folder, a file") << "readonly" << kLegacy << qint64(200) << 8
                                                  << "e" << QByteArray("!这个文件夹不能写入");
        QTest::newRow("read-only file")
            << "rofile" << kLegacy << qint64(200) << 8 << "e" << QByteArray("!这个文件不能写入");
        // CP936's lone byte 0x80 is "€" (it showed as "�" and came back as 84 31 A4 37), but 0x80
        // after a lead byte is a trail; a two-byte code and a digit are not a four-byte code.
        QTest::newRow("CP936 euro") << "cp936"
                                    << QByteArray("\x80\x81\x80\xd5\xc5"
                                                  "1\x81\x30\x84\x36\x80,900\r\n")
                                    << qint64(865) << 1 << "新"
                                    << "\x80\x81\x80\xd5\xc5"
                                       "1\x81\x30\x84\x36\x80,900\r\n\xd0\xc2,865\r\n" +
                                           Zeros(8);
        // A list beside the program, none yet in the player's folder, was ignored: it is read,
        // and the save goes to the player's folder only.
        QTest::newRow("a list beside the program")
            << "beside" << QByteArray("ann,90\r\nbob,80\r\ncid,70\r\n") << qint64(75) << 2 << "dan"
            << "ann,90\r\nbob,80\r\ndan,75\r\ncid,70\r\n" + Zeros(6);
        // One there but unreadable counts as none: a fresh list, place 1 whatever the score.
        QTest::newRow("an unreadable list beside the program")
            << "beside, unreadable" << kLegacy << qint64(0) << 0 << "e"
            << "e,0\r\n" + Zeros(9);
        // Another copy filled the list while the name was typed: said so, the list that beat
        // the score shown, nothing written.
        QTest::newRow("place taken meanwhile") << "meanwhile" << QByteArray() << qint64(7) << 0
                                               << "x" << QByteArray("!您的分数已经进不了前十名了");
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
        if (at.endsWith("unreadable"))
            QVERIFY(QFile::setPermissions(at.startsWith("beside") ? beside : path, {}));
        if (at == "rofile") QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        if (at == "readonly")
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));

        test::FakeSound sound;
        Form2 form(sound, dir.path(), program.path());
        form.ShowFor(3, score);
        QCOMPARE(sound.played, std::vector<Sound>{Sound::Milestone});
        if (at == "none") { // a missing list is made at once, as the original did; the window's
                            // places, sizes and fonts
            QCOMPARE(Read(path), Zeros(10));
            QString layout = form.windowTitle() + " " + QString::number(form.width()) + "x" +
                             QString::number(form.height());
            for (const char* name : {"Labt", "Text1", "Command1", "Label1_9", "Label2_1"}) {
                const QWidget* c = form.findChild<QWidget*>(name);
                layout += QStringLiteral(" %1,%2 %3x%4 %5%6")
                              .arg(c->x())
                              .arg(c->y())
                              .arg(c->width())
                              .arg(c->height())
                              .arg(c->font().pointSizeF())
                              .arg(c->font().bold() ? "b" : "");
            }
            QCOMPARE(layout, QStringLiteral("排行榜 312x339 24,16 217x25 9b 24,40 217x25 %1 256,40 "
                                            "41x25 %1 24,296 81x25 %1 152,104 89x25 %1")
                                 .arg(QFont().pointSizeF()));
        }
        QCOMPARE(form.newPos(), offered);
        auto* box = form.findChild<QLineEdit*>("Text1");
        QCOMPARE(box->isVisible(), offered >= 0);
        QCOMPARE(form.findChild<QLabel*>("Labt")->text(),
                 offered >= 0 ? QStringLiteral("恭喜恭喜!您上榜了。您的大名:")
                              : QStringLiteral("排行榜"));
        if (!at.endsWith("unreadable") && before.startsWith("\xd5\xc5"))
            QCOMPARE(form.findChild<QLabel*>("Label1_0")->text() +
                         form.findChild<QLabel*>("Label2_9")->text(),
                     "张三-5");
        if (before.startsWith("\nx")) { // a line without a comma is a score alone; one before the
                                        // comma, an empty name
            QString shown;
            for (int k = 0; k < 6; ++k)
                shown += form.findChild<QLabel*>(QStringLiteral("Label1_%1").arg(k))->text() + "," +
                         form.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(k))->text() + " ";
            QCOMPARE(shown, "0,0 0,0 ,12 a,0 b,0 c,-7 ");
        }
        if (at == "cp936")
            QCOMPARE(form.findChild<QLabel*>("Label1_0")->text(),
                     "€" + QStringDecoder("GB18030").decode("\x81\x80") + "张1" +
                         QStringDecoder("GB18030").decode("\x81\x30\x84\x36") + "€");
        QCOMPARE(QDir(program.path()).entryList(QDir::Files | QDir::Hidden),
                 at.startsWith("beside") ? QStringList{"kavex3.tmp"} : QStringList{});
        QByteArray atSave =
            before.isEmpty() || at.startsWith("beside") ? QByteArray("<unreadable>") : before;
        if (at == "meanwhile") Write(path, atSave = QByteArray("a,9\r\n").repeated(10));
        if (offered < 0) {
            QCOMPARE(Read(path), atSave);
            return;
        }
        box->setText(name);
        QTest::keyClick(box, Qt::Key_Enter);
        if (after.startsWith('!')) {
            QVERIFY(form.message() && form.message()->isVisible());
            QVERIFY2(form.message()->text().contains(QString::fromUtf8(after.mid(1))),
                     qPrintable(form.message()->text()));
            QVERIFY(at == "meanwhile" ||
                    form.message()->text().contains(QDir::toNativeSeparators(path)));
            QVERIFY(form.isVisible());
            QCOMPARE(form.findChild<QLabel*>("Labt")->text() +
                             form.findChild<QLabel*>("Label1_9")->text() ==
                         "排行榜a",
                     at == "meanwhile");
            QCOMPARE(QFileInfo(path).isDir(), at == "folder");
            QFile::setPermissions(path, QFile::ReadOwner);
            if (at != "pipe") QCOMPARE(Read(path), atSave);
            form.ShowFor(3, score); // a new opening starts afresh
            QVERIFY((!form.message() || !form.message()->isVisible()) && box->text().isEmpty());
        } else {
            QCOMPARE(Read(path), after);
            QVERIFY(!form.message() && !form.isVisible());
            form.Command1_Click(); // the offer is used up: never saved twice
            QCOMPARE(Read(path), after);
        }
    }

    // The fuzz target's checks on its corpus: seeds and every past finding (NUMORA_CORPUS adds
    // folders, ":"-separated).
    void corpus() {
        for (const QByteArray& bytes : corpus_)
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   std::size_t(bytes.size()));
        QVERIFY(corpus_.size() > 20);
    }

    // A lock held by another copy, a full disk, a write failing at its last flush: each named
    // as it is, the system's reason kept, the file unchanged (a flush failure once emptied the
    // file and reported it saved). Then scores that do not fit, names that cannot be stored as
    // typed, huge files, and the folder choice.
    void causesAndEdges() {
        QTemporaryDir dir;
        const QString path = LeaderboardFilePath(dir.path(), 1);
        Write(path, Zeros(10));
        QLockFile other(path + ".lock");
        QVERIFY(other.tryLock(0));
        SaveResult r = SaveLeaderboardEntry(path, PlaceholderList(), 0, "n", 5, 0);
        QVERIFY(r.status == SaveStatus::LockFailed &&
                Form2::MessageFor(r).contains("另一个正在玩的游戏"));
        other.unlock();
        QFile full("/dev/full");
        QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && full.write("\n") < 0);
        r = WriteFailure(path, full);
        QVERIFY(r.status == SaveStatus::DiskFull && r.detail == "No space left on device" &&
                Form2::MessageFor(r).contains("磁盘已满"));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        const rlimit small{200, before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        r = SaveLeaderboardEntry(path, PlaceholderList(), 0, QString(300, 'N'), 5, 0);
        setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY(r.status == SaveStatus::WriteFailed && r.detail == "File too large" &&
                Form2::MessageFor(r).contains("这个文件没能写入"));
        QCOMPARE(Read(path), Zeros(10));
        QCOMPARE(ParseScore("9223372036854775808") + ParseScore("+") + ParseScore("1 2"), 0);
        QCOMPARE(ParseScore("\t+42 "), 42);
        QCOMPARE(SanitizeName(QString("a\r\nb\tc") + QChar(0xD800) + "d,😀"),
                 QStringLiteral("abcd，😀")); // a pair at the end kept
        // A huge file is read only as far as its tenth line, and never past 16 MiB.
        QBuffer lines, line;
        lines.setData(QByteArray("a,1\n").repeated(1 << 20));
        line.setData(QByteArray(17 << 20, 'x'));
        QVERIFY(lines.open(QIODevice::ReadOnly) && line.open(QIODevice::ReadOnly));
        QCOMPARE(ReadLeaderboard(lines)[9].score + ReadLeaderboard(line)[0].score, 1);
        QVERIFY(lines.pos() < (1 << 20) && line.pos() == (16 << 20));
        const auto writable = qScopeGuard([&] {
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        QCOMPARE(ChooseLeaderboardFolder(dir.path(), "/nonexistent/user"), dir.path());
        QVERIFY(
            !IsWritableFolder(dir.path() + "/gone")); // a folder removed meanwhile is named as such
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(ChooseLeaderboardFolder(dir.path(), dir.path() + "-user/numora"),
                 dir.path() + "-user/numora");
        QVERIFY(QFileInfo(dir.path() + "-user/numora").isDir());
        QDir(dir.path() + "-user").removeRecursively();
    }
};

QTEST_MAIN(LeaderboardTest)
#include "leaderboard_test.moc"
