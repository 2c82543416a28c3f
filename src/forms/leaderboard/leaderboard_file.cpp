#include "forms/leaderboard/leaderboard_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <limits>

namespace numora {

namespace {

// GB18030 contains GBK, so files from the Windows original read correctly, and it can
// encode every character, so any name typed here comes back unchanged.
constexpr const char* kNameEncoding = "GB18030";
constexpr const char* kOriginalEncoding = "windows-936";

QString DecodeGb18030(QByteArrayView bytes) {
    QStringDecoder decoder(kNameEncoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// GB18030 leaves the single byte 0x80 undefined; in CP936, the Windows original's code page,
// it is the euro sign. Elsewhere 0x80 is the second byte of a two-byte code, so the codes
// are walked to tell the two apart.
QString DecodeName(QByteArrayView bytes) {
    QString name;
    qsizetype from = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = quint8(bytes[i]);
        if (byte == 0x80) {
            name += DecodeGb18030(bytes.sliced(from, i - from)) + QChar(0x20AC);
            from = ++i;
        } else if (byte < 0x81 || byte == 0xFF) {
            ++i;
        } else {
            const bool four = i + 1 < bytes.size() && bytes[i + 1] >= '0' && bytes[i + 1] <= '9';
            i = qMin(bytes.size(), i + (four ? 4 : 2));
        }
    }
    return name + DecodeGb18030(bytes.sliced(from));
}

// The Windows original reads names in CP936 and knows nothing of what GB18030 adds to it.
// Each character goes in CP936's bytes only where this program reads them back as that same
// character: CP936 writes the euro sign as 0x80, which GB18030 lacks, but gives some private-use
// characters codes that GB18030 reads as others, and puts "?" for what it lacks.
QByteArray EncodeName(const QString& name) {
    QStringEncoder cp936(kOriginalEncoding, QStringConverter::Flag::Stateless);
    QStringEncoder gb18030(kNameEncoding, QStringConverter::Flag::Stateless);
    QByteArray out;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype length = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QStringView character = QStringView(name).sliced(i, length);
        i += length;
        const QByteArray bytes = cp936.encode(character);
        out += DecodeName(bytes) == character ? bytes : QByteArray(gb18030.encode(character));
    }
    return out;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

LeaderboardEntry ParseLine(QByteArrayView line) {
    LeaderboardEntry entry;
    entry.line = line.toByteArray();
    const qsizetype comma = line.indexOf(',');
    if (comma < 0) {
        entry.score = ParseScore(line);
        return entry;
    }
    // Made storable at once, so the list shown is the list any save writes back: a control
    // character in an old file would otherwise vanish from every entry at the next save.
    entry.name = SanitizeName(DecodeName(line.first(comma)));
    entry.score = ParseScore(line.sliced(comma + 1));
    return entry;
}

enum class Found { List, Nothing, Unreadable };

// What is at `path`: a list read to its end (into `list`), nothing, or something that cannot
// be read (the system's words in `detail`, when it gave any). Something other than a plain
// file is never opened: a named pipe would block the game until something wrote to it.
Found ReadFile(const QString& path, LeaderboardList& list, QString& detail) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return Found::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(path)) return Found::Nothing;
        detail = file.errorString();
        return Found::Unreadable;
    }
    const std::optional<LeaderboardList> read = ReadLeaderboard(file);
    if (!read) {
        detail = file.errorString();
        return Found::Unreadable;
    }
    list = *read;
    return Found::List;
}

// Reads the seed file into `list` when it is another plain file that can be read.
bool ReadSeed(const QString& path, const QString& seed, LeaderboardList& list) {
    QString ignored;
    return !seed.isEmpty() &&
           QFileInfo(seed).absoluteFilePath() != QFileInfo(path).absoluteFilePath() &&
           ReadFile(seed, list, ignored) == Found::List;
}

// Writes all of `bytes` to a device opened unbuffered. A write the disk cuts short returns
// what fitted and sets no error; only writing on from there makes the system say why (a full
// disk, a size limit).
bool WriteAll(QFileDevice& out, const QByteArray& bytes) {
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 n = out.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) return false;
        written += n;
    }
    return true;
}

// Puts `bytes` in place of the file whole, or leaves the old file as it was. Unbuffered, so
// every write reaches the system at once: QSaveFile::commit() (Qt 6.4) ignores a failure of
// its own flush, and with bytes still buffered would put a short file in place of the old one
// and report success.
bool WriteWhole(QSaveFile& out, const QByteArray& bytes) {
    return out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteAll(out, bytes) &&
           out.commit();
}

QString LockPath(const QString& path) {
    return path + QStringLiteral(".lock");
}

LoadStatus StatusOf(Found found) {
    return found == Found::List ? LoadStatus::Read : LoadStatus::Unreadable;
}

} // namespace

LeaderboardList PlaceholderList() {
    return LeaderboardList{};
}

QString LeaderboardFileName(int mode) {
    return QStringLiteral("kavex%1.tmp").arg(mode);
}

QString LeaderboardFilePath(const QString& folder, int mode) {
    return QDir(folder).filePath(LeaderboardFileName(mode));
}

qint64 ParseScore(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == '-' || text[begin] == '+')) {
        negative = text[begin] == '-';
        ++begin;
    }
    if (begin == end) return 0;

    // Accumulated as a magnitude so the most negative value still fits.
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    quint64 magnitude = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return 0;
        const auto digit = quint64(c - '0');
        if (magnitude > (limit - digit) / 10) return 0;
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) return qint64(magnitude);
    return magnitude == limit ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
}

LeaderboardList ParseLeaderboard(const QByteArray& bytes) {
    LeaderboardList list = PlaceholderList();
    const QByteArrayView all(bytes);
    qsizetype start = 0;
    for (int row = 0; row < kLeaderboardSize && start < all.size(); ++row) {
        qsizetype end = all.indexOf('\n', start);
        const qsizetype next = end < 0 ? all.size() : end + 1;
        if (end < 0) end = all.size();
        QByteArrayView line = all.sliced(start, end - start);
        if (line.endsWith('\r')) line.chop(1);
        list[row] = ParseLine(line);
        start = next;
    }
    return list;
}

QByteArray FormatLeaderboard(const LeaderboardList& list) {
    QByteArray out;
    for (const LeaderboardEntry& entry : list) {
        if (!entry.line.isNull() && ParseLine(entry.line) == entry) {
            out += entry.line;
        } else {
            out += EncodeName(SanitizeName(entry.name));
            out += ',';
            out += QByteArray::number(entry.score);
        }
        out += "\r\n";
    }
    return out;
}

int FindPlace(const LeaderboardList& list, qint64 score) {
    return PlaceFor(list, score);
}

LeaderboardList WithEntry(const LeaderboardList& list, int place, const QString& name,
                          qint64 score) {
    return WithEntry(list, place, LeaderboardEntry{SanitizeName(name), score});
}

QString SanitizeName(const QString& typed) {
    QString out;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        if (c.isHighSurrogate() && i + 1 < typed.size() && typed[i + 1].isLowSurrogate()) {
            out += c;
            out += typed[++i];
        } else if (c.isSurrogate() || c.category() == QChar::Other_Control) {
            continue;
        } else if (c == u',') {
            out += QChar(0xFF0C); // full-width comma
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<LeaderboardList> ReadLeaderboard(QIODevice& device) {
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray bytes;
    int lineBreaks = 0;
    while (lineBreaks < kLeaderboardSize && bytes.size() < kMaxReadBytes) {
        const qsizetype had = bytes.size();
        bytes.resize(had + qMin(kChunk, kMaxReadBytes - had));
        // The count, not the bytes: an empty read is the end of the file or an error, and only
        // -1 tells them apart.
        const qint64 n = device.read(bytes.data() + had, bytes.size() - had);
        if (n < 0) return std::nullopt;
        bytes.truncate(had + n);
        if (n == 0) break;
        lineBreaks += int(QByteArrayView(bytes).sliced(had).count('\n'));
    }
    return ParseLeaderboard(bytes);
}

LoadResult LoadLeaderboard(const QString& path, const QString& seed) {
    LoadResult result;
    // Something there that cannot be read (a folder, no permission, a pipe, a failing disk) is
    // never overwritten: it may hold entries that become readable again.
    Found found = ReadFile(path, result.list, result.detail);
    if (found != Found::Nothing) {
        result.status = StatusOf(found);
        return result;
    }

    result.status = LoadStatus::CreateFailed;
    QLockFile lock(LockPath(path));
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockTimeoutMs)) {
        if (ReadSeed(path, seed, result.list)) result.status = LoadStatus::Read;
        return result;
    }
    // Another copy of the game may have created it while this one waited.
    found = ReadFile(path, result.list, result.detail);
    if (found != Found::Nothing) {
        result.status = StatusOf(found);
        return result;
    }
    // A list the player keeps beside the program goes on here; the new file holds it.
    const bool seeded = ReadSeed(path, seed, result.list);
    QSaveFile out(path);
    const QByteArray bytes = FormatLeaderboard(result.list);
    const bool created = WriteWhole(out, bytes);
    if (seeded)
        result.status = LoadStatus::Read;
    else if (created)
        result.status = LoadStatus::Created;
    return result;
}

namespace {

// Why the lock of `path` could not be taken. Another copy holding it says so; otherwise the
// lock file itself could not be made, and a file of the same kind beside it shows why.
SaveResult LockFailure(const QString& path, const QLockFile& lock) {
    SaveResult result;
    result.path = path;
    result.status = SaveStatus::LockFailed;
    qint64 pid = 0;
    QString host, program;
    if (lock.error() == QLockFile::LockFailedError) {
        if (lock.getLockInfo(&pid, &host, &program))
            result.detail = QStringLiteral("%1: %2 (pid %3, %4)")
                                .arg(QDir::toNativeSeparators(LockPath(path)), program)
                                .arg(pid)
                                .arg(host);
        return result;
    }
    QTemporaryFile probe(QFileInfo(path).dir().filePath(QStringLiteral("kavex-XXXXXX")));
    if (!probe.open()) {
        result.status = SaveStatus::FolderNotWritable;
        result.detail = probe.errorString();
        return result;
    }
    QFile same(probe.fileName()); // written unbuffered, as a save is, so the system says why
    if (!same.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !WriteAll(same, LockPath(path).toUtf8()))
        return WriteFailure(path, same);
    return result;
}

} // namespace

SaveResult SaveLeaderboardEntry(const QString& path, const LeaderboardList& seen, int offered,
                                const QString& name, qint64 score, int lockTimeoutMs,
                                const QString& seed) {
    SaveResult result;
    result.path = path;
    const QString storable = SanitizeName(name);
    if (storable.isEmpty()) {
        result.status = SaveStatus::EmptyName;
        return result;
    }

    QLockFile lock(LockPath(path));
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(lockTimeoutMs)) return LockFailure(path, lock);

    LeaderboardList now = PlaceholderList();
    const Found found = ReadFile(path, now, result.detail);
    if (found == Found::Unreadable) {
        result.status = SaveStatus::ReadFailed;
        return result;
    }
    if (found == Found::Nothing) ReadSeed(path, seed, now);

    const bool unchanged = now == seen && offered >= 0 && offered < kLeaderboardSize;
    const int place = unchanged ? offered : FindPlace(now, score);
    if (place < 0) {
        result.status = SaveStatus::NoLongerPlaced;
        return result;
    }

    QSaveFile out(path);
    const QByteArray bytes = FormatLeaderboard(WithEntry(now, place, storable, score));
    if (!WriteWhole(out, bytes)) return WriteFailure(path, out);
    result.status = SaveStatus::Saved;
    result.place = place;
    return result;
}

SaveResult WriteFailure(const QString& path, const QFileDevice& device) {
    SaveResult result;
    result.path = path;
    result.detail = device.errorString();
    const QFileInfo file(path);
    if (device.error() == QFileDevice::ResourceError)
        result.status = SaveStatus::DiskFull; // what the system reports for ENOSPC
    else if (file.exists() && !file.isWritable())
        result.status = SaveStatus::FileNotWritable;
    else if (!IsWritableFolder(file.absolutePath()))
        result.status = SaveStatus::FolderNotWritable;
    else
        result.status = SaveStatus::WriteFailed;
    return result;
}

bool IsWritableFolder(const QString& dir) {
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) return false;
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral("kavex-probe-XXXXXX")));
    return probe.open();
}

QString ChooseLeaderboardFolder(const QString& programDir, const QString& userDataDir) {
    if (IsWritableFolder(programDir) || userDataDir.isEmpty()) return programDir;
    QDir().mkpath(userDataDir);
    return userDataDir;
}

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

QString LeaderboardFolder() {
    return ChooseLeaderboardFolder(
        ProgramFolder(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace numora
