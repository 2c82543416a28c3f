// What a player sees of the main window, driven through its handlers with no real time.
#include "forms/main/form1.h"
#include "support/fake_sound.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QtTest>

using namespace numora;

class Form1Test : public QObject {
    Q_OBJECT

    struct Window {
        Window() : random(5), form(sound, random) {}
        QLabel* label(const QString& name) const { return form.findChild<QLabel*>(name); }
        QLabel* cell(int col, int row) const {
            return label(QStringLiteral("LabRes_%1").arg(CellIndex(col, row)));
        }
        QAction* item(const QString& name) const { return form.findChild<QAction*>(name); }
        test::FakeSound sound;
        SeededRandom random;
        Form1 form;
    };

    // The colour the widget paints in its corner, where no text reaches.
    static QColor Background(QWidget* w) { return w->grab().toImage().pixelColor(1, 1); }
    static QRect Geometry(const QWidget* w) { return w->geometry(); }

private slots:
    void startUpLayout() {
        Window w;
        QCOMPARE(w.form.windowTitle(), QStringLiteral("Numora"));
        QCOMPARE(w.form.centralWidget()->size(), QSize(408, 502));
        QCOMPARE(w.form.minimumSize(), w.form.maximumSize());  // fixed size
        QVERIFY(!(w.form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w.form.pos(), QPoint(133, 0));

        QCOMPARE(Geometry(w.label("Pict")), QRect(0, 0, 408, 40));
        QLabel* picbg = w.label("Picbg");
        QCOMPARE(picbg->pos(), QPoint(0, 40));
        QVERIFY(picbg->isVisibleTo(&w.form));
        QVERIFY(!picbg->pixmap().isNull());

        QLabel* score = w.label("Label1");
        QCOMPARE(Geometry(score), QRect(320, 5, 80, 27));
        QCOMPARE(score->text(), QStringLiteral("0"));
        QCOMPARE(score->palette().color(QPalette::WindowText), QColor(0xFF0000));
        QVERIFY(score->font().bold());
        QCOMPARE(score->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

        for (int i = 0; i < 2; ++i) {
            QLabel* preview = w.label(QStringLiteral("LabBp_%1").arg(i));
            QCOMPARE(Geometry(preview), QRect(153 + 51 * i, 3, 50, 32));
            QCOMPARE(preview->text(), QStringLiteral("0"));
            QCOMPARE(Background(preview), QColor(0xFFC0FF));
            QVERIFY(!preview->isVisibleTo(&w.form));
            QVERIFY(!w.label(QStringLiteral("LabB_%1").arg(i))->isVisibleTo(&w.form));
        }
        QCOMPARE(Geometry(w.cell(0, 0)), QRect(0, 40, 50, 32));
        QCOMPARE(Geometry(w.cell(0, 1)), QRect(0, 73, 50, 32));
        QCOMPARE(Geometry(w.cell(7, 13)), QRect(357, 469, 50, 32));
        for (int k = 0; k < kCellCount; ++k) {
            QLabel* cell = w.label(QStringLiteral("LabRes_%1").arg(k));
            QVERIFY(!cell->isVisibleTo(&w.form));
            QCOMPARE(Background(cell), QColor(0xC0FFC0));
        }
        QCOMPARE(Geometry(w.label("PicTboy")).topLeft(), QPoint(112, 0));
        QVERIFY(!w.label("PicTboy")->isVisibleTo(&w.form));
        QVERIFY(!w.label("PicMove")->isVisibleTo(&w.form));
        QVERIFY(!w.form.timer1().isActive());
        QVERIFY(!w.form.timer3().isActive());
    }

    void picturesMatchTheScreenDensity() {
        Window w;
        const qreal density = qApp->devicePixelRatio() > 1.0 ? 2.0 : 1.0;
        for (const char* name : {"Pict", "Picbg"}) {
            const QPixmap picture = w.label(name)->pixmap();
            QCOMPARE(picture.devicePixelRatio(), density);
            // Drawn at the same size in the window whatever the density.
            QCOMPARE(picture.deviceIndependentSize().toSize(),
                     name == QByteArray("Pict") ? QSize(600, 80) : QSize(405, 470));
        }
        w.form.b1_Click(1);
        GameState& s = w.form.game().editState();
        s.blkRow = {5, 5};
        w.form.Timer3_Timer();
        QCOMPARE(w.label("PicMove")->pixmap().devicePixelRatio(), density);
        QCOMPARE(w.label("PicMove")->pixmap().deviceIndependentSize().toSize(), QSize(50, 50));
    }

    void menus() {
        Window w;
        QStringList titles;
        for (QAction* menu : w.form.menuBar()->actions()) titles << menu->text();
        QCOMPARE(titles, (QStringList{"开始", "级别设置", "动画", "帮助"}));
        const QStringList items = {"演示", "10以内加法", "10以内减法", "20以内加法", "20以内减法"};
        for (int i = 1; i <= 5; ++i) QCOMPARE(w.item(QStringLiteral("b1_%1").arg(i))->text(), items[i - 1]);
        QCOMPARE(w.item("j1")->text(), QStringLiteral("低"));
        QCOMPARE(w.item("j2")->text(), QStringLiteral("中"));
        QCOMPARE(w.item("j3")->text(), QStringLiteral("高"));
        QCOMPARE(w.item("dhy")->text(), QStringLiteral("有"));
        QCOMPARE(w.item("dhw")->text(), QStringLiteral("无"));
        QCOMPARE(w.item("Mhow")->text(), QStringLiteral("玩法"));
        // At start-up only "有" carries a check mark.
        QStringList checked;
        for (QAction* item : w.form.findChildren<QAction*>())
            if (item->isChecked()) checked << item->objectName();
        QCOMPARE(checked, QStringList{"dhy"});
    }

    void checkMarks() {
        Window w;
        w.item("b1_3")->trigger();
        QVERIFY(w.item("b1_3")->isChecked());
        w.item("b1_3")->trigger();  // choosing the checked mode again keeps its mark
        QVERIFY(w.item("b1_3")->isChecked());
        w.item("b1_5")->trigger();
        QVERIFY(!w.item("b1_3")->isChecked());
        QVERIFY(w.item("b1_5")->isChecked());
        w.item("j2")->trigger();
        w.item("j1")->trigger();
        QVERIFY(w.item("j1")->isChecked());
        QVERIFY(!w.item("j2")->isChecked());
        QVERIFY(!w.item("j3")->isChecked());
        w.item("dhw")->trigger();
        QVERIFY(w.item("dhw")->isChecked());
        QVERIFY(!w.item("dhy")->isChecked());
        w.item("dhw")->trigger();  // re-choosing keeps it checked
        QVERIFY(w.item("dhw")->isChecked());
    }

    void soundIsReadiedWhenAGameBegins() {
        Window w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.item("j2")->trigger();
        QCOMPARE(w.sound.preloads, 0);
        w.form.b1_Click(3);
        QCOMPARE(w.sound.preloads, 1);
        QVERIFY(w.sound.played.empty());
    }

    void newGameShowsThePairAndStartsTheTimers() {
        Window w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.item("j3")->trigger();
        w.form.b1_Click(2);
        QVERIFY(!w.label("Picbg")->isVisible());
        QCOMPARE(w.label("LabB_0")->pos(), QPoint(153, 40));
        QCOMPARE(w.label("LabB_1")->pos(), QPoint(204, 40));
        QVERIFY(w.label("LabB_0")->isVisible());
        QCOMPARE(w.label("LabB_0")->text(), QString::fromStdString(w.form.game().state().labB[0]));
        QCOMPARE(Background(w.label("LabB_0")), QColor(0xC0FFC0));
        QVERIFY(w.label("LabBp_0")->isVisible());
        QCOMPARE(w.label("LabBp_1")->text(), QString::fromStdString(w.form.game().state().labBp[1]));
        QVERIFY(w.form.timer1().isActive());
        QCOMPARE(w.form.timer1().interval(), 2000);  // whatever the level
        QVERIFY(w.form.timer3().isActive());
        QCOMPARE(w.form.timer3().interval(), 200);
        QCOMPARE(w.label("PicMove")->pos(), QPoint(350, 40));
        QVERIFY(w.label("PicMove")->isVisible());
        QCOMPARE(QApplication::focusWidget(), w.label("Pict"));
    }

    void arrowKeysReachTheGameFromAnyChild_data() {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("plain") << Qt::KeyboardModifiers(Qt::NoModifier);
        QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("alt") << Qt::KeyboardModifiers(Qt::AltModifier);
    }
    void arrowKeysReachTheGameFromAnyChild() {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        Window w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.form.b1_Click(1);
        QTest::keyClick(w.label("Pict"), Qt::Key_Left, modifiers);
        QCOMPARE(w.label("LabB_0")->x(), 102);
        QTest::keyClick(w.form.centralWidget(), Qt::Key_Right, modifiers);
        QCOMPARE(w.label("LabB_0")->x(), 153);
        // Auto-repeat: one move per repeated event.
        for (int i = 0; i < 3; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, modifiers, QString(), i > 0);
            QApplication::sendEvent(w.label("Pict"), &press);
        }
        QCOMPARE(w.label("LabB_0")->x(), 153 + 3 * 51);
        QTest::keyClick(w.label("Pict"), Qt::Key_Down, modifiers);
        QCOMPARE(w.label("LabB_0")->y(), 73);
    }

    void keysDoNothingBeforeAGameOrWhileHelpIsOpen() {
        Window w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QTest::keyClick(w.label("Pict"), Qt::Key_Down);
        QVERIFY(!w.label("LabB_0")->isVisible());
        QVERIFY(!w.form.game().state().playing);

        w.form.b1_Click(1);
        w.form.Mhow_Click();
        QVERIFY(!w.form.isEnabled());
        w.form.Form_KeyDown(kKeyLeft, Qt::NoModifier);
        QCOMPARE(w.form.game().state().blkCol[0], 3);
        // The game goes on unsteered while the help is open.
        w.form.Timer1_Timer();
        QCOMPARE(w.form.game().state().blkRow[0], 1);
        QVERIFY(w.form.timer1().isActive());
        w.form.helpWindow()->close();
        QVERIFY(w.form.isEnabled());
        w.form.Form_KeyDown(kKeyLeft, Qt::NoModifier);
        QCOMPARE(w.form.game().state().blkCol[0], 2);
    }

    void helpWindow() {
        Window w;
        w.form.Mhow_Click();
        Form3* help = w.form.helpWindow();
        QVERIFY(help);
        QCOMPARE(help->windowTitle(), QStringLiteral("玩法"));
        QCOMPARE(help->size(), QSize(344, 253));
        QCOMPARE(help->minimumSize(), help->maximumSize());
        QCOMPARE(help->pos(), QPoint(147, 133));
        QCOMPARE(help->palette().color(QPalette::Window), QColor(Qt::white));
        auto* text = help->findChild<QLabel*>("Label1");
        QCOMPARE(text->geometry(), QRect(16, 24, 313, 217));
        QVERIFY(text->wordWrap());
        const QByteArray expected =
            "游戏目的：帮助儿童提高口算能力。\r\n\r\n"
            "游戏方法：类似落砖棋的玩法，计算下落方块的得数，使用键盘的上下左右箭头调整下落的方块的位"
            "置，使之与得数相等的方块相连，得数相等的相连方块会被消掉，消掉的方块越多，得的分数越高。";
        QCOMPARE(text->text().toUtf8(), expected);
        w.form.Mhow_Click();  // cannot open twice
        QCOMPARE(w.form.helpWindow(), help);
        help->move(400, 400);
        help->close();
        QTRY_VERIFY(w.form.helpWindow() == nullptr);
        w.form.Mhow_Click();  // opens at its own place again
        QCOMPARE(w.form.helpWindow()->pos(), QPoint(147, 133));
        w.form.helpWindow()->close();
    }

    void landingShowsMarksThenDropsTheCells() {
        Window w;
        w.form.b1_Click(1);
        GameState& s = w.form.game().editState();
        s.board(3, 13) = "7";
        s.board(3, 12) = "3";
        s.board(4, 13) = "3";
        s.labRes[CellIndex(3, 13)] = {"7", true, false};
        s.labRes[CellIndex(3, 12)] = {"3", true, false};
        s.labRes[CellIndex(4, 13)] = {"3", true, false};
        s.blkCol = {2, 2};
        s.blkRow = {13, 12};
        s.blkRes0 = "7";
        s.blkRes1 = "9";
        w.form.Timer1_Timer();  // lands: 7 beside 7
        QCOMPARE(Background(w.cell(2, 13)), QColor(0xFFC0C0));
        QCOMPARE(Background(w.cell(3, 13)), QColor(0xFFC0C0));
        QCOMPARE(w.cell(2, 13)->text(), QStringLiteral("7"));
        QCOMPARE(Background(w.cell(2, 12)), QColor(0xC0FFC0));
        QCOMPARE(w.cell(2, 12)->text(), QStringLiteral("9"));
        QVERIFY(!w.label("LabB_0")->isVisibleTo(&w.form));
        QCOMPARE(w.label("Label1")->text(), QStringLiteral("30"));
        QCOMPARE(w.sound.played, std::vector<int>{104});
        QVERIFY(w.form.waitTimer().isActive());
        QCOMPARE(w.form.waitTimer().interval(), 100);
        QVERIFY(!w.form.timer1().isActive());

        w.form.WaitOver();  // removal; the 3s meet and are marked in turn
        QCOMPARE(w.cell(2, 13)->text(), QStringLiteral("9"));
        QCOMPARE(Background(w.cell(3, 13)), QColor(0xFFC0C0));
        QCOMPARE(w.cell(3, 13)->text(), QStringLiteral("3"));
        QCOMPARE(w.label("Label1")->text(), QStringLiteral("80"));
        w.form.WaitOver();
        QVERIFY(!w.cell(3, 13)->isVisibleTo(&w.form));
        QVERIFY(!w.cell(4, 13)->isVisibleTo(&w.form));
        QVERIFY(!w.cell(2, 12)->isVisibleTo(&w.form));
        QVERIFY(w.cell(2, 13)->isVisibleTo(&w.form));
        for (int k = 0; k < kCellCount; ++k)
            QCOMPARE(Background(w.label(QStringLiteral("LabRes_%1").arg(k))), QColor(0xC0FFC0));
        QVERIFY(w.label("LabB_0")->isVisibleTo(&w.form));
        QVERIFY(w.form.timer1().isActive());
        QVERIFY(!w.form.waitTimer().isActive());
    }

    void milestoneWaitsForTheSoundsLength() {
        Window w;
        w.form.b1_Click(1);
        GameState& s = w.form.game().editState();
        s.score = 1990;
        s.board(5, 13) = "7";
        s.blkCol = {4, 4};
        s.blkRow = {13, 12};
        s.blkRes0 = "7";
        s.blkRes1 = "9";
        w.form.Timer1_Timer();
        QCOMPARE(w.sound.played, std::vector<int>{106});
        QCOMPARE(w.form.waitTimer().interval(), 2000);
        w.form.WaitOver();
        QCOMPARE(w.sound.played, (std::vector<int>{106, 104}));
        QCOMPARE(w.label("Label1")->text(), QStringLiteral("2020"));
    }

    void gameOverFillsTheBoardAndHandsOver() {
        Window w;
        QSignalSpy ended(&w.form, &Form1::gameEnded);
        w.form.b1_Click(3);
        w.form.game().editState().board(3, 0) = "5";
        w.form.game().editState().score = 420;
        w.form.Timer1_Timer();
        QVERIFY(!w.form.timer1().isActive());
        QCOMPARE(w.form.waitTimer().interval(), 8);
        int steps = 0;
        while (w.form.waitTimer().isActive() && steps < 1000) {
            w.form.WaitOver();
            ++steps;
        }
        for (int k = 0; k < kCellCount; ++k) {
            QLabel* cell = w.label(QStringLiteral("LabRes_%1").arg(k));
            QVERIFY(cell->isVisibleTo(&w.form));
            QCOMPARE(cell->text(), QString());
        }
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toInt(), 3);
        QCOMPARE(ended.at(0).at(1).toLongLong(), 420);
        QVERIFY(w.label("LabBp_0")->isVisibleTo(&w.form));
        w.form.Form_KeyDown(kKeyDown, Qt::NoModifier);  // after the end keys do nothing
        QCOMPARE(ended.count(), 1);
    }

    void levelChosenMidGameChangesTheLiveTimer() {
        Window w;
        w.form.b1_Click(1);
        const int before = w.form.timer1().timerId();
        w.form.Form_KeyDown(kKeyDown, Qt::NoModifier);  // a move only: same schedule
        QCOMPARE(w.form.timer1().timerId(), before);
        w.form.j3_Click();
        QVERIFY(w.form.timer1().isActive());
        QCOMPARE(w.form.timer1().interval(), 800);
        w.form.dhw_Click();
        QVERIFY(!w.form.timer3().isActive());
        QVERIFY(!w.label("PicMove")->isVisibleTo(&w.form));
        w.form.dhy_Click();
        QVERIFY(w.form.timer3().isActive());
    }

    void figureFollowsThePair() {
        Window w;
        w.form.b1_Click(1);
        GameState& s = w.form.game().editState();
        s.blkCol = {3, 4};
        s.blkRow = {5, 5};
        w.form.Timer3_Timer();
        QCOMPARE(w.label("PicMove")->pos(), QPoint(150, 148));
        QVERIFY(w.label("PicMove")->isVisibleTo(&w.form));
        QVERIFY(!w.label("PicMove")->pixmap().isNull());
        QVERIFY(!w.label("PicTboy")->isVisibleTo(&w.form));
        s.blkRow = {1, 1};
        w.form.Timer3_Timer();
        QVERIFY(!w.label("PicMove")->isVisibleTo(&w.form));
        QVERIFY(w.label("PicTboy")->isVisibleTo(&w.form));
        QVERIFY(!w.label("PicTboy")->pixmap().isNull());
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
