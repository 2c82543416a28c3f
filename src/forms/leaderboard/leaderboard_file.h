// The ten best scores of one game mode, kept in a small text file per mode beside the
// program (or in the player's data folder when the program's folder is read-only).
//
// The file format is shared with the original Windows program and must stay readable by it:
// no header, one entry per line, best first, each line `name,score` + CR LF, names in GBK
// (read here as GB18030, its superset; written as CP936, the original's code page, where it
// has the character). A file the program writes always has exactly ten lines.
#pragma once

#include "game/top_ten.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>
#include <utility>

class QFileDevice;
class QIODevice;

namespace numora {

inline constexpr int kLeaderboardSize = kTopTenSize;

// What a place holds when no one has earned it yet, and what a line that cannot be read
// counts as.
inline QString PlaceholderName() {
    return QStringLiteral("0");
}

struct LeaderboardEntry {
    LeaderboardEntry() = default;
    LeaderboardEntry(QString name_, qint64 score_, QByteArray line_ = {})
        : name(std::move(name_)), score(score_), line(std::move(line_)) {}

    QString name = PlaceholderName();
    qint64 score = 0;
    // The line this entry was read from, without its line end. A save writes it back as it
    // was while name and score still say what it says: a file from the Windows original
    // may hold bytes (CP936's euro sign 0x80, codes GB18030 reads otherwise) that no decoding
    // and encoding would give back. Not part of an entry's identity.
    QByteArray line;

    friend bool operator==(const LeaderboardEntry& a, const LeaderboardEntry& b) {
        return a.name == b.name && a.score == b.score;
    }
};

// Index 0 is place 1.
using LeaderboardList = TopTen<LeaderboardEntry>;

LeaderboardList PlaceholderList();

// "kavex<mode>.tmp"; the name the original program used, so existing files keep working.
QString LeaderboardFileName(int mode);
QString LeaderboardFilePath(const QString& folder, int mode);

// Reads as much as the bytes supply and leaves the rest as placeholders. Lines end in CR LF
// or LF; only the first ten count. The name is everything before the first comma, read as
// GB18030 except a lone byte 0x80, CP936's euro sign, and made storable as SanitizeName
// makes a typed one; each entry keeps its line, so a save writes back what was read; a score
// that is not a plain decimal integer fitting in 64 bits counts as 0 (a wrapped or clamped
// value would put a damaged line at the top of the list). Never fails, whatever the bytes.
LeaderboardList ParseLeaderboard(const QByteArray& bytes);

// Exactly ten lines, CR LF after each: an entry's own line where it has one, name and score
// otherwise, each character of the name in CP936 where CP936 has it and reading gives it back,
// in GB18030 where not.
QByteArray FormatLeaderboard(const LeaderboardList& list);

// The score text of one line: optional surrounding blanks, optional sign, decimal digits.
qint64 ParseScore(QByteArrayView text);

// The index the score earns, or -1 (see PlaceFor).
int FindPlace(const LeaderboardList& list, qint64 score);

// The list with the entry put in at `place` (0..9); the ones from there on move down one and
// the old tenth drops out.
LeaderboardList WithEntry(const LeaderboardList& list, int place, const QString& name,
                          qint64 score);

// A name as it can be stored: a comma would end the name early on reading, so it becomes the
// full-width comma; control characters (line breaks and tabs pasted into the name box) and
// lone surrogate halves (which no encoding can store) are dropped.
QString SanitizeName(const QString& typed);

// --- The files themselves -------------------------------------------------------------

enum class LoadStatus {
    Read,         // the file was there and was read
    Created,      // the file was missing and has been created with ten placeholders
    CreateFailed, // the file was missing and could not be created
    Unreadable,   // something is at the path but cannot be read; it is left alone
};

struct LoadResult {
    LoadStatus status = LoadStatus::Read;
    LeaderboardList list = PlaceholderList();
    QString detail; // the system's own words when the list could not be read

    // Whether the list is a fresh one, on which the new score is offered place 1 whatever it
    // is, as the original program did when it found no file. A list that is there but cannot
    // be read is not: a save would put a new list in place of entries no one has seen.
    bool fresh() const {
        return status == LoadStatus::Created || status == LoadStatus::CreateFailed;
    }
};

// Reads at most the first ten lines, and never more than kMaxReadBytes, so a huge or
// damaged file cannot exhaust memory. Nothing when the device fails while reading.
inline constexpr qint64 kMaxReadBytes = 16 * 1024 * 1024;
std::optional<LeaderboardList> ReadLeaderboard(QIODevice& device);

// `seed` is the same mode's file in another folder (the one beside the program, when the
// files live in the player's folder): when nothing is at `path`, the list starts from that
// file if it can be read, and `path` is created holding it. The seed is never written.
LoadResult LoadLeaderboard(const QString& path, const QString& seed = {});

enum class SaveStatus {
    Saved,
    NoLongerPlaced, // another copy of the game filled the list meanwhile
    EmptyName,      // nothing left of the name once it was made storable
    LockFailed,     // another copy of the game held the file's lock too long
    ReadFailed,     // the file is there but cannot be read, so it cannot be safely updated
    // The new file could not be written; the old one is unchanged. Why:
    FolderNotWritable, // nothing can be created in the folder
    FileNotWritable,   // the file itself is write-protected
    DiskFull,          // no room left on the disk
    WriteFailed,       // anything else; the detail says what
};

struct SaveResult {
    SaveStatus status = SaveStatus::Saved;
    int place = -1; // where the entry went, when saved
    QString path;   // the file concerned, for the message to the player
    QString detail; // the system's own words for a failure, when it gave any
};

// What a failed write of the list to `path` through `device` comes to: the cause, with the
// device's error text as detail.
SaveResult WriteFailure(const QString& path, const QFileDevice& device);

// How long a save waits for another copy of the game to finish its own.
inline constexpr int kLockTimeoutMs = 3000;
// A lock older than this belongs to a copy that died while saving.
inline constexpr int kStaleLockMs = 10000;

// Puts the entry into the file as it is now. `seen` is the list the player was shown and
// `offered` the place offered on it: when the file still holds exactly that list the offer
// stands (this is how a fresh list gives place 1 even to a score of 0); when another copy of
// the game changed the file meanwhile, the place is worked out again against what is there
// now, so no one else's entry is lost. The file is replaced whole, never left half-written.
// `seed` as for LoadLeaderboard: what the file holds while nothing is at `path` yet.
SaveResult SaveLeaderboardEntry(const QString& path, const LeaderboardList& seen, int offered,
                                const QString& name, qint64 score,
                                int lockTimeoutMs = kLockTimeoutMs, const QString& seed = {});

// The program's folder when it can be written to, so files beside the program keep working;
// otherwise the per-user data folder, created when missing.
QString ChooseLeaderboardFolder(const QString& programDir, const QString& userDataDir);
QString LeaderboardFolder();
// The program's own folder, where the files were first kept.
QString ProgramFolder();

// Whether a file can actually be created in the folder (permission bits alone mislead on
// Windows ACLs and for root).
bool IsWritableFolder(const QString& dir);

} // namespace numora
