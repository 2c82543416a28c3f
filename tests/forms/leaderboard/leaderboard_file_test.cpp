// The leaderboard files: reading, writing, places, and saving next to other copies of the
// game.
#include "forms/leaderboard/leaderboard_file.h"
#include "leaderboard_fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace numora;
using namespace numora::testing;

namespace {

LeaderboardList Sanitized(LeaderboardList list) {
    for (LeaderboardEntry& entry : list)
        entry.name = SanitizeName(entry.name);
    return list;
}

} // namespace

class LeaderboardFileTest : public QObject {
    Q_OBJECT

  private slots:
    void fileNames_data();
    void fileNames();
    void parse_data();
    void parse();
    void parseScore_data();
    void parseScore();
    void anyBytesReadBackAsWritten_data();
    void anyBytesReadBackAsWritten();
    void hugeFileReadsOnlyTenLines();
    void formatWritesTenCrLfLines();
    void findPlace_data();
    void findPlace();
    void withEntry_data();
    void withEntry();
    void sanitize_data();
    void sanitize();

    void missingFileIsCreatedAndOffersFirstPlace();
    void scoreEqualToTenthIsNotWritten();
    void newBestMovesTheOthersDown();
    void twelveLinesBecomeTen();
    void modesNeverMix();
    void gbkNamesRoundTripByteForByte();
    void largeScoresRoundTrip();
    void nameIsMadeStorable();
    void failedSaveLeavesOldFile_data();
    void failedSaveLeavesOldFile();
    void staleLockIsTakenOver();
    void twoOpeningsBothSave_data();
    void twoOpeningsBothSave();
    void folderChoice_data();
    void folderChoice();
};

void LeaderboardFileTest::fileNames_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain folder") << "/opt/numora" << 1 << "/opt/numora/kavex1.tmp";
    QTest::newRow("trailing separator") << "/opt/numora/" << 3 << "/opt/numora/kavex3.tmp";
    QTest::newRow("root folder") << "/" << 5 << "/kavex5.tmp";
    QTest::newRow("mode 2") << "/x" << 2 << "/x/kavex2.tmp";
    QTest::newRow("mode 4") << "/x" << 4 << "/x/kavex4.tmp";
}

void LeaderboardFileTest::fileNames() {
    QFETCH(QString, folder);
    QFETCH(int, mode);
    QFETCH(QString, path);
    QCOMPARE(LeaderboardFilePath(folder, mode), path);
}

void LeaderboardFileTest::parse_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<LeaderboardList>("expected");

    QTest::newRow("empty file") << QByteArray() << PlaceholderList();
    QTest::newRow("short file, CR LF")
        << QByteArray("a,1\r\nb,2\r\n") << List({{"a", 1}, {"b", 2}});
    QTest::newRow("bare LF") << QByteArray("a,1\nb,2\n") << List({{"a", 1}, {"b", 2}});
    QTest::newRow("no final line break") << QByteArray("a,1\r\nb,2") << List({{"a", 1}, {"b", 2}});
    QTest::newRow("line without comma keeps its place")
        << QByteArray("a,1\r\nnobody\r\nc,3\r\n") << List({{"a", 1}, {"0", 0}, {"c", 3}});
    QTest::newRow("line without comma takes the whole line as score")
        << QByteArray("77\r\n") << List({{"0", 77}});
    QTest::newRow("empty line keeps its place")
        << QByteArray("a,1\r\n\r\nc,3\r\n") << List({{"a", 1}, {"0", 0}, {"c", 3}});
    QTest::newRow("non-numeric score") << QByteArray("a,many\r\n") << List({{"a", 0}});
    QTest::newRow("empty score") << QByteArray("a,\r\n") << List({{"a", 0}});
    QTest::newRow("empty name") << QByteArray(",5\r\n") << List({{"", 5}});
    QTest::newRow("name ends at first comma")
        << QByteArray("a,b,3\r\nc,,4\r\n") << List({{"a", 0}, {"c", 0}});
    QTest::newRow("negative score") << QByteArray("a,-12\r\n") << List({{"a", -12}});
    QTest::newRow("above 16 bits") << QByteArray("a,50000\r\n") << List({{"a", 50000}});
    QTest::newRow("out of range counts as 0")
        << QByteArray("a,99999999999999999999\r\n") << List({{"a", 0}});
    QTest::newRow("name with spaces kept as typed")
        << QByteArray(" a b ,1\r\n") << List({{" a b ", 1}});
    QTest::newRow("only one CR stripped") << QByteArray("a,1\r\r\n") << List({{"a", 0}});
    // Dropped on reading as on saving, or the next save would change other players' names.
    QTest::newRow("NUL bytes") << QByteArray("a\0b,1\r\n", 7) << List({{"ab", 1}});
    QTest::newRow("control characters") << QByteArray("\x01" "a\tb\rc\x7f,1\r\n")
                                        << List({{"abc", 1}});
}

void LeaderboardFileTest::parse() {
    QFETCH(QByteArray, bytes);
    QFETCH(LeaderboardList, expected);
    QCOMPARE(ParseLeaderboard(bytes), expected);
}

void LeaderboardFileTest::parseScore_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("score");
    QTest::newRow("zero") << QByteArray("0") << qint64(0);
    QTest::newRow("32767") << QByteArray("32767") << qint64(32767);
    QTest::newRow("32768") << QByteArray("32768") << qint64(32768);
    QTest::newRow("2^31") << QByteArray("2147483648") << qint64(2147483648LL);
    QTest::newRow("largest") << QByteArray("9223372036854775807") << qint64(9223372036854775807LL);
    QTest::newRow("smallest") << QByteArray("-9223372036854775808")
                              << std::numeric_limits<qint64>::min();
    QTest::newRow("one past largest") << QByteArray("9223372036854775808") << qint64(0);
    QTest::newRow("one past smallest") << QByteArray("-9223372036854775809") << qint64(0);
    QTest::newRow("blanks around") << QByteArray(" \t42 ") << qint64(42);
    QTest::newRow("plus sign") << QByteArray("+42") << qint64(42);
    QTest::newRow("sign only") << QByteArray("-") << qint64(0);
    QTest::newRow("trailing junk") << QByteArray("42x") << qint64(0);
    QTest::newRow("hex") << QByteArray("0x10") << qint64(0);
    QTest::newRow("decimal point") << QByteArray("4.5") << qint64(0);
    QTest::newRow("leading zeros") << QByteArray("007") << qint64(7);
    QTest::newRow("blank inside") << QByteArray("4 2") << qint64(0);
}

void LeaderboardFileTest::parseScore() {
    QFETCH(QByteArray, text);
    QFETCH(qint64, score);
    QCOMPARE(ParseScore(text), score);
}

void LeaderboardFileTest::anyBytesReadBackAsWritten_data() {
    QTest::addColumn<QByteArray>("bytes");
    auto random = QRandomGenerator(20240601);
    for (int round = 0; round < 40; ++round) {
        QByteArray bytes(int(random.bounded(1, 400)), '\0');
        for (char& c : bytes) {
            // Mostly the bytes that matter to the format, so lines and fields really occur.
            static const char kInteresting[] = ",\r\n-0123456789\xD5\xC5\x81\x30";
            c = random.bounded(2) ? kInteresting[random.bounded(int(sizeof kInteresting - 1))]
                                  : char(random.bounded(256));
        }
        QTest::addRow("random %d", round) << bytes;
    }
    QTest::newRow("1 MB line") << (QByteArray(1 << 20, 'x') + ",7\r\n");
    QTest::newRow("1 MB of line breaks") << QByteArray(1 << 20, '\n');
    QTest::newRow("1 MB of commas") << QByteArray(1 << 20, ',');
    QTest::newRow("truncated GBK") << QByteArray("\xD5,1\r\n\xD5\xC5\xC8,2\r\n");
}

void LeaderboardFileTest::anyBytesReadBackAsWritten() {
    QFETCH(QByteArray, bytes);
    const LeaderboardList list = ParseLeaderboard(bytes);
    const QByteArray written = FormatLeaderboard(list);
    QCOMPARE(written.count("\r\n"), kLeaderboardSize);
    QCOMPARE(ParseLeaderboard(written), Sanitized(list));
    QCOMPARE(FormatLeaderboard(ParseLeaderboard(written)), written);
}

void LeaderboardFileTest::hugeFileReadsOnlyTenLines() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 1);
    QByteArray bytes;
    for (int k = 0; k < 10; ++k)
        bytes += "p" + QByteArray::number(k) + "," + QByteArray::number(100 - k) + "\r\n";
    bytes += QByteArray(kMaxReadBytes * 2, 'z'); // would exhaust memory if read whole
    WriteFile(path, bytes);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const LeaderboardList list = ReadLeaderboard(file);
    QCOMPARE(list[0], (LeaderboardEntry{"p0", 100}));
    QCOMPARE(list[9], (LeaderboardEntry{"p9", 91}));
    QVERIFY(file.pos() < kMaxReadBytes);

    // One endless line is cut off rather than read whole.
    WriteFile(path, QByteArray(kMaxReadBytes + (1 << 20), 'y'));
    QFile endless(path);
    QVERIFY(endless.open(QIODevice::ReadOnly));
    QCOMPARE(ReadLeaderboard(endless), PlaceholderList());
    QCOMPARE(endless.pos(), kMaxReadBytes);
}

void LeaderboardFileTest::formatWritesTenCrLfLines() {
    const LeaderboardList list = List({{"张三", 50000}, {"b", -3}});
    QCOMPARE(FormatLeaderboard(list),
             QByteArray("\xD5\xC5\xC8\xFD,50000\r\nb,-3\r\n") + QByteArray("0,0\r\n").repeated(8));
}

void LeaderboardFileTest::findPlace_data() {
    QTest::addColumn<LeaderboardList>("list");
    QTest::addColumn<qint64>("score");
    QTest::addColumn<int>("place");
    const LeaderboardList ties = Scores({900, 800, 800, 700, 600, 500, 400, 300, 200, 100});
    QTest::newRow("tie goes below both") << ties << qint64(800) << 3;
    QTest::newRow("just above a tie") << ties << qint64(801) << 1;
    QTest::newRow("equal to first") << ties << qint64(900) << 1;
    QTest::newRow("new best") << ties << qint64(901) << 0;
    QTest::newRow("equal to tenth") << ties << qint64(100) << -1;
    QTest::newRow("below tenth") << ties << qint64(5) << -1;
    QTest::newRow("just above tenth") << ties << qint64(101) << 9;
    QTest::newRow("0 on placeholders") << PlaceholderList() << qint64(0) << -1;
    QTest::newRow("1 on placeholders") << PlaceholderList() << qint64(1) << 0;
    QTest::newRow("above 32767") << Scores({40000, 35000}) << qint64(36000) << 1;
    QTest::newRow("negative scores")
        << Scores({-1, -2, -3, -4, -5, -6, -7, -8, -9, -10}) << qint64(-4) << 4;
}

void LeaderboardFileTest::findPlace() {
    QFETCH(LeaderboardList, list);
    QFETCH(qint64, score);
    QFETCH(int, place);
    QCOMPARE(FindPlace(list, score), place);
}

void LeaderboardFileTest::withEntry_data() {
    QTest::addColumn<int>("place");
    QTest::addColumn<LeaderboardList>("expected");
    // Names a..j hold scores 10..1.
    QTest::newRow("new best") << 0
                              << List({{"N", 99},
                                       {"a", 10},
                                       {"b", 9},
                                       {"c", 8},
                                       {"d", 7},
                                       {"e", 6},
                                       {"f", 5},
                                       {"g", 4},
                                       {"h", 3},
                                       {"i", 2}});
    QTest::newRow("middle") << 3
                            << List({{"a", 10},
                                     {"b", 9},
                                     {"c", 8},
                                     {"N", 99},
                                     {"d", 7},
                                     {"e", 6},
                                     {"f", 5},
                                     {"g", 4},
                                     {"h", 3},
                                     {"i", 2}});
    QTest::newRow("tenth") << 9
                           << List({{"a", 10},
                                    {"b", 9},
                                    {"c", 8},
                                    {"d", 7},
                                    {"e", 6},
                                    {"f", 5},
                                    {"g", 4},
                                    {"h", 3},
                                    {"i", 2},
                                    {"N", 99}});
    QTest::newRow("no place leaves the list") << -1 << Lettered();
}

void LeaderboardFileTest::withEntry() {
    QFETCH(int, place);
    QFETCH(LeaderboardList, expected);
    QCOMPARE(WithEntry(Lettered(), place, "N", 99), expected);
}

void LeaderboardFileTest::sanitize_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain") << "小明"
                           << "小明";
    QTest::newRow("comma") << "a,b,"
                           << "a，b，";
    QTest::newRow("full-width comma kept") << "a，b"
                                           << "a，b";
    QTest::newRow("pasted line breaks and tab") << "\r\n张\t三\n"
                                                << "张三";
    QTest::newRow("other control chars")
        << QString("a") + QChar(0x01) + QChar(0x7F) + QChar(0x85) << "a";
    QTest::newRow("blanks kept") << "  a  "
                                 << "  a  ";
    QTest::newRow("emoji kept") << QString::fromUtf8("a😀") << QString::fromUtf8("a😀");
    QTest::newRow("lone surrogate dropped") << QString("a") + QChar(0xD800) + "b"
                                            << "ab";
    QTest::newRow("only control chars") << "\r\n\t"
                                        << "";
}

void LeaderboardFileTest::sanitize() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(SanitizeName(typed), stored);
}

void LeaderboardFileTest::missingFileIsCreatedAndOffersFirstPlace() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 1);
    const LoadResult loaded = LoadLeaderboard(path);
    QCOMPARE(loaded.status, LoadStatus::Created);
    QVERIFY(loaded.fresh());
    QCOMPARE(loaded.list, PlaceholderList());
    QCOMPARE(ReadFile(path), QByteArray("0,0\r\n").repeated(10));

    // The fresh list offers place 1 even to a score of 0, which FindPlace would refuse.
    const SaveResult saved = SaveLeaderboardEntry(path, loaded.list, 0, "name", 0);
    QCOMPARE(saved.status, SaveStatus::Saved);
    QCOMPARE(saved.place, 0);
    QCOMPARE(ReadFile(path), "name,0\r\n" + QByteArray("0,0\r\n").repeated(9));
    QVERIFY(!QFileInfo::exists(path + ".lock"));

    // Opened again, the file is there: the same 0 earns nothing now.
    const LoadResult again = LoadLeaderboard(path);
    QCOMPARE(again.status, LoadStatus::Read);
    QCOMPARE(FindPlace(again.list, 0), -1);
}

void LeaderboardFileTest::scoreEqualToTenthIsNotWritten() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 2);
    const QByteArray before = FormatLeaderboard(Lettered());
    WriteFile(path, before);
    const LoadResult loaded = LoadLeaderboard(path);
    QCOMPARE(loaded.status, LoadStatus::Read);
    QCOMPARE(FindPlace(loaded.list, 1), -1);
    QCOMPARE(SaveLeaderboardEntry(path, loaded.list, -1, "x", 1).status,
             SaveStatus::NoLongerPlaced);
    QCOMPARE(ReadFile(path), before);
}

void LeaderboardFileTest::newBestMovesTheOthersDown() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 3);
    WriteFile(path, FormatLeaderboard(Lettered()));
    const LoadResult loaded = LoadLeaderboard(path);
    const int place = FindPlace(loaded.list, 11);
    QCOMPARE(place, 0);
    QCOMPARE(SaveLeaderboardEntry(path, loaded.list, place, "N", 11).status, SaveStatus::Saved);
    QCOMPARE(ReadFile(path), QByteArray("N,11\r\na,10\r\nb,9\r\nc,8\r\nd,7\r\ne,6\r\nf,5\r\n"
                                        "g,4\r\nh,3\r\ni,2\r\n"));
}

void LeaderboardFileTest::twelveLinesBecomeTen() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 1);
    QByteArray bytes;
    for (int k = 0; k < 12; ++k)
        bytes += "p" + QByteArray::number(k) + "," + QByteArray::number(120 - 10 * k) + "\r\n";
    WriteFile(path, bytes);
    const LoadResult loaded = LoadLeaderboard(path);
    QCOMPARE(loaded.list[9], (LeaderboardEntry{"p9", 30}));
    // 25 would beat the eleventh line, but that line is not part of the list.
    QCOMPARE(FindPlace(loaded.list, 25), -1);
    QCOMPARE(SaveLeaderboardEntry(path, loaded.list, 2, "N", 105).status, SaveStatus::Saved);
    const QByteArray after = ReadFile(path);
    QCOMPARE(after.count("\r\n"), 10);
    QVERIFY(after.startsWith("p0,120\r\np1,110\r\nN,105\r\np2,100\r\n"));
    QVERIFY(after.endsWith("p8,40\r\n"));
}

void LeaderboardFileTest::modesNeverMix() {
    QTemporaryDir dir;
    WriteFile(LeaderboardFilePath(dir.path(), 2), FormatLeaderboard(Lettered()));
    WriteFile(LeaderboardFilePath(dir.path(), 4), "only,5\r\n");
    const QByteArray mode2 = ReadFile(LeaderboardFilePath(dir.path(), 2));

    QCOMPARE(LoadLeaderboard(LeaderboardFilePath(dir.path(), 2)).list, Lettered());
    QCOMPARE(LoadLeaderboard(LeaderboardFilePath(dir.path(), 4)).list, List({{"only", 5}}));

    // Saving in mode 3 creates mode 3's own file and leaves the others alone.
    const LoadResult three = LoadLeaderboard(LeaderboardFilePath(dir.path(), 3));
    QCOMPARE(three.status, LoadStatus::Created);
    QCOMPARE(three.list, PlaceholderList());
    QCOMPARE(SaveLeaderboardEntry(LeaderboardFilePath(dir.path(), 3), three.list, 0, "t", 9).status,
             SaveStatus::Saved);
    QCOMPARE(ReadFile(LeaderboardFilePath(dir.path(), 2)), mode2);
    QCOMPARE(ReadFile(LeaderboardFilePath(dir.path(), 4)), QByteArray("only,5\r\n"));
    QVERIFY(!QFileInfo::exists(LeaderboardFilePath(dir.path(), 1)));
    QVERIFY(!QFileInfo::exists(LeaderboardFilePath(dir.path(), 5)));
}

void LeaderboardFileTest::gbkNamesRoundTripByteForByte() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 1);
    // As the Windows original writes them: 张三, 李四, 王五 in GBK.
    const QByteArray fixture = QByteArray::fromHex("D5C5C8FD") + ",300\r\n" +
                               QByteArray::fromHex("C0EECBC4") + ",200\r\n" +
                               QByteArray::fromHex("CDF5CEE5") + ",100\r\n" +
                               QByteArray("0,0\r\n").repeated(7);
    WriteFile(path, fixture);
    const LoadResult loaded = LoadLeaderboard(path);
    QCOMPARE(loaded.list[0].name, QString::fromUtf8("张三"));
    QCOMPARE(loaded.list[1].name, QString::fromUtf8("李四"));
    QCOMPARE(loaded.list[2].name, QString::fromUtf8("王五"));

    QCOMPARE(SaveLeaderboardEntry(path, loaded.list, 1, QString::fromUtf8("小明"), 250).status,
             SaveStatus::Saved);
    const QByteArray expected =
        QByteArray::fromHex("D5C5C8FD") + ",300\r\n" + QByteArray::fromHex("D0A1C3F7") +
        ",250\r\n" + QByteArray::fromHex("C0EECBC4") + ",200\r\n" +
        QByteArray::fromHex("CDF5CEE5") + ",100\r\n" + QByteArray("0,0\r\n").repeated(6);
    QCOMPARE(ReadFile(path), expected);
}

void LeaderboardFileTest::largeScoresRoundTrip() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 5);
    WriteFile(path, "a,50000\r\nb,40000\r\n");
    const LoadResult loaded = LoadLeaderboard(path);
    QCOMPARE(loaded.list[0].score, qint64(50000));
    QCOMPARE(FindPlace(loaded.list, 45000), 1);
    QCOMPARE(SaveLeaderboardEntry(path, loaded.list, 1, "c", 45000).status, SaveStatus::Saved);
    QCOMPARE(ReadFile(path),
             "a,50000\r\nc,45000\r\nb,40000\r\n" + QByteArray("0,0\r\n").repeated(7));
    QCOMPARE(LoadLeaderboard(path).list[1].score, qint64(45000));
}

void LeaderboardFileTest::nameIsMadeStorable() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 1);
    const LoadResult loaded = LoadLeaderboard(path);
    QCOMPARE(SaveLeaderboardEntry(path, loaded.list, 0, "a,b\r\nc\t", 7).status, SaveStatus::Saved);
    const QByteArray bytes = ReadFile(path);
    QCOMPARE(bytes, "a\xA3\xAC"
                    "bc,7\r\n" +
                        QByteArray("0,0\r\n").repeated(9));
    QCOMPARE(LoadLeaderboard(path).list[0], (LeaderboardEntry{"a，bc", 7}));

    // Nothing left of the name: nothing is written.
    QCOMPARE(SaveLeaderboardEntry(path, LoadLeaderboard(path).list, 0, "\r\n", 9).status,
             SaveStatus::EmptyName);
    QCOMPARE(ReadFile(path), bytes);
}

void LeaderboardFileTest::failedSaveLeavesOldFile_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<SaveStatus>("status");
    QTest::newRow("another copy holds the lock") << "lock held" << SaveStatus::LockFailed;
    QTest::newRow("lock path is blocked") << "lock blocked" << SaveStatus::LockFailed;
    QTest::newRow("file is a folder") << "file is folder" << SaveStatus::ReadFailed;
    QTest::newRow("read-only folder") << "read-only folder" << SaveStatus::FolderNotWritable;
}

void LeaderboardFileTest::failedSaveLeavesOldFile() {
    QFETCH(QString, failure);
    QFETCH(SaveStatus, status);
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 1);
    const QByteArray before = FormatLeaderboard(Lettered());
    if (failure != "file is folder") WriteFile(path, before);

    QLockFile other(path + ".lock");
    if (failure == "lock held") {
        QVERIFY(other.tryLock(0));
    } else if (failure == "lock blocked") {
        QVERIFY(QDir(dir.path()).mkdir("kavex1.tmp.lock"));
    } else if (failure == "file is folder") {
        QVERIFY(QDir(dir.path()).mkdir("kavex1.tmp"));
    } else if (failure == "read-only folder") {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        if (IsWritableFolder(dir.path())) {
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("permissions do not stop this user (root) from writing; the other rows "
                  "cover failing saves");
        }
    }

    const SaveResult result = SaveLeaderboardEntry(path, Lettered(), 0, "N", 50, 0);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(result.status, status);
    QCOMPARE(result.path, path);
    if (failure == "file is folder")
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(ReadFile(path), before);
    // No temporary file of the failed attempt is left behind.
    QStringList left =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    left.removeAll("kavex1.tmp");
    left.removeAll("kavex1.tmp.lock");
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
}

void LeaderboardFileTest::staleLockIsTakenOver() {
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 1);
    WriteFile(path, FormatLeaderboard(Lettered()));
    // The lock of a copy of the game that died while saving: its process no longer runs.
    WriteFile(path + ".lock", "999999999\nnumora\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    const SaveResult result = SaveLeaderboardEntry(path, Lettered(), 0, "N", 50, 0);
    QCOMPARE(result.status, SaveStatus::Saved);
    QCOMPARE(LoadLeaderboard(path).list[0], (LeaderboardEntry{"N", 50}));
}

void LeaderboardFileTest::twoOpeningsBothSave_data() {
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("second");
    QTest::addColumn<SaveStatus>("secondStatus");
    QTest::addColumn<QByteArray>("file");
    // Both openings saw names a..j with scores 10..1.
    QTest::newRow("both earn places")
        << qint64(8) << qint64(20) << SaveStatus::Saved
        << QByteArray("S,20\r\na,10\r\nb,9\r\nc,8\r\nF,8\r\nd,7\r\ne,6\r\nf,5\r\ng,4\r\nh,3\r\n");
    QTest::newRow("second offered the same place")
        << qint64(3) << qint64(3) << SaveStatus::Saved
        << QByteArray("a,10\r\nb,9\r\nc,8\r\nd,7\r\ne,6\r\nf,5\r\ng,4\r\nh,3\r\nF,3\r\nS,3\r\n");
    QTest::newRow("second pushed out meanwhile")
        << qint64(5) << qint64(2) << SaveStatus::NoLongerPlaced
        << QByteArray("a,10\r\nb,9\r\nc,8\r\nd,7\r\ne,6\r\nf,5\r\nF,5\r\ng,4\r\nh,3\r\ni,2\r\n");
}

void LeaderboardFileTest::twoOpeningsBothSave() {
    QFETCH(qint64, first);
    QFETCH(qint64, second);
    QFETCH(SaveStatus, secondStatus);
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = LeaderboardFilePath(dir.path(), 1);
    WriteFile(path, FormatLeaderboard(Lettered()));
    const LoadResult a = LoadLeaderboard(path);
    const LoadResult b = LoadLeaderboard(path);
    const int placeA = FindPlace(a.list, first);
    const int placeB = FindPlace(b.list, second);
    QVERIFY(placeA >= 0 && placeB >= 0);
    QCOMPARE(SaveLeaderboardEntry(path, a.list, placeA, "F", first).status, SaveStatus::Saved);
    QCOMPARE(SaveLeaderboardEntry(path, b.list, placeB, "S", second).status, secondStatus);
    QCOMPARE(ReadFile(path), file);
}

void LeaderboardFileTest::folderChoice_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("programUsed");
    QTest::newRow("writable program folder") << "writable" << true;
    QTest::newRow("program folder missing") << "missing" << false;
    QTest::newRow("program folder is a file") << "file" << false;
    QTest::newRow("read-only program folder") << "read-only" << false;
}

void LeaderboardFileTest::folderChoice() {
    QFETCH(QString, program);
    QFETCH(bool, programUsed);
    QTemporaryDir root;
    QString programDir = QDir(root.path()).filePath("program");
    const QString userDir = QDir(root.path()).filePath("user/data/numora");
    if (program == "writable" || program == "read-only") QVERIFY(QDir().mkpath(programDir));
    if (program == "file") {
        WriteFile(programDir, "not a folder");
        programDir = QDir(programDir).filePath("sub");
    }
    if (program == "read-only") {
        QVERIFY(QFile::setPermissions(programDir, QFile::ReadOwner | QFile::ExeOwner));
        if (IsWritableFolder(programDir)) {
            QFile::setPermissions(programDir,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("permissions do not stop this user (root) from writing; the missing and "
                  "file rows cover unwritable program folders");
        }
    }

    const QString chosen = ChooseLeaderboardFolder(programDir, userDir);
    QFile::setPermissions(programDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(chosen, programUsed ? programDir : userDir);
    QCOMPARE(QFileInfo(userDir).isDir(), !programUsed);
    QVERIFY(IsWritableFolder(chosen));
    // The probe used to decide leaves nothing behind.
    if (programUsed) QVERIFY(QDir(programDir).isEmpty());
}

QTEST_GUILESS_MAIN(LeaderboardFileTest)
#include "leaderboard_file_test.moc"
