// What a player sees and hears: the windows, every text's glyphs, the sounds' lengths, and a
// session of keys, menu items, ticks and waits, the widgets compared with the game after each.
#include "forms/application.h"
#include "forms/cjk_font.h"
#include "forms/hand_over.h"
#include "forms/raw_image.h"
#include "sound/module_sound_player.h"
#include "sound/wav_info.h"
#include "support/fake_sound.h"

#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QRawFont>
#include <QTemporaryDir>
#include <QtTest>

using namespace numora;

namespace {

QColor Painted(QWidget* w) {
    return w->grab(QRect(1, 1, 1, 1)).toImage().pixelColor(0, 0);
}
QString Geo(const QWidget* w) {
    return QStringLiteral("%1,%2 %3x%4 ").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
}
QImage Image(const QLabel* label) {
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
QByteArray Le(quint32 v, int n) {
    return QByteArray(reinterpret_cast<const char*>(&v), n);
}
QByteArray Chunk(const char* tag, const QByteArray& body) {
    return tag + Le(quint32(body.size()), 4) + body +
           (body.size() % 2 ? QByteArray(1, 0) : QByteArray());
}
QByteArray Fmt(int channels, int rate, int bits) {
    return Chunk("fmt ", Le(1, 2) + Le(quint32(channels), 2) + Le(quint32(rate), 4) + Le(0, 4) +
                             Le(0, 2) + Le(quint32(bits), 2));
}
int Ms(const QByteArray& riffBody, const char* form = "WAVE") { // -1: not a sound
    const QByteArray b = "RIFF" + Le(quint32(riffBody.size() + 4), 4) + form + riffBody;
    const auto info = ReadWavInfo(std::as_bytes(std::span(b.constData(), std::size_t(b.size()))));
    return info ? info->DurationMs() : -1;
}
QImage Png(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
QImage Art(int id) {
    return Png(QStringLiteral(":/bitmaps/bmp%1%2.png")
                   .arg(id)
                   .arg(qApp->devicePixelRatio() > 1 ? "@2x" : ""));
} // as painted

struct Windows {
    Windows() : random(5), form1(sound, random) {
        QObject::connect(&form1, &Form1::gameEnded, [this](int mode, qint64 score) {
            ended << QStringLiteral("%1 %2").arg(mode).arg(score);
        });
        HandFinishedGamesOn(form1, form2, sound, dir.path(), {});
    }
    template <class T = QLabel> T* get(const QString& name) const {
        return form1.findChild<T*>(name);
    }
    QLabel* cell(int k) const { return get(QStringLiteral("LabRes_%1").arg(k)); }
    bool shows(const QString& name) const { return get<QWidget>(name)->isVisibleTo(&form1); }
    void EndGame() { // the start cell taken: the next tick ends the game
        form1.b1_Click(2), form1.SetUp({.board = std::vector<std::string>(nRow, ". . . 5")}),
            form1.Timer1_Timer();
    }
    QTemporaryDir dir;
    test::FakeSound sound;
    SeededRandom random;
    Form1 form1;
    std::unique_ptr<Form2> form2;
    QStringList ended;
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    // Compares every widget the player sees with the state it must show.
    static void Check(Windows& w, bool colours) {
        const Game& g = w.form1.game();
        const GameState& s = g.state();
        for (int k = 0; k < kCellCount; ++k) {
            QLabel* cell = w.cell(k);
            const CellLabel want = g.cellLabel(k);
            QCOMPARE(cell->isVisibleTo(&w.form1), want.visible);
            if (want.visible) QCOMPARE(cell->text().toStdString(), std::string(want.caption));
            QCOMPARE(cell->pos(), QPoint(51 * (k % 8), 40 + 33 * (k / 8)));
            if (colours && want.visible)
                QCOMPARE(Painted(cell), QColor(want.marked ? 0xFFC0C0 : 0xC0FFC0));
        }
        for (int i = 0; i < 2; ++i) {
            QLabel* pair = w.get(QStringLiteral("LabB_%1").arg(i));
            QCOMPARE(pair->isVisibleTo(&w.form1), g.pairVisible());
            QCOMPARE(pair->text().toStdString() + " " +
                         w.get(QStringLiteral("LabBp_%1").arg(i))->text().toStdString(),
                     g.pairCaption(i) + " " + g.previewCaption(i));
            QCOMPARE(pair->pos(),
                     QPoint(51 * s.blkCol[std::size_t(i)], 40 + 33 * s.blkRow[std::size_t(i)]));
            QCOMPARE(w.shows(QStringLiteral("LabBp_%1").arg(i)), s.started);
        }
        QCOMPARE(w.get("Label1")->text().toStdString(), g.scoreCaption());
        QCOMPARE(
            QString("%1%2%3").arg(w.shows("Picbg")).arg(w.shows("PicMove")).arg(w.shows("PicTboy")),
            QString("%1%2%3").arg(!s.started).arg(s.picMove.visible).arg(s.picTboyVisible));
        QCOMPARE(w.get("PicMove")->pos(), QPoint(s.picMove.left, s.picMove.top));
        if (s.picMoveImage.set >= 0)
            QCOMPARE(Image(w.get("PicMove")),
                     Art(200 + 10 * s.picMoveImage.set + s.picMoveImage.frame));
        if (s.picTboyVisible) QCOMPARE(Image(w.get("PicTboy")), Art(204 + 10 * g.figureSet()));
        QString checks, want;
        for (const char* item :
             {"b1_1", "b1_2", "b1_3", "b1_4", "b1_5", "j1", "j2", "j3", "dhy", "dhw"})
            checks += w.get<QAction>(item)->isChecked() ? "x" : ".";
        for (int i = 1; i <= 8; ++i)
            want += (i <= 5 ? g.checkedMode() == i : s.level == i - 5) ? "x" : ".";
        QCOMPARE(checks, want + (s.dhyChecked ? "x." : ".x"));
        const Wait& wait = w.form1.game().waiting();
        const int waitMs = wait.kind == Wait::Kind::None    ? 0
                           : wait.kind == Wait::Kind::Pause ? wait.ms
                                                            : 2000;
        auto timer = [](const QTimer& t) { return t.isActive() ? t.interval() : 0; };
        QCOMPARE(QString("%1 %2 %3")
                     .arg(timer(w.form1.timer1()))
                     .arg(timer(w.form1.timer3()))
                     .arg(timer(w.form1.waitTimer())),
                 QString("%1 %2 %3")
                     .arg(s.timer1.enabled ? s.timer1.interval : 0)
                     .arg(s.timer3.enabled ? 200 : 0)
                     .arg(waitMs));
        QCOMPARE(w.form1.isEnabled(), !w.form1.helpWindow());
        // The finished game reaches the leaderboard with its own mode and score.
        if (w.form2 && w.form2->isVisible())
            QCOMPARE(QStringLiteral("%1 %2").arg(w.form2->grd).arg(w.form2->fcount),
                     w.ended.last());
    }

  private slots:
    // As the program starts; any warning fails the test, but those of a machine without a
    // window manager or a sound card.
    void initTestCase() {
        SetUpApplication();
        qInstallMessageHandler([](QtMsgType t, const QMessageLogContext&, const QString& m) {
            static const QRegularExpression machine("raise\\(\\)|PulseAudio|No audio device");
            if (t != QtDebugMsg && t != QtInfoMsg && !m.contains(machine)) QFAIL(qPrintable(m));
        });
    }

    // The embedded sounds last 16539 bytes at 22050/s and 22048 at 11025/s, module or not; the
    // module is not mapped before a game; a missing one neither crashes nor blocks. Wave
    // headers: chunks skipped or padded wrongly, a length rounded down, a cut or foreign file
    // taken for a sound. First, so that decoding is long over when the process ends (Qt 6.4's
    // sample cache deadlocks at exit while it decodes).
    void sounds() {
        ModuleSoundPlayer missing({QStringLiteral("/nonexistent/numora-sound-qt")});
        missing.Play(Sound::Landing);
        QVERIFY(!missing.loaded());
        QCOMPARE(QList({missing.DurationMs(Sound::Landing), missing.DurationMs(Sound::Milestone)}),
                 QList({751, 2000}));
        ModuleSoundPlayer sound({NUMORA_SOUND_MODULE_PATH});
        QVERIFY(!sound.loaded());
        sound.Preload();
        QVERIFY(sound.loaded());
        sound.Play(Sound::Landing);
        QCOMPARE(sound.DurationMs(Sound::Milestone), 2000);
        const std::pair<QByteArray, int> cases[] = {
            {Chunk("LIST", "abc") + Fmt(1, 8000, 8) + Chunk("data", QByteArray(100, 0)), 13},
            {Fmt(2, 44100, 16) + Chunk("data", QByteArray(176400, 0)), 1000},
            {Fmt(1, 3, 8) + Chunk("data", "a"), 334}, // 333.3 rounds up
            {Fmt(1, 8000, 8) + Chunk("data", ""), 0}, // empty, and last
            {Chunk("data", "ab"), -1},
            {Fmt(1, 8000, 8).left(20), -1},
            {Fmt(1, 8000, 8) + "JUNK\xff\xff\xff\xff" + Chunk("data", "ab"), -1}};
        for (const auto& [body, ms] : cases)
            QCOMPARE(Ms(body), ms);
        QCOMPARE(Ms(Fmt(1, 8000, 8) + Chunk("data", "ab"), "AVI "),
                 -1); // a RIFF file of another kind
    }

    // The window's size, places, colours, fonts, pictures and texts before any game; the
    // help window's. Title bars read "Numora", "玩法": no display name for Qt to append.
    void startUp() {
        Windows w;
        QCOMPARE(w.form1.windowTitle() + " " + QGuiApplication::applicationDisplayName(),
                 "Numora numora");
        QCOMPARE(Geo(&w.form1),
                 QString("133,0 408x%1 ").arg(502 + w.form1.menuBar()->sizeHint().height()));
        QVERIFY(w.form1.centralWidget()->size() == QSize(408, 502) &&
                w.form1.minimumSize() == w.form1.maximumSize());
        const QFont score = w.get("Label1")->font(), cell = w.cell(0)->font(),
                    pair = w.get("LabB_0")->font();
        QCOMPARE(Geo(w.get("Pict")) + Geo(w.get("Picbg")) + Geo(w.get("Label1")) +
                     Geo(w.get("LabBp_0")) + Geo(w.get("LabBp_1")) + Geo(w.get("PicTboy")) +
                     Geo(w.cell(111)) + Geo(w.get("PicMove")) +
                     QString("%1 %2 %3 %4 %5 ")
                         .arg(score.pointSizeF())
                         .arg(score.bold())
                         .arg(cell.pointSizeF())
                         .arg(pair.pointSizeF())
                         .arg(cell.bold() || pair.bold()) +
                     cell.families().first() + " " +
                     w.get("Label1")->palette().color(QPalette::WindowText).name() + " " +
                     Painted(w.get("LabBp_0")).name(),
                 "0,0 408x40 0,40 405x470 320,5 80x27 153,3 50x32 204,3 50x32 112,0 41x41 357,469 "
                 "50x32 0,0 50x50 14.25 1 12 10.5 0 Numora Serif SC #ff0000 #ffc0ff");
        for (int size : {16, 32, 48, 64}) // each title-bar size drawn, not scaled from another
            QCOMPARE(AppIcon().pixmap(QSize(size, size), 1.0).toImage(),
                     Png(QStringLiteral(":/icon/numora-%1.png").arg(size)));
        QStringList titles;
        for (QAction* menu : w.form1.menuBar()->actions()) {
            titles << menu->text() + ":";
            for (QAction* item : menu->menu()->actions())
                titles << item->text() + (item->isChecked() ? "✓" : "");
        }
        QCOMPARE(titles.join(' '), "开始: 演示 10以内加法 10以内减法 20以内加法 20以内减法 "
                                   "级别设置: 低 中 高 动画: 有✓ 无 帮助: 玩法");
        QVERIFY(Image(w.get("Picbg")) == Art(102) &&
                Image(w.get("Pict")) == Art(101)); // as painted, though kept as raw pixels
        QVERIFY(LoadRawImage(":/sounds/wav104.wav").isNull() &&
                LoadRawImage(":/raw/absent.qpx").isNull()); // not past a foreign file's end
        QCOMPARE(Form1::Bitmap(102).deviceIndependentSize().toSize(), QSize(405, 470));
        QCOMPARE(Form1::Bitmap(102).devicePixelRatio(), qApp->devicePixelRatio() > 1 ? 2.0 : 1.0);
        Check(w, true);
        QVERIFY(!w.shows("LabB_0") && !w.shows("LabBp_0") &&
                w.shows("Picbg")); // no pair and no preview before a game
        w.form1.Mhow_Click();
        Form3* help = w.form1.helpWindow();
        QCOMPARE(help->windowTitle() + " " + Geo(help) + Geo(help->findChild<QLabel*>("Label1")) +
                     help->grab(QRect(2, 2, 1, 1)).toImage().pixelColor(0, 0).name(),
                 "玩法 147,133 344x253 16,24 313x217 #ffffff");
        const QLabel* text =
            help->findChild<QLabel*>("Label1"); // wrapped to the box, not cut at its edge
        QVERIFY(text->wordWrap() &&
                text->text().startsWith(
                    "游戏目的：帮助儿童提高口算能力。\r\n\r\n游戏方法：类似落砖棋") &&
                text->text().endsWith("得的分数越高。"));
    }

    // A new game chosen during the fill hands the old one over but keeps the keyboard for the
    // first pair; a fill that runs out gives it to the name box. Closing the main window stops
    // its game, also during the fill: nothing runs or is handed over afterwards.
    void handOverAndClose() {
        for (const char* how : {"new game", "fill runs out", "close", "close while filling"}) {
            Windows w;
            w.form1.show();
            QVERIFY(QTest::qWaitForWindowActive(&w.form1));
            QCOMPARE(w.sound.preloads, 0); // the sound is readied at the first game, not at start
            how == std::string("close") ? w.form1.b1_Click(2) : w.EndGame();
            QCOMPARE(w.sound.preloads, 1);
            if (how[0] == 'c') {
                w.form1.close(), w.form1.WaitOver(), w.form1.Timer1_Timer();
                QVERIFY(!w.form1.timer1().isActive() && !w.form1.timer3().isActive() &&
                        !w.form1.waitTimer().isActive() && w.ended.isEmpty());
                continue;
            }
            if (how[0] == 'n') w.form1.b1_Click(3);
            for (int k = 0; !w.form2 && k <= kCellCount; ++k)
                w.form1.WaitOver();
            QVERIFY(w.form2 && w.form2->isVisible());
            QApplication::processEvents();
            QCOMPARE(QApplication::focusWidget(),
                     how[0] == 'n' ? w.get("Pict") : w.form2->findChild<QWidget*>("Text1"));
        }
    }

    // The long session; NUMORA_SESSION_EVENTS makes it longer.
    void session() {
        Windows w;
        QRandomGenerator events(20261207);
        const int count = std::max(6000, qEnvironmentVariableIntValue("NUMORA_SESSION_EVENTS"));
        const std::array keys{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                              Qt::Key_Down, Qt::Key_Down,  Qt::Key_Space};
        const char* items[] = {"j1", "j2", "j3", "dhy", "dhw"};
        const GameState& s = w.form1.game().state();
        int games = 0, saves = 0;
        for (int n = 0; n < count; ++n) {
            const int roll = int(events.bounded(100));
            const bool playing = s.playing;
            auto* name = w.form2 ? w.form2->findChild<QLineEdit*>("Text1") : nullptr;
            if (w.form2 && w.form2->isVisible() && roll < 30 && name->isVisible()) {
                const QString who = QStringLiteral("小明%1").arg(n);
                const int place = w.form2->newPos();
                name->setText(who);
                QTest::keyClick(name, Qt::Key_Return);
                QVERIFY(!w.form2->isVisible());
                QCOMPARE(LoadLeaderboard(w.form2->filePath()).list[std::size_t(place)],
                         (LeaderboardEntry{who, w.form2->fcount}));
                ++saves;
            } else if (w.form2 && w.form2->isVisible() && roll < 30)
                w.form2->close();
            else if (w.form1.game().waiting().kind != Wait::Kind::None && roll < 55)
                w.form1.WaitOver();
            else if (roll < 30 && w.form1.timer1().isActive())
                w.form1.Timer1_Timer();
            else if (roll >= 30 &&
                     roll < 70) { // from any child, with or without a modifier; other keys, and
                                  // keys typed into the leaderboard, left to the widgets
                QKeyEvent key(QEvent::KeyPress, keys[events.bounded(int(keys.size()))],
                              roll % 3 ? Qt::NoModifier : Qt::ShiftModifier);
                const bool typed = w.form2 && w.form2->isVisible() && roll % 2;
                const auto pair = std::pair(s.blkCol, s.blkRow);
                QApplication::sendEvent(typed ? static_cast<QWidget*>(w.form2.get())
                                              : w.cell(int(events.bounded(kCellCount))),
                                        &key);
                QVERIFY(typed ? pair == std::pair(s.blkCol, s.blkRow)
                              : w.form1.helpWindow() ||
                                    key.isAccepted() == (key.key() != Qt::Key_Space));
            } else if (roll >= 70 && roll < 85 && w.form1.timer3().isActive())
                w.form1.Timer3_Timer();
            else if (roll >= 85 && roll < 92) { // each item its own level or figure setting
                const int item = int(events.bounded(5));
                w.get<QAction>(items[item])->trigger();
                QVERIFY(item < 3 ? !playing || s.level == item + 1 : s.dhyChecked == (item == 3));
            } else if (roll >= 92 && roll < 95 && w.form1.helpWindow()) {
                w.form1.helpWindow()->close();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            } else if (roll >= 92 && roll < 95)
                w.form1.Mhow_Click();
            else if (roll >= 95 && (!playing || (roll < 97 && events.bounded(10) == 0))) {
                const int mode = 1 + int(events.bounded(5));
                w.get<QAction>(QStringLiteral("b1_%1").arg(mode))->trigger();
                QCOMPARE(s.mode, mode);
                w.form1.SetUp({.score = 1990 * (games++ % 5)}); // every figure set comes
            }
            Check(w, n % 97 == 0);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("after event %1").arg(n)));
        }
        QVERIFY2(w.ended.size() > 3 && saves > 1 && games > 5, qPrintable(w.ended.join(',')));
    }

    // A text of src/ with a character the embedded font lacks would show as a box; a damaged or
    // missing font resource must not stop the program or be named in vain.
    void embeddedFont() {
        const QRawFont raw(kEmbeddedFontResource, 12);
        // As make_subset.py reads: no comments, no character literals, escapes dropped.
        static const QRegularExpression token(
            "(?s)//[^\n]*|/\\*.*?\\*/|'(?:\\\\.|[^\\\\'])*'|\"((?:\\\\.|[^\\\\\"])*)\"");
        QStringList missing, files;
        for (QDirIterator it(NUMORA_SOURCE_DIR "/src", {"*.cpp", "*.h"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            QFile file(files.emplace_back(it.next()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const auto& m : token.globalMatch(QString::fromUtf8(file.readAll())))
                for (char32_t c : m.captured(1).remove(QRegularExpression("\\\\.")).toUcs4())
                    if (c >= 0x20 && !raw.supportsCharacter(c))
                        missing << QString::fromUcs4(&c, 1) + " in " + file.fileName();
        }
        QVERIFY(raw.isValid() && files.size() > 10);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
        for (const char* bad : {":/sounds/wav104.wav", ":/fonts/absent.otf"})
            QVERIFY(RegisterEmbeddedFont(bad).isEmpty());
        Windows w;
        w.form1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form1) &&
                !w.cell(0)->font().families().contains("Numora Serif SC"));
        QCOMPARE(RegisterEmbeddedFont(), "Numora Serif SC");
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
