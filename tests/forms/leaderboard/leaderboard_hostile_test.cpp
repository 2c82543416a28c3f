// Hostile leaderboard files, folders and names, each with the outcome the player sees in the
// leaderboard window. The cases already covered elsewhere (a folder in place of the file, a
// locked or blocked lock, a name of nothing but line breaks) are not repeated here.
#include "forms/leaderboard/form2.h"
#include "leaderboard_fixtures.h"
#include "sound/sound_player.h"
#include "support/quiet_offscreen.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace numora;
using namespace numora::testing;

namespace {

class SilentSound : public SoundPlayer {
  public:
    void Play(int) override {}
    int DurationMs(int) const override { return 0; }
};

// While in scope, files are reached as an ordinary user, so permission bits apply even when
// the tests run as root: dropping the filesystem user id drops root's file capabilities with
// it (Linux). Elsewhere, and for an ordinary user, it changes nothing.
class AsOrdinaryUser {
  public:
    AsOrdinaryUser() {
#ifdef Q_OS_LINUX
        if (::geteuid() == 0) {
            ::setfsuid(kNobody);
            dropped_ = ::setfsuid(kNobody) == int(kNobody);
        }
#endif
    }
    ~AsOrdinaryUser() {
#ifdef Q_OS_LINUX
        if (dropped_) ::setfsuid(0);
#endif
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    // Whether permission bits now stop this process.
    bool PermissionsApply() const {
#ifdef Q_OS_UNIX
        return dropped_ || ::geteuid() != 0;
#else
        return false;
#endif
    }

  private:
    static constexpr unsigned kNobody = 65534;
    bool dropped_ = false;
};

struct Window {
    Window() {
        // Open to the ordinary user too.
        QFile::setPermissions(dir.path(), QFile::Permissions(0x7777));
    }
    QTemporaryDir dir;
    SilentSound sound;
    Form2 form{sound, dir.path()};

    QString Path(int mode) const { return LeaderboardFilePath(dir.path(), mode); }
    QLineEdit* Text1() const { return form.findChild<QLineEdit*>("Text1"); }
    LeaderboardList Rows() const {
        LeaderboardList rows;
        for (int k = 0; k < kLeaderboardSize; ++k) {
            rows[k].name = form.findChild<QLabel*>(QStringLiteral("Label1_%1").arg(k))->text();
            rows[k].score =
                form.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(k))->text().toLongLong();
        }
        return rows;
    }
    // Types the name as an input method commits it, then presses Enter.
    void Enter(const QString& name) const {
        QInputMethodEvent commit;
        commit.setCommitString(name);
        QApplication::sendEvent(Text1(), &commit);
        QTest::keyClick(Text1(), Qt::Key_Return);
    }
};

QString CorpusFolder() {
    return QStringLiteral(NUMORA_CORPUS_DIR);
}

} // namespace

class LeaderboardHostileTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void corpusFilesThroughTheWindow_data();
    void corpusFilesThroughTheWindow();
    void filesThatCannotBeUsed_data();
    void filesThatCannotBeUsed();
    void hostileNames_data();
    void hostileNames();
    void readOnlyProgramFolder();
};

void LeaderboardHostileTest::initTestCase() { test::HideOffscreenRaiseWarning(); }

void LeaderboardHostileTest::corpusFilesThroughTheWindow_data() {
    QTest::addColumn<QString>("file");
    QDirIterator it(CorpusFolder(), QDir::Files);
    QStringList files;
    while (it.hasNext()) files << it.next();
    files.sort();
    QVERIFY(files.size() >= 20);
    for (const QString& file : files)
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
}

// Whatever the file holds, the window shows the list read from it, leaves it as it was until
// a name is saved, and then writes ten good lines with the new entry in its place.
void LeaderboardHostileTest::corpusFilesThroughTheWindow() {
    QFETCH(QString, file);
    const QByteArray bytes = ReadFile(file);
    const LeaderboardList read = ParseLeaderboard(bytes);
    Window w;
    WriteFile(w.Path(3), bytes);
    const qint64 score = 1000000;
    w.form.ShowFor(3, score);
    QCOMPARE(w.Rows(), read);
    QCOMPARE(ReadFile(w.Path(3)), bytes);
    const int place = FindPlace(read, score);
    QCOMPARE(w.form.newPos(), place);
    if (place < 0) return;

    w.Enter(QStringLiteral("新"));
    QVERIFY(!w.form.isVisible());
    const QByteArray saved = ReadFile(w.Path(3));
    QCOMPARE(saved, FormatLeaderboard(WithEntry(read, place, QStringLiteral("新"), score)));
    QCOMPARE(saved.count("\r\n"), kLeaderboardSize);
    QCOMPARE(saved.count('\n'), kLeaderboardSize);
}

void LeaderboardHostileTest::filesThatCannotBeUsed_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<bool>("listShown");    // the file's list, or ten empty places
    QTest::addColumn<QString>("message");   // a part of the message after Enter
    QTest::addColumn<bool>("fileCreated");  // whether a missing file appears on opening
    // As root these only run where the filesystem user id can be dropped (Linux).
    QTest::newRow("file without read permission")
        << "no read" << false << QString::fromUtf8("读不出来") << false;
    QTest::newRow("read-only folder, file there")
        << "read-only folder" << true << QString::fromUtf8("不能写入") << false;
    QTest::newRow("read-only folder, no file yet")
        << "read-only folder, no file" << false << QString::fromUtf8("不能写入") << false;
    QTest::newRow("named pipe in place of the file")
        << "named pipe" << false << QString::fromUtf8("读不出来") << false;
}

// The window never hangs and never overwrites what it cannot read: it shows ten empty places
// (offering the first, as for a missing file), and a save says why it failed in Chinese.
void LeaderboardHostileTest::filesThatCannotBeUsed() {
    QFETCH(QString, obstacle);
    QFETCH(bool, listShown);
    QFETCH(QString, message);
    QFETCH(bool, fileCreated);
    Window w;
    const QString path = w.Path(2);
    const QByteArray before = FormatLeaderboard(Lettered());
    if (obstacle != "read-only folder, no file" && obstacle != "named pipe")
        WriteFile(path, before);
    if (obstacle == "no read") QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    if (obstacle.startsWith("read-only folder"))
        QVERIFY(QFile::setPermissions(w.dir.path(), QFile::Permissions(0x5555)));
    if (obstacle == "named pipe") {
#ifdef Q_OS_LINUX
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
#else
        QSKIP("named pipes are made here on Linux only");
#endif
    }

    {
        AsOrdinaryUser user;
        if (obstacle != "named pipe" && !user.PermissionsApply())
            QSKIP("permission bits do not stop this user (root, without a way to drop it)");
        w.form.ShowFor(2, 5);
        QCOMPARE(w.Rows(), listShown ? Lettered() : PlaceholderList());
        QCOMPARE(w.form.newPos(), listShown ? FindPlace(Lettered(), 5) : 0);
        w.Enter(QStringLiteral("name"));
    }
    QFile::setPermissions(w.dir.path(), QFile::Permissions(0x7777));
    QVERIFY(w.form.isVisible());
    QVERIFY(w.form.message());
    QVERIFY2(w.form.message()->text().contains(message), qPrintable(w.form.message()->text()));
    if (obstacle == "named pipe") {
        QVERIFY(!QFileInfo(path).isFile());
    } else if (obstacle == "read-only folder, no file") {
        QCOMPARE(QFileInfo::exists(path), fileCreated);
    } else {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(ReadFile(path), before);
    }
    // Nothing of the failed attempt is left behind.
    QStringList left = QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden |
                                                    QDir::NoDotAndDotDot | QDir::System);
    left.removeAll(LeaderboardFileName(2));
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
}

void LeaderboardHostileTest::hostileNames_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QString longName;
    for (int k = 0; k < 10000; ++k) longName += k % 2 ? QChar(u'张') : QChar(u'a' + k % 26);
    QTest::newRow("10,000 characters") << longName << longName;
    // The name box holds at most 32,767 characters (QLineEdit's own limit).
    QTest::newRow("40,000 characters") << QString(40000, u'x') << QString(32767, u'x');
    // Outside GBK: GB18030 gives them four-byte codes, so they come back unchanged (the
    // Windows original, reading GBK, shows such a name garbled but keeps the line).
    const QString outside = QString::fromUtf8("😀𠀀한€ß");
    QTest::newRow("outside GBK") << outside << outside;
    QTest::newRow("markup and commas") << QStringLiteral("<b>a,b</b>")
                                       << QString::fromUtf8("<b>a，b</b>");
}

// An unusual name is saved whole, reads back as it was stored, and shows as typed.
void LeaderboardHostileTest::hostileNames() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Window w;
    w.form.ShowFor(4, 77);
    QCOMPARE(w.form.newPos(), 0);
    w.Enter(typed);
    QVERIFY(!w.form.message());
    QVERIFY(!w.form.isVisible());
    const QByteArray bytes = ReadFile(w.Path(4));
    QCOMPARE(bytes.count("\r\n"), kLeaderboardSize);
    QVERIFY(!bytes.contains('?'));
    QCOMPARE(LoadLeaderboard(w.Path(4)).list[0], (LeaderboardEntry{stored, 77}));
    w.form.ShowFor(4, 0);
    QCOMPARE(w.Rows()[0].name, stored);
}

// The files go to the player's data folder instead, created when missing; the program folder
// is left as it was. (leaderboard_file_test's folderChoice covers this for ordinary users.)
void LeaderboardHostileTest::readOnlyProgramFolder() {
    QTemporaryDir root;
    QFile::setPermissions(root.path(), QFile::Permissions(0x7777));
    const QString program = QDir(root.path()).filePath("program");
    const QString user = QDir(root.path()).filePath("home/.local/share/numora");
    QVERIFY(QDir().mkpath(program));
    QVERIFY(QFile::setPermissions(program, QFile::Permissions(0x5555)));
    QString chosen;
    bool folderWritable = false;
    {
        AsOrdinaryUser ordinary;
        if (!ordinary.PermissionsApply())
            QSKIP("permission bits do not stop this user (root, without a way to drop it)");
        QVERIFY(!IsWritableFolder(program));
        chosen = ChooseLeaderboardFolder(program, user);
        folderWritable = IsWritableFolder(chosen);
    }
    QFile::setPermissions(program, QFile::Permissions(0x7777));
    QCOMPARE(chosen, user);
    QVERIFY(folderWritable);
    QVERIFY(QDir(program).isEmpty());
}

QTEST_MAIN(LeaderboardHostileTest)
#include "leaderboard_hostile_test.moc"
