// What a player sees of the windows. A seeded session drives Form1 with keys, menu items,
// ticks and the ends of waits, answers Form2 at every game over, opens and closes the help,
// and after every event compares what the widgets show with the game's state.
#include "forms/application.h"
#include "forms/hand_over.h"
#include "forms/raw_image.h"
#include "support/fake_sound.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace numora;

namespace {

QColor Painted(QWidget* w) { return w->grab(QRect(1, 1, 1, 1)).toImage().pixelColor(0, 0); }

struct Windows {
    Windows() : random(5), form1(sound, random) {
        QObject::connect(&form1, &Form1::gameEnded, [this](int mode, qint64 score) { ended << QStringLiteral("%1 %2").arg(mode).arg(score); });
        HandFinishedGamesOn(form1, form2, sound, dir.path(), {});
    }
    template <class T = QLabel> T* get(const QString& name) const { return form1.findChild<T*>(name); }
    QLabel* cell(int k) const { return get(QStringLiteral("LabRes_%1").arg(k)); }
    QTemporaryDir dir;
    test::FakeSound sound;
    SeededRandom random;
    Form1 form1;
    std::unique_ptr<Form2> form2;
    QStringList ended;
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

    // Compares every widget the player sees with the state it must show.
    static void Check(Windows& w, bool colours) {
        const GameState& s = w.form1.game().state();
        for (int k = 0; k < kCellCount; ++k) {
            QLabel* cell = w.cell(k);
            const CellLabel& want = s.labRes[std::size_t(k)];
            QCOMPARE(cell->isVisibleTo(&w.form1), want.visible);
            QCOMPARE(cell->text().toStdString(), want.caption);
            QCOMPARE(cell->pos(), QPoint(51 * (k % 8), 40 + 33 * (k / 8)));
            if (colours && want.visible) QCOMPARE(Painted(cell), QColor(want.marked ? 0xFFC0C0 : 0xC0FFC0));
        }
        for (int i = 0; i < 2; ++i) {
            QLabel* pair = w.get(QStringLiteral("LabB_%1").arg(i));
            QCOMPARE(pair->isVisibleTo(&w.form1), s.labBVisible);
            QCOMPARE(pair->text().toStdString(), s.labB[std::size_t(i)]);
            QCOMPARE(pair->pos(), QPoint(51 * s.blkCol[std::size_t(i)], 40 + 33 * s.blkRow[std::size_t(i)]));
            QLabel* preview = w.get(QStringLiteral("LabBp_%1").arg(i));
            QCOMPARE(preview->text().toStdString(), s.labBp[std::size_t(i)]);
            QCOMPARE(preview->isVisibleTo(&w.form1), s.labBpVisible);
        }
        QCOMPARE(w.get("Label1")->text().toStdString(), s.label1);
        QCOMPARE(w.get("Picbg")->isVisibleTo(&w.form1), s.picbgVisible);
        QCOMPARE(w.get("PicMove")->isVisibleTo(&w.form1), s.picMove.visible);
        QCOMPARE(w.get("PicMove")->pos(), QPoint(s.picMove.left, s.picMove.top));
        QCOMPARE(w.get("PicTboy")->isVisibleTo(&w.form1), s.picTboyVisible);
        if (s.picMoveImage.set >= 0)
            QCOMPARE(w.get("PicMove")->pixmap().toImage(),
                     Form1::Bitmap(200 + 10 * s.picMoveImage.set + s.picMoveImage.frame).toImage());
        if (s.picTboyVisible) QCOMPARE(w.get("PicTboy")->pixmap().toImage(), Form1::Bitmap(204 + 10 * s.picTboySet).toImage());
        for (int i = 1; i <= 5; ++i) QCOMPARE(w.get<QAction>(QStringLiteral("b1_%1").arg(i))->isChecked(), s.checkedMode == i);
        for (int i = 1; i <= 3; ++i) QCOMPARE(w.get<QAction>(QStringLiteral("j%1").arg(i))->isChecked(), s.checkedLevel == i);
        QCOMPARE(w.get<QAction>("dhy")->isChecked(), s.dhyChecked);
        QCOMPARE(w.get<QAction>("dhw")->isChecked(), s.dhwChecked);
        QCOMPARE(w.form1.timer1().isActive(), s.timer1.enabled);
        if (s.timer1.enabled) QCOMPARE(w.form1.timer1().interval(), s.timer1.interval);
        QCOMPARE(w.form1.timer3().isActive(), s.timer3.enabled);
        if (s.timer3.enabled) QCOMPARE(w.form1.timer3().interval(), 200);
        const Wait& wait = w.form1.game().waiting();
        QCOMPARE(w.form1.waitTimer().isActive(), wait.kind != Wait::Kind::None);
        if (wait.kind != Wait::Kind::None)
            QCOMPARE(w.form1.waitTimer().interval(), wait.kind == Wait::Kind::Pause ? wait.ms : 2000);
        QCOMPARE(w.form1.isEnabled(), !w.form1.helpWindow());
        if (!w.form2 || !w.form2->isVisible()) return;
        const Form2& f = *w.form2;
        QCOMPARE(f.findChild<QLabel*>("Labt")->text(), f.newPos() >= 0 ? Form2::CongratulationText() : Form2::TitleText());
        QCOMPARE(f.findChild<QLineEdit*>("Text1")->isVisibleTo(&f), f.newPos() >= 0);
        const LeaderboardList onDisk = LoadLeaderboard(f.filePath()).list;
        for (int k = 0; k < kLeaderboardSize; ++k) {
            QCOMPARE(f.findChild<QLabel*>(QStringLiteral("Label1_%1").arg(k))->text(), onDisk[std::size_t(k)].name);
            QCOMPARE(f.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(k))->text().toLongLong(), onDisk[std::size_t(k)].score);
        }
        const int place = f.newPos();
        if (place >= 0) QVERIFY(f.fcount > onDisk[std::size_t(place)].score || onDisk[0].score == 0);
    }

private slots:
    // As the program starts; and any warning fails the test.
    void initTestCase() {
        SetUpApplication();
        qInstallMessageHandler([](QtMsgType t, const QMessageLogContext&, const QString& m) {
            if (t != QtDebugMsg && !m.contains("raise()")) QFAIL(qPrintable(m));
        });
    }

    // The window's size, places, colours, fonts and texts, before any game.
    void startUp() {
        Windows w;
        QCOMPARE(w.form1.windowTitle(), QStringLiteral("Numora"));
        QCOMPARE(w.form1.centralWidget()->size(), QSize(408, 502));
        QCOMPARE(w.form1.size(), QSize(408, 502 + w.form1.menuBar()->sizeHint().height()));
        QCOMPARE(w.form1.minimumSize(), w.form1.maximumSize());
        QCOMPARE(w.form1.pos(), QPoint(133, 0));
        QCOMPARE(w.get("Pict")->geometry(), QRect(0, 0, 408, 40));
        QCOMPARE(w.get("Picbg")->geometry(), QRect(0, 40, 405, 470));
        QCOMPARE(w.get("Label1")->geometry(), QRect(320, 5, 80, 27));
        QCOMPARE(w.get("Label1")->palette().color(QPalette::WindowText), QColor(0xFF0000));
        QVERIFY(w.get("Label1")->font().bold());
        QCOMPARE(w.get("Label1")->font().pointSizeF(), 14.25);
        QCOMPARE(w.get("LabBp_1")->geometry(), QRect(204, 3, 50, 32));
        QCOMPARE(Painted(w.get("LabBp_0")), QColor(0xFFC0FF));
        QCOMPARE(w.get("PicTboy")->pos(), QPoint(112, 0));
        QCOMPARE(w.cell(111)->size(), QSize(50, 32));
        QCOMPARE(w.cell(0)->font().pointSizeF(), 12.0);
        QCOMPARE(w.get("LabB_0")->font().pointSizeF(), 10.5);
        QCOMPARE(w.cell(0)->font().families().first(), QStringLiteral("Numora Serif SC"));
        QVERIFY(!w.cell(0)->font().bold() && !w.get("LabB_0")->font().bold());
        for (int size : {16, 32, 48, 64})  // each title-bar size drawn, not scaled from another
            QCOMPARE(AppIcon().pixmap(QSize(size, size), 1.0).toImage(), QImage(QStringLiteral(":/icon/numora-%1.png").arg(size)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
        QStringList titles, items, checked;
        for (QAction* menu : w.form1.menuBar()->actions()) {
            titles << menu->text();
            for (QAction* item : menu->menu()->actions()) items << item->text();
        }
        QCOMPARE(titles.join(' '), QStringLiteral("开始 级别设置 动画 帮助"));
        QCOMPARE(items.join(' '), QStringLiteral("演示 10以内加法 10以内减法 20以内加法 20以内减法 低 中 高 有 无 玩法"));
        for (QAction* item : w.form1.findChildren<QAction*>())
            if (item->isChecked()) checked << item->objectName();
        QCOMPARE(checked, QStringList{"dhy"});
        QCOMPARE(w.get("Picbg")->pixmap().toImage(), Form1::Bitmap(102).toImage());
        QCOMPARE(w.get("Pict")->pixmap().toImage(), Form1::Bitmap(101).toImage());
        QCOMPARE(w.form1.Bitmap(102).deviceIndependentSize().toSize(), QSize(405, 470));
        QCOMPARE(w.form1.Bitmap(102).devicePixelRatio(), qApp->devicePixelRatio() > 1 ? 2.0 : 1.0);
        Check(w, true);
        w.form1.Mhow_Click();
        Form3* help = w.form1.helpWindow();
        QCOMPARE(help->windowTitle(), QStringLiteral("玩法"));
        QCOMPARE(QRect(help->pos(), help->size()), QRect(147, 133, 344, 253));
        QCOMPARE(help->findChild<QLabel*>("Label1")->geometry(), QRect(16, 24, 313, 217));
        QCOMPARE(help->findChild<QLabel*>("Label1")->text(), Form3::HelpText());
        QVERIFY(Form3::HelpText().startsWith(QStringLiteral("游戏目的：帮助儿童提高口算能力。\r\n\r\n游戏方法：类似落砖棋")));
        QVERIFY(Form3::HelpText().endsWith(QStringLiteral("消掉的方块越多，得的分数越高。")));
    }

    // The start-up pictures, stored as raw pixels, are their PNGs as painted; a resource
    // that is not one reads as nothing rather than past its end.
    void rawPictures() {
        for (const char* name : {"bitmaps/bmp101", "bitmaps/bmp102@2x", "icon/numora-16", "icon/numora-64"}) {
            QImage png(QStringLiteral(":/%1.png").arg(name));
            png.setDevicePixelRatio(1);
            const QImage raw = LoadRawImage(QStringLiteral(":/raw/%1.qpx").arg(QString(name).section('/', 1)));
            QCOMPARE(raw.convertToFormat(QImage::Format_ARGB32_Premultiplied), png.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        }
        for (const char* other : {":/sounds/wav104.wav", ":/raw/absent.qpx"}) QVERIFY(LoadRawImage(other).isNull());
    }

    // Arrow keys reach the game from any child, with or without modifiers, and not while
    // the help is open or before a game.
    void keys() {
        Windows w;
        w.form1.show();
        QTest::keyPress(w.get("Pict"), Qt::Key_Left);
        QCOMPARE(w.form1.game().state().blkCol[0], 0);
        QCOMPARE(w.sound.preloads, 0);
        w.get<QAction>("b1_2")->trigger();
        QCOMPARE(w.sound.preloads, 1);
        QTest::keyPress(w.cell(5), Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyPress(w.get("Label1"), Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(w.form1.game().state().blkCol[0], 1);
        QTest::keyPress(w.get("Pict"), Qt::Key_Right);
        QTest::keyPress(w.get("Pict"), Qt::Key_Down);
        QTest::keyPress(w.get("Pict"), Qt::Key_Up);
        QCOMPARE(w.form1.game().state().blkRow[1], 1);
        w.form1.Mhow_Click();
        QTest::keyPress(w.get("Pict"), Qt::Key_Left);
        QCOMPARE(w.form1.game().state().blkCol[0], 2);
        w.form1.helpWindow()->close();
        QVERIFY(w.form1.isEnabled());
    }

    // Title bars read "Numora", "排行榜", "玩法": no display name for Qt to append.
    // Closing the main window stops its game, also during the fill: nothing runs or is
    // handed over afterwards.
    void titlesAndClosing() {
        SetUpApplication();
        QCOMPARE(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
        for (const bool filling : {false, true}) {
            Windows w;
            w.form1.b1_Click(2);
            if (filling) w.form1.game().editState().board(3, 0) = "5", w.form1.Timer1_Timer();
            w.form1.close();
            w.form1.WaitOver();
            w.form1.Timer1_Timer();
            QVERIFY(!w.form1.timer1().isActive() && !w.form1.timer3().isActive() && !w.form1.waitTimer().isActive());
            QCOMPARE(w.ended.size(), 0);
        }
    }

    // A new game chosen during the fill hands the old one over but keeps the keyboard for
    // the first pair; a fill that runs out gives it to the name box.
    void keyboardAfterTheHandOver() {
        for (const bool newGame : {true, false}) {
            Windows w;
            w.form1.show();
            QVERIFY(QTest::qWaitForWindowActive(&w.form1));
            w.form1.b1_Click(2);
            w.form1.game().editState().board(3, 0) = "5";
            w.form1.Timer1_Timer();
            if (newGame) w.form1.b1_Click(3);
            for (int k = 0; !newGame && !w.form2 && k <= kCellCount; ++k) w.form1.WaitOver();
            QVERIFY(w.form2 && w.form2->isVisible());
            QApplication::processEvents();
            QCOMPARE(QApplication::focusWidget(), newGame ? w.get("Pict") : w.form2->findChild<QWidget*>("Text1"));
        }
    }

    // The long session; NUMORA_SESSION_EVENTS makes it longer.
    void session() {
        Windows w;
        QRandomGenerator events(20261207);
        const int count = std::max(6000, qEnvironmentVariableIntValue("NUMORA_SESSION_EVENTS"));
        const std::array keys{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down};
        int games = 0, saves = 0;
        for (int n = 0; n < count; ++n) {
            const int roll = int(events.bounded(100));
            const Wait& wait = w.form1.game().waiting();
            if (w.form2 && w.form2->isVisible() && roll < 30) {
                auto* name = w.form2->findChild<QLineEdit*>("Text1");
                if (name->isVisible()) {
                    const QString who = QStringLiteral("小明%1").arg(n);
                    const int place = w.form2->newPos();
                    name->setText(who);
                    QTest::keyClick(name, Qt::Key_Return);
                    QVERIFY(!w.form2->isVisible());
                    const LeaderboardList saved = LoadLeaderboard(w.form2->filePath()).list;
                    QCOMPARE(saved[std::size_t(place)], (LeaderboardEntry{who, w.form2->fcount}));
                    ++saves;
                } else {
                    w.form2->close();
                }
            } else if (wait.kind != Wait::Kind::None && roll < 55) {
                w.form1.WaitOver();
            } else if (roll < 30) {
                if (w.form1.timer1().isActive()) w.form1.Timer1_Timer();
            } else if (roll < 70) {
                QTest::keyPress(w.cell(int(events.bounded(kCellCount))), keys[events.bounded(int(keys.size()))]);
            } else if (roll < 85) {
                if (w.form1.timer3().isActive()) w.form1.Timer3_Timer();
            } else if (roll < 92) {
                const char* items[] = {"j1", "j2", "j3", "dhy", "dhw"};
                w.get<QAction>(items[events.bounded(5)])->trigger();
            } else if (roll < 95) {
                if (w.form1.helpWindow()) {
                    w.form1.helpWindow()->close();
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                } else {
                    w.form1.Mhow_Click();
                }
            } else if (roll < 97 || !w.form1.game().state().playing) {
                if (!w.form1.game().state().playing || events.bounded(10) == 0) {
                    w.get<QAction>(QStringLiteral("b1_%1").arg(1 + events.bounded(5)))->trigger();
                    ++games;
                }
            }
            Check(w, n % 97 == 0);
            if (QTest::currentTestFailed()) QFAIL(qPrintable(QStringLiteral("after event %1").arg(n)));
        }
        QVERIFY2(w.ended.size() > 3 && saves > 1 && games > 5, qPrintable(w.ended.join(',')));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
