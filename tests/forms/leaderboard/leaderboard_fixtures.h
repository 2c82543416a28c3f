// Small helpers for building lists and files in the leaderboard tests.
#pragma once

#include "forms/leaderboard/leaderboard_file.h"

#include <QFile>
#include <QTest>

#include <initializer_list>

namespace numora::testing {

// The given entries from place 1 on, placeholders after them.
inline LeaderboardList List(std::initializer_list<LeaderboardEntry> entries) {
    LeaderboardList list = PlaceholderList();
    int k = 0;
    for (const LeaderboardEntry& entry : entries)
        list[k++] = entry;
    return list;
}

// Entries named s0, s1, ... holding the given scores.
inline LeaderboardList Scores(std::initializer_list<qint64> scores) {
    LeaderboardList list = PlaceholderList();
    int k = 0;
    for (qint64 score : scores) {
        list[k] = LeaderboardEntry{QStringLiteral("s%1").arg(k), score};
        ++k;
    }
    return list;
}

// A full list: a..j holding 10..1.
inline LeaderboardList Lettered() {
    LeaderboardList list;
    for (int k = 0; k < kLeaderboardSize; ++k)
        list[k] = LeaderboardEntry{QString(QChar(u'a' + k)), kLeaderboardSize - k};
    return list;
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<cannot read " + path.toUtf8() + ">";
    return file.readAll();
}

} // namespace numora::testing

namespace numora {
// Lets QCOMPARE show which entries differ.
inline char* toString(const LeaderboardList& list) {
    QByteArray text;
    for (const LeaderboardEntry& entry : list)
        text += entry.name.toUtf8() + ',' + QByteArray::number(entry.score) + "; ";
    return qstrdup(text.constData());
}
inline char* toString(const SaveStatus& status) {
    return qstrdup(QByteArray::number(int(status)).constData());
}
inline char* toString(const LoadStatus& status) {
    return qstrdup(QByteArray::number(int(status)).constData());
}
inline char* toString(const LeaderboardEntry& entry) {
    return qstrdup((entry.name.toUtf8() + ',' + QByteArray::number(entry.score)).constData());
}
} // namespace numora

Q_DECLARE_METATYPE(numora::LeaderboardList)
Q_DECLARE_METATYPE(numora::SaveStatus)
