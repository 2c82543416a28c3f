// A long session of a child pressing everything at every moment, on the real windows: the
// main window, the leaderboard it opens at every game over and the help. A seeded stream of
// events (arrow keys with and without modifiers and auto-repeat, every menu item, the
// timers' ticks, the ends of the game's waits, typing and Enter and the close box on the
// leaderboard) drives them, and after every single event the windows must show exactly the
// game's state. NUMORA_RANDOM_EVENTS and NUMORA_RANDOM_SEED change the length and the seed.
#include "forms/leaderboard/form2.h"
#include "forms/main/form1.h"
#include "support/fake_sound.h"
#include "support/quiet_offscreen.h"

#include <QAction>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

using namespace numora;

// Fails the test with the condition, what it concerns and the events that led there; the
// message is only built on failure, as the checks run millions of times.
#define SESSION_CHECK(cond, what)                                                          \
    do {                                                                                  \
        if (!(cond))                                                                      \
            QFAIL(qPrintable(QStringLiteral("%1 (%2)\n").arg(QStringLiteral(#cond), what) + \
                             Log()));                                                     \
    } while (false)

namespace {

constexpr int kDefaultEvents = 100000;

int EnvInt(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// The colour a cell paints behind its text, as drawn now.
QColor Painted(QWidget* widget) {
    return widget->grab(QRect(1, 1, 1, 1)).toImage().pixelColor(0, 0);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The windows as main.cpp wires them, over a leaderboard folder of their own.
struct Windows {
    explicit Windows(quint32 seed) : random(seed), form1(sound, random) {
        QObject::connect(&form1, &Form1::gameEnded, &form1, [this](int mode, qint64 score) {
            handOver(mode, score);
            if (!form2) form2 = std::make_unique<Form2>(sound, dir.path());
            form2->ShowFor(mode, score);
            opened(mode);
        });
        for (int k = 0; k < kCellCount; ++k)
            cells[std::size_t(k)] = Label(QStringLiteral("LabRes_%1").arg(k));
        for (int i = 0; i < 2; ++i) {
            pair[std::size_t(i)] = Label(QStringLiteral("LabB_%1").arg(i));
            preview[std::size_t(i)] = Label(QStringLiteral("LabBp_%1").arg(i));
        }
        for (int i = 1; i <= 5; ++i) modes.push_back(Item(QStringLiteral("b1_%1").arg(i)));
        levels = {Item("j1"), Item("j2"), Item("j3")};
        animation = {Item("dhy"), Item("dhw")};
        help = Item("Mhow");
        pict = Label("Pict");
        score = Label("Label1");
        picMove = Label("PicMove");
        picTboy = Label("PicTboy");
        picbg = Label("Picbg");
    }

    QLabel* Label(const QString& name) const {
        auto* label = form1.findChild<QLabel*>(name);
        if (!label) qFatal("no label %s", qPrintable(name));
        return label;
    }
    QAction* Item(const QString& name) const {
        auto* item = form1.findChild<QAction*>(name);
        if (!item) qFatal("no menu item %s", qPrintable(name));
        return item;
    }
    QLineEdit* NameBox() const { return form2->findChild<QLineEdit*>("Text1"); }
    bool LeaderboardOpen() const { return form2 && form2->isVisible(); }
    bool HelpOpen() const { return form1.helpWindow() && form1.helpWindow()->isVisible(); }

    QTemporaryDir dir;
    test::FakeSound sound;
    SeededRandom random;
    Form1 form1;
    std::unique_ptr<Form2> form2;
    std::array<QLabel*, kCellCount> cells{};
    std::array<QLabel*, 2> pair{};
    std::array<QLabel*, 2> preview{};
    std::vector<QAction*> modes;
    std::vector<QAction*> levels;
    std::vector<QAction*> animation;
    QAction* help = nullptr;
    QLabel* pict = nullptr;
    QLabel* score = nullptr;
    QLabel* picMove = nullptr;
    QLabel* picTboy = nullptr;
    QLabel* picbg = nullptr;
    // Called at each hand-over and after each leaderboard opening.
    std::function<void(int, qint64)> handOver = [](int, qint64) {};
    std::function<void(int)> opened = [](int) {};
};

// Whether the cells of the falling pair lie side by side or one above the other, on the
// board and on free cells.
bool PairFits(const GameState& s) {
    for (int i = 0; i < 2; ++i) {
        const int col = s.blkCol[std::size_t(i)], row = s.blkRow[std::size_t(i)];
        if (col < 0 || col >= nCol || row < 0 || row >= nRow || !s.board.Empty(col, row))
            return false;
    }
    return std::abs(s.blkCol[0] - s.blkCol[1]) + std::abs(s.blkRow[0] - s.blkRow[1]) == 1;
}

// How many results equal to `value` touch (col, row).
int Neighbours(const Board& board, int col, int row, const std::string& value) {
    int n = 0;
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& step : steps) {
        const int x = col + step[0], y = row + step[1];
        n += x >= 0 && x < nCol && y >= 0 && y < nRow && board(x, y) == value;
    }
    return n;
}

// How far sideways a child aiming at a match would steer the pair: to where, dropped as it
// lies, it lands beside the most equal results, or else lands lowest. This keeps games long
// and scores climbing to the milestones, whose waits a child pressing at random would
// seldom see. Nothing when the pair fits nowhere.
std::optional<int> AimedShift(const GameState& s, QRandomGenerator& random) {
    int best = -1;
    std::vector<int> shifts;
    for (int dx = -(nCol - 1); dx < nCol; ++dx) {
        std::array<int, 2> col{s.blkCol[0] + dx, s.blkCol[1] + dx};
        std::array<int, 2> row = s.blkRow;
        auto free = [&](std::size_t i, int r) {
            if (col[i] < 0 || col[i] >= nCol || r >= nRow) return false;
            const std::size_t j = 1 - i;
            return s.board.Empty(col[i], r) || (col[j] == col[i] && row[j] == r);
        };
        if (!free(0, row[0]) || !free(1, row[1])) continue;
        while (free(0, row[0] + 1) && free(1, row[1] + 1)) {
            ++row[0];
            ++row[1];
        }
        const int value = 100 * (Neighbours(s.board, col[0], row[0], s.blkRes0) +
                                 Neighbours(s.board, col[1], row[1], s.blkRes1)) +
                          row[0] + row[1];
        if (value > best) shifts.clear();
        if (value >= best) {
            best = value;
            shifts.push_back(dx);
        }
    }
    if (shifts.empty()) return std::nullopt;
    return shifts[std::size_t(random.bounded(int(shifts.size())))];
}

}  // namespace

class RandomSessionTest : public QObject {
    Q_OBJECT

    // One session: the windows, the event stream and what the leaderboard files must hold.
    class Session {
    public:
        Session(quint32 seed) : w(seed), events(seed ^ 0x5EED) {
            w.handOver = [this](int mode, qint64 score) { HandOver(mode, score); };
            w.opened = [this](int mode) { Opened(mode); };
        }

        void Run(int count);
        QString Log() const;
        int gamesEnded = 0;
        int leaderboardSaves = 0;
        int helpOpenings = 0;
        int milestoneWaits = 0;
        std::int64_t bestScore = 0;
        int newGamesMidLanding = 0;
        int newGamesMidFill = 0;
        std::map<QString, int> kinds;

    private:
        void Event();
        void Key(QWidget* target, bool repeatBurst);
        void Menu();
        void Leaderboard();
        void Check();
        void CheckBoard(const GameState& s);
        void HandOver(int mode, qint64 score);
        void Opened(int mode);
        void Settle();
        void Note(const QString& what) {
            ++kinds[what.section(' ', 0, 0)];
            log.push_back(QStringLiteral("%1: %2").arg(done).arg(what));
            if (log.size() > 40) log.pop_front();
        }
        template <typename T> T Pick(const std::vector<T>& from) {
            return from[std::size_t(events.bounded(int(from.size())))];
        }

        Windows w;
        QRandomGenerator events;
        int done = 0;
        int target = 0;
        std::deque<QString> log;
        bool wasPlaying = false;
        // Whether each cell was last seen painted in the mark colour; painting is looked at
        // when that changes and every 256 events, as a grab costs far more than a check.
        std::array<bool, kCellCount> paintedMarked{};
        // What the game showed when its current milestone wait began.
        unsigned stillSerial = 0;
        Board stillBoard;
        std::array<int, 2> stillCol{}, stillRow{};
        std::int64_t stillScore = 0;
        FigureBox stillFigure;
        FigureFrame stillFrame;
        bool handOverDue = false;
        // The bytes each mode's leaderboard file must hold, once it exists.
        std::map<int, QByteArray> files;
    };

private slots:
    void initTestCase();
    void longRandomSession();
};

void RandomSessionTest::Session::Run(int count) {
    target = count;
    w.form1.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.form1));
    Check();
    while (done < target && !QTest::currentTestFailed()) Event();
}

QString RandomSessionTest::Session::Log() const {
    QStringList lines(log.begin(), log.end());
    return QStringLiteral("last events:\n  ") + lines.join(QStringLiteral("\n  "));
}

// Delivers what a running event loop would between two events, except timers, which the
// stream fires itself: repaints (so painting runs too) and windows deleted on close.
void RandomSessionTest::Session::Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void RandomSessionTest::Session::Event() {
    const bool waiting = w.form1.waitTimer().isActive();
    const int roll = events.bounded(1000);

    if (w.LeaderboardOpen() && roll < 150) {
        Leaderboard();
    } else if (w.HelpOpen() && roll < 60) {
        Note(QStringLiteral("help-close box"));
        w.form1.helpWindow()->close();
        Settle();
    } else if (roll < 380) {
        QWidget* targets[] = {w.pict, w.form1.centralWidget(), &w.form1,
                              w.cells[std::size_t(events.bounded(kCellCount))], w.pair[0],
                              w.picMove, w.score};
        QWidget* to = targets[events.bounded(int(std::size(targets)))];
        // Sometimes whatever has the focus: the leaderboard's name box, once it opened.
        if (events.bounded(5) == 0 && QApplication::focusWidget())
            to = QApplication::focusWidget();
        Key(to, events.bounded(12) == 0);
    } else if (roll < 620) {
        // Gravity: a tick arrives only while the timer runs; now and then a late one.
        if (w.form1.timer1().isActive() || events.bounded(20) == 0) {
            Note(QStringLiteral("Timer1_Timer"));
            w.form1.Timer1_Timer();
        } else if (waiting) {
            Note(QStringLiteral("WaitOver"));
            w.form1.WaitOver();
        }
    } else if (roll < 700) {
        Note(QStringLiteral("Timer3_Timer"));
        w.form1.Timer3_Timer();
    } else if (roll < 960) {
        if (waiting || events.bounded(50) == 0) {
            Note(QStringLiteral("WaitOver%1").arg(waiting ? "" : " (nothing armed)"));
            w.form1.WaitOver();
        } else {
            Note(QStringLiteral("Timer1_Timer"));
            w.form1.Timer1_Timer();
        }
    } else if (w.form1.isEnabled()) {
        Menu();
    } else {
        Note(QStringLiteral("Timer3_Timer"));
        w.form1.Timer3_Timer();
    }
    ++done;
    if (done % 64 == 0) Settle();
    Check();
}

void RandomSessionTest::Session::Key(QWidget* to, bool repeatBurst) {
    static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                   Qt::Key_Down};
    const GameState& s = w.form1.game().state();
    Qt::Key key = keys[events.bounded(int(std::size(keys)))];
    if (s.playing && s.labBVisible && events.bounded(16) != 0) {
        if (const auto dx = AimedShift(s, events))
            key = *dx < 0 ? Qt::Key_Left : *dx > 0 ? Qt::Key_Right : Qt::Key_Down;
    }
    static const Qt::KeyboardModifiers modifiers[] = {
        Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier,
        Qt::ControlModifier, Qt::AltModifier, Qt::KeypadModifier,
        Qt::ShiftModifier | Qt::ControlModifier, Qt::MetaModifier};
    const Qt::KeyboardModifiers mods = modifiers[events.bounded(int(std::size(modifiers)))];
    const bool elsewhere = to->window() != &w.form1;
    // Keys typed into another window, or while the help disables this one, never steer the
    // game.
    const bool unseen = elsewhere || !w.form1.isEnabled();
    std::optional<GameState> before;
    if (unseen) before = w.form1.game().state();
    const QString what = QStringLiteral("key %1 mods %2 to %3")
                             .arg(QKeySequence(key).toString())
                             .arg(int(mods), 0, 16)
                             .arg(to->objectName().isEmpty() ? to->metaObject()->className()
                                                             : to->objectName());
    // The main window takes every arrow press; anything else (a release, a key to another
    // window) may go unaccepted, which QTest would warn about at every event.
    auto press = [&](bool repeat) {
        if (!elsewhere) {
            QTest::simulateEvent(to, true, key, mods, QString(), repeat);
        } else {
            QKeyEvent event(QEvent::KeyPress, key, mods, QString(), repeat);
            QApplication::sendEvent(to, &event);
        }
    };
    // Holding the key down: one press, then auto-repeated presses, each an event.
    const int presses = repeatBurst ? 2 + events.bounded(12) : 1;
    for (int i = 0; i < presses && done < target; ++i) {
        Note(presses == 1 ? what : what + QStringLiteral(" held, press %1").arg(i + 1));
        press(i > 0);
        if (i + 1 < presses) {
            ++done;
            Check();
            if (QTest::currentTestFailed()) return;
        }
    }
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(to, &release);
    if (before) {
        const GameState& after = w.form1.game().state();
        SESSION_CHECK(after.blkCol == before->blkCol && after.blkRow == before->blkRow &&
                          after.score == before->score,
                      QStringLiteral("a key the game must not see"));
    }
}

void RandomSessionTest::Session::Menu() {
    // New games come most often mid-cascade and seldom mid-fill, so that both happen often
    // and most fills still run to their hand-over.
    const bool waiting = w.form1.waitTimer().isActive();
    const bool playing = w.form1.game().state().playing;
    const int newGame = waiting ? (playing ? 8 : 4) : 2;
    const int roll = events.bounded(100);
    if (events.bounded(100) < newGame) {
        const int mode = 1 + events.bounded(5);
        if (waiting) ++(playing ? newGamesMidLanding : newGamesMidFill);
        Note(QStringLiteral("menu b1_%1").arg(mode));
        w.modes[std::size_t(mode - 1)]->trigger();
    } else if (roll < 40) {
        QAction* level = Pick(w.levels);
        Note(QStringLiteral("menu %1").arg(level->objectName()));
        level->trigger();
    } else if (roll < 70) {
        QAction* item = Pick(w.animation);
        Note(QStringLiteral("menu %1").arg(item->objectName()));
        item->trigger();
    } else {
        Note(QStringLiteral("menu Mhow"));
        const bool wasOpen = w.form1.helpWindow() != nullptr;
        w.help->trigger();
        if (!wasOpen) ++helpOpenings;
    }
}

void RandomSessionTest::Session::Leaderboard() {
    Form2& form2 = *w.form2;
    const QString path = form2.filePath();
    if (QMessageBox* box = form2.message()) {
        Note(QStringLiteral("leaderboard-message close"));
        box->close();
        return;
    }
    const int roll = events.bounded(100);
    if (roll < 55 && w.NameBox()->isVisible()) {
        // Typed keys, or what an input method commits: Chinese, commas, characters beyond
        // the Basic Multilingual Plane, pasted line breaks.
        static const QString pieces[] = {QStringLiteral("a"), QStringLiteral("Z9"),
                                          QStringLiteral("小明"), QStringLiteral(","),
                                          QStringLiteral("😀"), QStringLiteral("\r\n"),
                                          QStringLiteral(" "), QStringLiteral("<b>")};
        const QString piece = pieces[events.bounded(int(std::size(pieces)))];
        Note(QStringLiteral("leaderboard-type %1").arg(piece.toHtmlEscaped()));
        if (events.bounded(2) == 0 && piece.size() == 1 && piece[0].isLetterOrNumber()) {
            QTest::keyClicks(w.NameBox(), piece);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(piece);
            QApplication::sendEvent(w.NameBox(), &commit);
        }
    } else if (roll < 85) {
        const int offered = form2.newPos();
        const LeaderboardList shown = form2.shownList();
        const QString name = w.NameBox()->text();
        const qint64 score = form2.fcount;
        Note(QStringLiteral("leaderboard-Enter %1").arg(name.toHtmlEscaped()));
        QTest::keyClick(w.NameBox(), events.bounded(2) ? Qt::Key_Return : Qt::Key_Enter);
        if (offered >= 0 && !SanitizeName(name).isEmpty()) {
            files[form2.grd] = FormatLeaderboard(WithEntry(shown, offered, name, score));
            ++leaderboardSaves;
            SESSION_CHECK(!form2.isVisible(), QStringLiteral("saved"));
        } else {
            SESSION_CHECK(form2.isVisible() || offered < 0, QStringLiteral("nothing to save"));
        }
        SESSION_CHECK(!form2.message(), QStringLiteral("no message"));
    } else {
        Note(QStringLiteral("leaderboard-close box"));
        form2.close();
    }
    QCOMPARE(ReadAll(path), files[form2.grd]);
}

// A game over has started when play stopped; the hand-over must follow exactly once.
void RandomSessionTest::Session::HandOver(int mode, qint64 score) {
    const GameState& s = w.form1.game().state();
    SESSION_CHECK(handOverDue, QStringLiteral("hand-over"));
    handOverDue = false;
    ++gamesEnded;
    QCOMPARE(mode, s.mode);
    QCOMPARE(score, s.score);
}

void RandomSessionTest::Session::Opened(int mode) {
    Form2& form2 = *w.form2;
    QVERIFY(form2.isVisible());
    QCOMPARE(form2.grd, mode);
    // The first opening of a mode creates its file with ten placeholders.
    if (!files.count(mode)) files[mode] = FormatLeaderboard(PlaceholderList());
    QCOMPARE(ReadAll(form2.filePath()), files[mode]);
    QCOMPARE(form2.shownList(), ParseLeaderboard(files[mode]));
    if (form2.newPos() >= 0) QVERIFY(w.NameBox()->isVisible());
}

void RandomSessionTest::Session::CheckBoard(const GameState& s) {
    for (int col = 0; col < nCol; ++col) {
        for (int row = 0; row < nRow; ++row) {
            const std::string& cell = s.board(col, row);
            const CellLabel& label = s.labRes[std::size_t(CellIndex(col, row))];
            const auto where = [&] {
                return QStringLiteral("cell (%1,%2) board '%3' label '%4'%5%6")
                    .arg(col).arg(row)
                    .arg(QString::fromStdString(cell), QString::fromStdString(label.caption),
                         label.visible ? " visible" : "", label.marked ? " marked" : "");
            };
            if (cell == kRemovalMark) {
                SESSION_CHECK(label.visible && label.marked && !label.caption.empty(), where());
            } else if (cell.empty()) {
                SESSION_CHECK(!label.visible && !label.marked, where());
            } else {
                SESSION_CHECK(label.visible && !label.marked && label.caption == cell, where());
            }
        }
        QVERIFY(s.board.Empty(col, nRow));
    }
    for (int row = 0; row <= nRow; ++row) QVERIFY(s.board.Empty(nCol, row));
}

void RandomSessionTest::Session::Check() {
    const GameState& s = w.form1.game().state();
    const Wait& wait = w.form1.game().waiting();
    const bool landingWait = wait.kind == Wait::Kind::Sound ||
                             (wait.kind == Wait::Kind::Pause && wait.ms == kRemovalPause);

    // The cells show exactly the game's labels; the removal colour only while a landing
    // waits.
    const bool full = done % 256 == 0;
    for (std::size_t k = 0; k < w.cells.size(); ++k) {
        const CellLabel& want = s.labRes[k];
        QLabel* cell = w.cells[k];
        const auto where = [&] {
            return QStringLiteral("LabRes_%1 shows '%2' on %3")
                .arg(k)
                .arg(cell->text(), Painted(cell).name());
        };
        SESSION_CHECK(cell->isHidden() == !want.visible, where());
        if (want.visible)
            SESSION_CHECK(cell->text() == QLatin1String(want.caption.data(),
                                                        qsizetype(want.caption.size())),
                          where());
        if (want.visible && (full || want.marked != paintedMarked[k])) {
            SESSION_CHECK(Painted(cell) == QColor(want.marked ? kMarkColour : kCellColour),
                          where());
            paintedMarked[k] = want.marked;
        }
        SESSION_CHECK(!want.marked || landingWait, where());
    }
    if (s.playing) CheckBoard(s);
    if (QTest::currentTestFailed()) return;

    // The falling pair sits on its cells; the preview and the score show the game's.
    for (std::size_t i = 0; i < 2; ++i) {
        SESSION_CHECK(w.pair[i]->isHidden() == !s.labBVisible, QStringLiteral("LabB"));
        if (s.labBVisible) {
            QCOMPARE(w.pair[i]->pos(),
                     QPoint(s.blkCol[i] * (cellW + 1), kBannerHeight + s.blkRow[i] * (cellH + 1)));
            QCOMPARE(w.pair[i]->text(), QString::fromStdString(s.labB[i]));
        }
        QCOMPARE(w.preview[i]->isHidden(), !s.labBpVisible);
        QCOMPARE(w.preview[i]->text(), QString::fromStdString(s.labBp[i]));
    }
    SESSION_CHECK(s.playing || !s.labBVisible, QStringLiteral("a pair falls only in play"));
    // A spawned pair may lie on a filled top cell until the next tick ends the game.
    if (s.playing && s.labBVisible && s.board.Empty(3, 0) && s.board.Empty(4, 0))
        SESSION_CHECK(PairFits(s), QStringLiteral("the falling pair"));
    QCOMPARE(w.score->text(), QString::fromStdString(s.label1));
    if (wait.kind != Wait::Kind::Sound)
        SESSION_CHECK(s.label1 == std::to_string(s.score), QStringLiteral("the score"));

    // Figure and splash.
    QCOMPARE(w.picMove->isHidden(), !s.picMove.visible);
    QCOMPARE(w.picMove->pos(), QPoint(s.picMove.left, s.picMove.top));
    QCOMPARE(w.picTboy->isHidden(), !s.picTboyVisible);
    QCOMPARE(w.picbg->isHidden(), !s.picbgVisible);

    // At most one check mark per menu group, and the game's.
    auto checked = [](const std::vector<QAction*>& group) {
        int n = 0;
        for (QAction* item : group) n += item->isChecked();
        return n;
    };
    QVERIFY(checked(w.modes) <= 1);
    QVERIFY(checked(w.levels) <= 1);
    QCOMPARE(checked(w.animation), 1);
    for (int i = 1; i <= 5; ++i) QCOMPARE(w.modes[std::size_t(i - 1)]->isChecked(), s.checkedMode == i);
    for (int i = 1; i <= 3; ++i) QCOMPARE(w.levels[std::size_t(i - 1)]->isChecked(), s.checkedLevel == i);
    QCOMPARE(w.animation[0]->isChecked(), s.dhyChecked);

    // The timers run as the game says, and a wait is armed exactly while the game waits.
    QCOMPARE(w.form1.timer1().isActive(), s.timer1.enabled);
    if (s.timer1.enabled) QCOMPARE(w.form1.timer1().interval(), s.timer1.interval);
    QCOMPARE(w.form1.timer3().isActive(), s.timer3.enabled);
    QCOMPARE(w.form1.waitTimer().isActive(), wait.kind != Wait::Kind::None);
    if (wait.kind == Wait::Kind::Pause) QCOMPARE(w.form1.waitTimer().interval(), wait.ms);
    if (wait.kind == Wait::Kind::Sound)
        QCOMPARE(w.form1.waitTimer().interval(), w.sound.DurationMs(int(wait.sound)));

    // The game stands still while the milestone sound plays, whatever is pressed.
    if (wait.kind == Wait::Kind::Sound) {
        if (wait.serial != stillSerial) {
            ++milestoneWaits;
            stillSerial = wait.serial;
            stillBoard = s.board;
            stillCol = s.blkCol;
            stillRow = s.blkRow;
            stillScore = s.score;
            stillFigure = s.picMove;
            stillFrame = s.picMoveImage;
        }
        bool same = s.blkCol == stillCol && s.blkRow == stillRow && s.score == stillScore &&
                    s.picMove.left == stillFigure.left && s.picMove.top == stillFigure.top &&
                    s.picMoveImage.set == stillFrame.set &&
                    s.picMoveImage.frame == stillFrame.frame;
        for (int col = 0; col < nCol && same; ++col)
            for (int row = 0; row < nRow && same; ++row)
                same = s.board(col, row) == stillBoard(col, row);
        SESSION_CHECK(same, QStringLiteral("during the milestone sound"));
    }
    bestScore = std::max(bestScore, s.score);

    // The main window is disabled exactly while the help is open.
    SESSION_CHECK(w.form1.isEnabled() == !w.HelpOpen(), QStringLiteral("Form1 enabled"));

    // Every game that stops playing is handed over once, before the next one starts.
    if (wasPlaying && !s.playing) handOverDue = true;
    if (!wasPlaying && s.playing) SESSION_CHECK(!handOverDue, QStringLiteral("new game"));
    wasPlaying = s.playing;
}

void RandomSessionTest::initTestCase() { test::HideOffscreenRaiseWarning(); }

void RandomSessionTest::longRandomSession() {
    const int count = EnvInt("NUMORA_RANDOM_EVENTS", kDefaultEvents);
    const auto seed = quint32(EnvInt("NUMORA_RANDOM_SEED", 20240607));
    Session session(seed);
    session.Run(count);
    if (QTest::currentTestFailed()) {
        qWarning("seed %u failed: %s", seed, qPrintable(session.Log()));
        return;
    }
    QStringList kinds;
    for (const auto& [kind, n] : session.kinds) kinds << QStringLiteral("%1 %2").arg(kind).arg(n);
    qInfo("seed %u: %d events; %d games ended, best score %lld, %d milestone waits, new games "
          "chosen %d times mid-landing and %d times mid-fill, %d leaderboard saves, %d help "
          "openings; %s",
          seed, count, session.gamesEnded, static_cast<long long>(session.bestScore),
          session.milestoneWaits, session.newGamesMidLanding, session.newGamesMidFill,
          session.leaderboardSaves, session.helpOpenings, qPrintable(kinds.join(", ")));
    // A full-length stream that never reached the windows' corners would prove little.
    if (count >= kDefaultEvents) {
        QVERIFY(session.gamesEnded >= 10);
        QVERIFY(session.leaderboardSaves >= 2);
        QVERIFY(session.milestoneWaits >= 2);
        QVERIFY(session.newGamesMidLanding >= 2);
        QVERIFY(session.newGamesMidFill >= 2);
        QVERIFY(session.helpOpenings >= 10);
    }
}

QTEST_MAIN(RandomSessionTest)
#include "random_session_test.moc"
