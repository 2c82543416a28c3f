// The leaderboard as one table: what is at the file's path, what the window offers the final
// score, and the exact bytes on disk after the player confirms a name.
#include "forms/leaderboard/leaderboard_window.h"
#include "forms/qt_translation.h"
#include "support/fake_sound.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <fcntl.h>
#include <future>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace numora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// What is at the path (file, none, folder, pipe, ...), its bytes, the score, the place offered
// (-1: none), the name typed, the bytes saved or, after "!", what the message says ("|" details).
using Case = std::tuple<QString, QByteArray, qint64, int, QString, QByteArray>;
constexpr QFile::Permissions kOwnerAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
QString Shown(const LeaderboardWindow& form) {
    QString rows;
    for (const QLabel* label : form.findChildren<QLabel*>(QRegularExpression("^Label")))
        if (label->isVisibleTo(&form))
            rows += label->text() + (label->objectName().startsWith("Label1") ? "," : " ");
    return rows;
}

// A legacy GBK file: scores past 16 bits and below zero, two lines beyond the ten.
const QByteArray kLegacy =
    "\xd5\xc5\xc8\xfd,50000\r\n\xc0\xee\xcb\xc4,40000\r\n1,30000\r\n2,20000\r\n3,10000\r\n"
    "4,5000\r\n5,1000\r\n6,500\r\n7,100\r\n8,-5\r\n9,9\r\n10,10\r\n";

Q_DECLARE_METATYPE(Case)

class LeaderboardTest : public QObject {
    Q_OBJECT
    QString smallDisk_; // a disk of 64 KiB, when one could be mounted

    static QByteArray Zeros(int n) { return QByteArray("0,0\r\n").repeated(n); }
    static void Row(const char* tag, const Case& row) { QTest::newRow(tag) << row; }

  private slots:
    // Before the test runs as "nobody" (root ignores permissions): the corpus replay (more
    // folders in NUMORA_CORPUS), and the mount of a small disk that this process alone reaches.
    void initTestCase() {
        int replayed = 0;
        for (const QString& folder :
             qEnvironmentVariable("NUMORA_CORPUS", NUMORA_CORPUS).split(':'))
            for (QDirIterator it(folder, QDir::Files); it.hasNext(); ++replayed) {
                const QByteArray bytes = Read(it.next());
                LLVMFuzzerTestOneInput(reinterpret_cast<const uchar*>(bytes.data()), bytes.size());
            }
        QVERIFY(replayed > 20);
        QTemporaryDir point; // once detached, the disk is held by an open folder alone
        if (geteuid() == 0 && mount("tmpfs", qPrintable(point.path()), "tmpfs", 0, "size=64k") == 0)
            smallDisk_ = QString("/proc/self/fd/%1").arg(open(qPrintable(point.path()), O_PATH));
        umount2(qPrintable(point.path()), MNT_DETACH);
        point.remove();
        QVERIFY(geteuid() || (setgid(65534) == 0 && setuid(65534) == 0));
        QCOMPARE(prctl(PR_SET_DUMPABLE, 1), 0); // else /proc/self is closed to a changed user
        std::signal(SIGXFSZ, SIG_IGN); // a file-size limit reached fails the write, no more
        // No system copy of Qt's translation: the program falls back to the one compiled in.
        QCOMPARE(InstallQtTranslation(QString()), kCompiledQtTranslation);
    }

    void table_data() {
        QTest::addColumn<Case>("row");
        // Place 1 for any score on a new list. A character CP936 has is saved in its bytes ("€"
        // 80), others in GB18030's: U+E76C too (CP936's A2 E3 reads "€"). Lines not changed come
        // back byte for byte, damaged ones too (they count as 0); a new entry goes below a tie.
        const QByteArray typed = QByteArray::fromHex("d0a1c3f7a3ac319439fc36808336c739") + ",0\r\n";
        Row("missing file, typed name", {"none", {}, 0, 0, "小明,1😀€\uE76C", typed + Zeros(9)});
        const QByteArray top = kLegacy.left(kLegacy.indexOf("8,-5"));
        Row("legacy GBK file", {"file", kLegacy, 100, 9, "乐乐", top + "\xc0\xd6\xc0\xd6,100\r\n"});
        Row("no place: ties with the tenth", {"file", kLegacy, -5, -1, "e", {}});
        const QByteArray damaged =
            "\n7\n,12\r\na,1e3\r\nb,-9223372036854775809\r\nc,\t+42 \r\nd, -7\r\ne,+\r\nf,1 2\r\n";
        Row("damaged lines", {"file", damaged, 1, 0, "g", "g,1\r\n\r\n7\r\n" + damaged.mid(3)});
        Row("a folder at the path", {"folder", {}, 5, -1, "e", "!排行榜文件读不出来"});
        Row("a named pipe at the path", {"pipe", {}, 5, -1, "e", "!排行榜文件读不出来"});
        Row("an unreadable file", {"unreadable", kLegacy, 5, -1, "e", "!排行榜文件读不出来"});
        Row("a file whose reading fails", {"eio", {}, 5, -1, "e", "!排行榜文件读不出来"});
        // A write cut short goes on until the system names its cause (it read "Unknown error").
        const QByteArray longNames = QByteArray(3600, 'N').append(",0\r\n").repeated(10);
        Row("read-only folder, no file",
            {"readonly", {}, 5, 0, "e", "!您的成绩没能保存。|这个文件夹不能写入"});
        Row("read-only file", {"rofile", kLegacy, 200, 8, "e", "!这个文件不能写入"});
        Row("a size limit", {"limit", longNames, 5, 0, "e", "!这个文件没能写入|File too large"});
        Row("a size limit below the lock's",
            {"limit 9", Zeros(10), 5, 0, "e", "!没能写入|File too large"});
        // The system's words in Qt's Chinese, where Qt has them.
        const QString full = QCoreApplication::translate("QIODevice", "No space left on device");
        Row("a full disk", {"full", longNames, 5, 0, "e", "!磁盘已满|" + full.toUtf8()});
        // CP936's lone 0x80 is "€" (once "�"), after a lead byte a trail byte; a digit before or
        // after a two-byte code does not make it four bytes, one from 0 to 9 after a lead does.
        const QByteArray cp =
            "\x80\x81\x80\x31\xd5\xc5\x31\x81\x30\x84\x36\x94\x39\xfc\x36\x80\xd5\xc5\x80,900\r\n";
        const QByteArray mine = "\xd0\xc2\x94\x39\xfc\x36,865\r\n"; // an emoji last, whole
        Row("CP936 euro", {"cp936", cp, 865, 1, "新😀", cp + mine + Zeros(8)});
        const QByteArray ab = "ann,90\r\nbob,80\r\n", c = "cid,70\r\n";
        Row("beside", {"beside", ab + c, 75, 2, "dan", ab + "dan,75\r\n" + c + Zeros(6)});
        Row("unreadable beside", {"beside, unreadable", kLegacy, 0, 0, "e", "e,0\r\n" + Zeros(9)});
        Row("place taken meanwhile", {"meanwhile", {}, 7, 0, "x", "!您的分数已经进不了前十名了"});
    }

    void table() {
        QFETCH(Case, row);
        auto [at, before, score, offered, name, after] = row;
        if (at == "full" && smallDisk_.isEmpty()) QSKIP("No 64 KiB tmpfs: mounting one takes root");
        QTemporaryDir dir, program;
        const auto writable = qScopeGuard([&] { QFile::setPermissions(dir.path(), kOwnerAll); });
        const QString folder = at == "full" ? smallDisk_ : dir.path();
        const QString path = LeaderboardFilePath(folder, 3);
        const QString file = at.startsWith("beside") ? program.filePath("kavex3.tmp") : path;
        if (!before.isEmpty()) Write(file, before);
        if (at == "folder") QVERIFY(QDir(folder).mkdir("kavex3.tmp"));
        if (at == "pipe") QCOMPARE(mkfifo(qPrintable(path), 0600), 0);
        if (at == "eio") QVERIFY(QFile::link("/proc/self/mem", path)); // address 0: EIO
        if (at.endsWith("unreadable")) QVERIFY(QFile::setPermissions(file, {}));
        if (at == "rofile") QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        if (at == "readonly") QVERIFY(QFile::setPermissions(folder, kOwnerAll ^ QFile::WriteOwner));

        const bool unread = after.startsWith("!排行榜文件读不出来");
        test::FakeSound sound;
        LeaderboardWindow form(sound, folder, program.path());
        form.ShowFor(3, score, true);
        QCOMPARE(sound.played, std::vector<Sound>{Sound::Milestone});
        auto* box = form.findChild<QLineEdit*>("Text1");
        QCOMPARE(form.findChild<QLabel*>("Labt")->text() + (box->isVisible() ? " box" : "") +
                     (form.findChild<QPushButton*>("Command1")->isVisible() ? " button" : ""),
                 unread        ? "排行榜读不出来，文件没有改动。"
                 : offered < 0 ? "排行榜"
                               : "恭喜恭喜!您上榜了。您的大名: box button");
        if (at == "none") { // a missing list is made at once; the window's title, places and sizes
            QCOMPARE(Read(path), Zeros(10));
            QList<QRect> places{form.rect()};
            for (const char* name : {"Labt", "Text1", "Command1", "Label1_9", "Label2_1"})
                places << form.findChild<QWidget*>(name)->geometry();
            QCOMPARE(places, QList<QRect>({QRect(0, 0, 312, 339), QRect(24, 16, 217, 25),
                                           QRect(24, 40, 217, 25), QRect(256, 40, 41, 25),
                                           QRect(24, 296, 81, 25), QRect(152, 104, 89, 25)}));
            form.setWindowState(Qt::WindowMaximized); // asked by a title bar that offers it
            QCOMPARE(form.windowState(), Qt::WindowNoState);
            const auto* heading = form.findChild<QLabel*>("Labt");
            QVERIFY(form.windowTitle() == "排行榜" && heading->font().bold() &&
                    heading->font().pointSizeF() == 9 && heading->alignment() == Qt::AlignCenter &&
                    heading->palette().color(QPalette::WindowText) == Qt::red &&
                    form.palette().color(QPalette::Window) == Qt::white);
            for (const char* name : {"Text1", "Command1", "Label1_0", "Label2_9"}) // all in 宋体
                QCOMPARE(form.findChild<QWidget*>(name)->font().families(),
                         heading->font().families());
        }
        if (before.startsWith("\n7")) // a line without a comma is a score alone, with no name
            QCOMPARE(Shown(form), "0,0 0,7 ,12 a,0 b,0 c,42 d,-7 e,0 f,0 0,0 ");
        if (at == "cp936") QVERIFY(Shown(form).startsWith("€\u4e901张1\u00a5😀€张€,900 "));

        if (at == "meanwhile") Write(path, before = QByteArray("a,9\r\n").repeated(10));
        box->setText(name); // hidden, the box takes no name either
        rlimit was{}, small{at == "limit" ? 200u : 9u, RLIM_INFINITY}; // the limit of its row
        QCOMPARE(prlimit(0, RLIMIT_FSIZE, at.startsWith("limit") ? &small : nullptr, &was), 0);
        QTest::keyClick(box, Qt::Key_Enter);
        setrlimit(RLIMIT_FSIZE, &was);
        const bool saved = offered >= 0 && !after.startsWith('!');
        QCOMPARE(form.isVisible(), !saved);
        QCOMPARE(form.message() && form.message()->isVisible(), after.startsWith('!'));
        if (after.startsWith('!')) { // the cause, in the system's words too, and the file
            const QString said = form.message()->text() + "|" + form.message()->detailedText();
            for (const QString& part : QString::fromUtf8(after.mid(1)).split('|'))
                QVERIFY2(said.contains(part), qPrintable(said));
            QVERIFY(at == "meanwhile" || said.contains(QDir::toNativeSeparators(path)));
        }
        if (unread) { // once the message is closed, the window says it still: no row it never read
            form.message()->close();
            QCOMPARE(form.findChild<QLabel*>("Labt")->text() + Shown(form),
                     "排行榜读不出来，文件没有改动。");
        }
        if (at == "readonly") { // Qt's words as a player sees them: the box's, the name box's menu
            const QScopedPointer<QMenu> menu(box->createStandardContextMenu());
            QStringList words;
            for (QAction* action : menu->actions())
                words << action->text().section('\t', 0, 0);
            for (auto* button : form.message()->findChildren<QAbstractButton*>()) {
                words << button->text();
                button->click(); // the details' button turns, the box closes
                words << button->text();
            }
            for (const char* word : kQtWordsShown) // what the program's own font draws
                QVERIFY2(words.contains(word), qPrintable(words.join(' ')));
        }
        QCOMPARE(Shown(form).endsWith("a,9 ") && !box->isVisible(), at == "meanwhile");
        if (saved) form.Confirm(); // the offer is used up: never saved twice
        form.ShowFor(3, 0, true);  // a new opening starts afresh
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // closed ones go
        QVERIFY(box->text().isEmpty() && form.findChildren<QMessageBox*>().size() ==
                                             (offered < 0 && !after.isEmpty() ? 1 : 0));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList(at == "readonly" ? 0 : 1, "kavex3.tmp")); // alone
        QFile::setPermissions(path, QFile::ReadOwner);
        if (at != "pipe") QCOMPARE(Read(path), saved ? after : before);
    }

    void causesAndEdges() {
        QTemporaryDir dir, user;
        const QString path = LeaderboardFilePath(dir.path(), 1);
        QLockFile other(path + ".lock");
        QVERIFY(other.tryLock(0));
        QVERIFY(LeaderboardWindow::MessageFor(SaveLeaderboardEntry(path, {}, 0, "n", 5, 0))
                    .contains("另一个正在玩的游戏"));
        // A list another copy makes while this one waits for the lock is read, not overwritten.
        auto loading = std::async(std::launch::async, [&path] { return LoadLeaderboard(path); });
        QTest::qSleep(100); // it has found nothing and waits: a lock's wait cannot be driven
        Write(path + ".new", "a,9\r\n"); // whole at once, never seen empty
        QVERIFY(QFile::rename(path + ".new", path));
        other.unlock();
        const LoadResult loaded = loading.get();
        QVERIFY(loaded.status == LoadStatus::Read && loaded.list[0].score == 9);
        QCOMPARE(Read(path), "a,9\r\n");
        QCOMPARE(SanitizeName(QString("a\r\nb\tc") + QChar(0xD800) + "d,😀"), "abcd，😀");
        // A huge file is read only as far as its tenth line, and never past 16 MiB.
        QByteArray many = QByteArray("a,1\n").repeated(1 << 20), one(17 << 20, 'x');
        QBuffer lines(&many), line(&one);
        QVERIFY(lines.open(QIODevice::ReadOnly) && line.open(QIODevice::ReadOnly));
        QCOMPARE(ReadLeaderboard(lines)->at(9).score + ReadLeaderboard(line)->at(0).score, 1);
        QVERIFY(lines.pos() < (1 << 20) && line.pos() == (16 << 20));
        const auto writable = qScopeGuard([&] { QFile::setPermissions(dir.path(), kOwnerAll); });
        QCOMPARE(ChooseLeaderboardFolder(dir.path(), "/nonexistent/user"), dir.path());
        QVERIFY(!IsWritableFolder(dir.path() + "/gone")); // a folder removed meanwhile
        QVERIFY(QFile::setPermissions(dir.path(), kOwnerAll ^ QFile::WriteOwner));
        QCOMPARE(ChooseLeaderboardFolder(dir.path(), user.filePath("a/b")), user.filePath("a/b"));
        QVERIFY(QFileInfo(user.filePath("a/b")).isDir());
        // Where the system has Qt's translation, that one comes first.
        QVERIFY(QFile::copy(kCompiledQtTranslation, user.filePath("qtbase_zh_CN.qm")));
        QCOMPARE(InstallQtTranslation(user.path()), user.filePath("qtbase_zh_CN.qm"));
        const QString said = LeaderboardWindow::MessageFor(
            SaveLeaderboardEntry(user.filePath("a/b"), {}, 0, "n", 5, 0));
        QVERIFY(said.contains("这个文件读不出来") &&
                said.contains(user.filePath("a/b"))); // a folder there
    }
};

QTEST_MAIN(LeaderboardTest)
#include "leaderboard_test.moc"
