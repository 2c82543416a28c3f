// The leaderboard as one table: what is at the file's path, what the window offers the
// final score, and the exact bytes on disk after the player confirms a name. Run as root,
// it drops to "nobody" so that permissions hold.
#include "forms/leaderboard/form2.h"
#include "support/fake_sound.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace numora;

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
QByteArray Zeros(int n) { return QByteArray("0,0\r\n").repeated(n); }

// A legacy GBK file: scores past 16 bits and below zero, two lines beyond the ten.
const QByteArray kLegacy = "\xd5\xc5\xc8\xfd,50000\r\n\xc0\xee\xcb\xc4,40000\r\n1,30000\r\n2,20000\r\n3,10000\r\n"
                           "4,5000\r\n5,1000\r\n6,500\r\n7,100\r\n8,-5\r\n9,9\r\n10,10\r\n";

}  // namespace

class LeaderboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (geteuid() == 0) QVERIFY(setgid(65534) == 0 && setuid(65534) == 0);
    }

    void table_data() {
        QTest::addColumn<QString>("at");       // what is at the path: file, none, folder, pipe, unreadable, readonly
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<qint64>("score");
        QTest::addColumn<int>("offered");      // the place offered, -1 for none
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("after");  // empty: no save, and the path is unchanged
        // A missing file is created; place 1 whatever the score; a comma becomes "，".
        QTest::newRow("missing file, comma in name") << "none" << QByteArray() << qint64(0) << 0
            << "小明,1" << "\xd0\xa1\xc3\xf7\xa3\xac" "1,0\r\n" + Zeros(9);
        // Untouched lines come back byte for byte; the new entry goes below a tie.
        QTest::newRow("legacy GBK file, twelve lines") << "file" << kLegacy << qint64(100) << 9
            << "乐乐" << kLegacy.left(kLegacy.indexOf("8,-5")) + "\xc0\xd6\xc0\xd6,100\r\n";
        QTest::newRow("legacy GBK file, beats the top") << "file" << kLegacy << qint64(50001) << 0
            << "Bo" << "Bo,50001\r\n" + kLegacy.left(kLegacy.indexOf("8,-5"));
        QTest::newRow("no place: ties with the tenth") << "file" << kLegacy << qint64(-5) << -1 << "" << QByteArray();
        // Damaged lines count as zero and come back as they were.
        QTest::newRow("damaged lines") << "file" << QByteArray("x\n,12\r\na,1e3\r\nb,99999999999999999999\r\nc, -7 \r\n")
            << qint64(1) << 0 << "d" << "d,1\r\nx\r\n,12\r\na,1e3\r\nb,99999999999999999999\r\nc, -7 \r\n" + Zeros(4);
        QTest::newRow("a folder at the path") << "folder" << QByteArray() << qint64(5) << 0 << "e" << QByteArray();
        QTest::newRow("a named pipe at the path") << "pipe" << QByteArray() << qint64(5) << 0 << "e" << QByteArray();
        QTest::newRow("an unreadable file") << "unreadable" << kLegacy << qint64(5) << 0 << "e" << QByteArray();
        QTest::newRow("read-only folder, no file") << "readonly" << QByteArray() << qint64(5) << 0 << "e" << QByteArray();
        QTest::newRow("read-only folder, a file") << "readonly" << kLegacy << qint64(200) << 8 << "e" << QByteArray();
    }

    void table() {
        QFETCH(QString, at);
        QFETCH(QByteArray, before);
        QFETCH(qint64, score);
        QFETCH(int, offered);
        QFETCH(QString, name);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const auto writable = qScopeGuard([&] { QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        const QString path = dir.filePath("kavex3.tmp");
        if (!before.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        }
        const QByteArray shownBefore = Read(path);
        if (at == "folder") QVERIFY(QDir(dir.path()).mkdir("kavex3.tmp"));
        if (at == "pipe") QCOMPARE(mkfifo(qPrintable(path), 0600), 0);
        if (at == "unreadable") QVERIFY(QFile::setPermissions(path, {}));
        if (at == "readonly") QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));

        test::FakeSound sound;
        Form2 form(sound, dir.path());
        form.ShowFor(3, score);
        QCOMPARE(sound.played, std::vector<int>{106});
        QCOMPARE(form.newPos(), offered);
        auto* box = form.findChild<QLineEdit*>("Text1");
        QCOMPARE(box->isVisible(), offered >= 0);
        QCOMPARE(form.findChild<QLabel*>("Labt")->text(), offered >= 0 ? QStringLiteral("恭喜恭喜!您上榜了。您的大名:") : QStringLiteral("排行榜"));
        const LeaderboardList shown = form.shownList();
        for (int k = 0; k < kLeaderboardSize; ++k)
            QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(k))->text(), QString::number(shown[std::size_t(k)].score));
        if (at == "file" && before.startsWith("\xd5\xc5")) QCOMPARE(form.findChild<QLabel*>("Label1_0")->text(), QStringLiteral("张三"));
        if (offered < 0) {
            QCOMPARE(Read(path), shownBefore);
            return;
        }
        box->setText(name);
        QTest::keyClick(box, Qt::Key_Enter);
        if (after.isEmpty()) {
            QVERIFY(form.message() && form.message()->isVisible());
            QVERIFY(form.message()->text().contains(QDir::toNativeSeparators(path)));
            QVERIFY(form.isVisible());
            QCOMPARE(QFileInfo(path).isDir(), at == "folder");
            QFile::setPermissions(path, QFile::ReadOwner);
            if (at != "pipe") QCOMPARE(Read(path), shownBefore);
        } else {
            QCOMPARE(Read(path), after);
            QVERIFY(!form.message() && !form.isVisible());
            form.Command1_Click();  // the offer is used up: never saved twice
            QCOMPARE(Read(path), after);
        }
    }

    // Another copy filled the list while the name was typed: the window says so and shows
    // the list that beat the score, and nothing is written.
    void placeTakenMeanwhile() {
        QTemporaryDir dir;
        test::FakeSound sound;
        Form2 form(sound, dir.path());
        form.ShowFor(1, 7);
        QFile file(form.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray("a,9\r\n").repeated(10)) > 0);
        file.close();
        form.findChild<QLineEdit*>("Text1")->setText("x");
        form.Command1_Click();
        QVERIFY(form.message() && form.message()->isVisible());
        QCOMPARE(form.findChild<QLabel*>("Labt")->text(), Form2::TitleText());
        QCOMPARE(form.findChild<QLabel*>("Label1_9")->text(), QStringLiteral("a"));
        QCOMPARE(Read(form.filePath()), QByteArray("a,9\r\n").repeated(10));
        form.ShowFor(1, 10);  // a new opening starts afresh
        QVERIFY(!form.message() || !form.message()->isVisible());
        QCOMPARE(form.newPos(), 0);
        QCOMPARE(form.findChild<QLineEdit*>("Text1")->text(), QString());
    }

    // Scores that do not fit, names that cannot be stored as typed, and the folder choice.
    void edges() {
        QCOMPARE(ParseScore("9223372036854775807"), std::numeric_limits<qint64>::max());
        QCOMPARE(ParseScore("-9223372036854775808"), std::numeric_limits<qint64>::min());
        QCOMPARE(ParseScore("9223372036854775808") + ParseScore("+") + ParseScore("1 2"), 0);
        QCOMPARE(ParseScore("\t+42 "), 42);
        QCOMPARE(SanitizeName(QString("a\r\nb\tc") + QChar(0xD800) + "d😀,"), QStringLiteral("abcd😀，"));
        QTemporaryDir dir;
        const auto writable = qScopeGuard([&] { QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        QCOMPARE(ChooseLeaderboardFolder(dir.path(), "/nonexistent/user"), dir.path());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(ChooseLeaderboardFolder(dir.path(), dir.path() + "-user/numora"), dir.path() + "-user/numora");
        QVERIFY(QFileInfo(dir.path() + "-user/numora").isDir());
        QDir(dir.path() + "-user").removeRecursively();
        test::FakeSound sound;
        Form2 form(sound, dir.path());
        form.ShowFor(2, 1);
        QCOMPARE(form.windowTitle() + QString::number(form.width()) + "x" + QString::number(form.height()), "排行榜312x339");
        QCOMPARE(form.findChild<QLabel*>("Labt")->geometry(), QRect(24, 16, 217, 25));
        QCOMPARE(form.findChild<QLineEdit*>("Text1")->geometry(), QRect(24, 40, 217, 25));
        QCOMPARE(form.findChild<QWidget*>("Command1")->geometry(), QRect(256, 40, 41, 25));
        QCOMPARE(form.findChild<QLabel*>("Label1_9")->geometry(), QRect(24, 296, 81, 25));
        QCOMPARE(form.findChild<QLabel*>("Label2_1")->geometry(), QRect(152, 104, 89, 25));
        QCOMPARE(form.findChild<QLabel*>("Label1_0")->font().pointSizeF(), QFont().pointSizeF());
        QVERIFY(!form.findChild<QLabel*>("Label1_0")->font().bold() && form.findChild<QLabel*>("Labt")->font().bold());
        QCOMPARE(form.findChild<QLineEdit*>("Text1")->font().pointSizeF(), QFont().pointSizeF());
        QCOMPARE(form.findChild<QLabel*>("Labt")->font().pointSizeF(), 9.0);
        form.findChild<QLineEdit*>("Text1")->setText("\r\n");
        form.Command1_Click();
        QVERIFY(!form.message() || !form.message()->text().contains("kavex"));
    }
};

QTEST_MAIN(LeaderboardTest)
#include "leaderboard_test.moc"
