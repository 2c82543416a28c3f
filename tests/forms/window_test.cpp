// What a player sees and hears: the windows as they open, scripts of keys, menu items, ticks
// and ends of waits with what must follow in the rules' own terms.
#include "forms/application.h"
#include "forms/cjk_font.h"
#include "forms/hand_over.h"
#include "support/fake_sound.h"

#include <QtTest>
#include <QtWidgets>

using namespace numora;

namespace {

// The colour at a widget's corner as the window shows it, once the window has drawn what
// changed since it last drew.
QColor Painted(QWidget* w) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    const QPoint at = w->mapTo(w->window(), QPoint(1, 1));
    return w->screen()
        ->grabWindow(w->window()->winId(), at.x(), at.y(), 1, 1)
        .toImage()
        .pixelColor(0, 0);
}
// A caption as painted: its darkest colour, and where its ink stands: "centred" within a pixel
// of the label's middle, or to the left or right.
QString Ink(QWidget* w) {
    const QImage image = w->grab().toImage();
    QRgb darkest = 0xFFFFFFFF;
    int left = image.width(), right = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            darkest = qGray(pixel) < qGray(darkest) ? pixel : darkest;
            left = qGray(pixel) < 128 ? std::min(left, x) : left;
            right = qGray(pixel) < 128 ? std::max(right, x + 1) : right;
        }
    const int off = left - (image.width() - right); // twice the ink's offset from the middle
    return QColor(darkest).name() + (std::abs(off) <= 2 ? " centred"
                                     : off < 0          ? " left"
                                                        : " right");
}
QString Geo(const QWidget* w) {
    return QStringLiteral("%1,%2 %3x%4 ").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
}
QImage Png(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
QImage Image(QLabel* label) { // as painted, without the box's background or children
    const QSize size = label->pixmap().deviceIndependentSize().toSize();
    QImage painted(size * qApp->devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    painted.setDevicePixelRatio(qApp->devicePixelRatio());
    painted.fill(Qt::transparent);
    label->render(&painted, {}, QRegion(QRect({}, size)), {});
    return painted;
}
QImage Art(int id) { // as painted on this screen
    return Png(
        QString(":/bitmaps/bmp%1%2.png").arg(id).arg(qApp->devicePixelRatio() > 1 ? "@2x" : ""));
}
// Where the cell (col, row) of the board stands in the window: 51 pixels a column, 33 a row,
// below the 40-pixel banner.
QString At(int col, int row) {
    return QStringLiteral("%1,%2").arg(51 * col).arg(40 + 33 * row);
}

struct Windows {
    // A main window, and a game of `mode` ("b1_2": 10以内加法) begun when one is named.
    explicit Windows(const QString& mode = {}) : random(5), form1(sound, random) {
        HandFinishedGamesOn(form1, form2, sound, dir.path(), {});
        if (!mode.isEmpty()) Choose(mode);
    }
    template <class T = QLabel> T* get(const QString& name) const {
        return form1.findChild<T*>(name);
    }
    QLabel* cell(int col, int row) const {
        return get(QStringLiteral("LabRes_%1").arg(row * 8 + col));
    }
    bool shows(const QString& name) const { return get<QWidget>(name)->isVisibleTo(&form1); }
    void Choose(const QString& item) { get<QAction>(item)->trigger(); }
    void Press(Qt::Key key) { QTest::keyClick(&form1, key); }
    // A timer of the window fires, as the event loop delivers it once its time is up.
    void Fire(const QTimer& timer) {
        QVERIFY(timer.isActive());
        QTimerEvent due(timer.timerId());
        QCoreApplication::sendEvent(const_cast<QTimer*>(&timer), &due);
    }
    // Whether `act` starts the timer's interval afresh, read from the time it has left once
    // 20 ms have passed: a timer's clock cannot be driven.
    bool Restarts(const QTimer& timer, const std::function<void()>& act) {
        const int left = timer.remainingTime();
        QTest::qSleep(20);
        act();
        return timer.remainingTime() > left - 10;
    }
    // The falling cells where the player sees them, "x,y x,y", or "hidden".
    QString Pair() const {
        if (!shows("LabB_0")) return QStringLiteral("hidden");
        const QPoint a = get("LabB_0")->pos(), b = get("LabB_1")->pos();
        return QStringLiteral("%1,%2 %3,%4").arg(a.x()).arg(a.y()).arg(b.x()).arg(b.y());
    }
    QString Score() const { return get("Label1")->text(); }
    // The figure: "banner", or where it walks on the board.
    QString Figure() const {
        const QPoint at = get("PicMove")->pos();
        QString seen = shows("PicTboy") ? QStringLiteral("banner ") : QString();
        if (shows("PicMove")) seen += QStringLiteral("%1,%2 ").arg(at.x()).arg(at.y());
        return seen.trimmed();
    }
    // Ends a game of `score`: a settled cell in a start cell, a tick, the closing fill's 112
    // waits, a cell blanked at each.
    void EndGame(qint64 score, const QString& newGame = {}) {
        form1.SetUp({.board = std::vector<std::string>(kRows, ". . . 5"), .score = score});
        Fire(form1.gravityTimer());
        if (!newGame.isEmpty()) Choose(newGame);
        for (int k = 0; !(form2 && form2->isVisible()) && k < kCellCount; ++k)
            Fire(form1.waitTimer());
    }
    QString Checked(const std::vector<const char*>& items) const {
        QString marks;
        for (const char* item : items)
            marks += get<QAction>(item)->isChecked() ? "x" : ".";
        return marks;
    }
    QTemporaryDir dir;
    test::FakeSound sound;
    SeededRandom random;
    MainWindow form1;
    std::unique_ptr<LeaderboardWindow> form2;
};

const Situation kGroupOfTwo{.board = {". . . . . 7"},
                            .pair = Situation::Pair{{4, 4}, {13, 12}, {"7", "5"}}};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

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

    // The windows' sizes, places, colours, fonts, pictures and texts before any game. Title
    // bars read "Numora", "玩法": no display name for Qt to append.
    void startUp() {
        Windows w;
        const int menu = w.form1.menuBar()->sizeHint().height();
        QCOMPARE(w.form1.windowTitle() + " " + QGuiApplication::applicationDisplayName(),
                 "Numora numora");
        QCOMPARE(w.form1.minimumSize(), w.form1.maximumSize());
        QCOMPARE(w.form1.centralWidget()->size(), QSize(408, 502));
        QString geometry = Geo(&w.form1);
        for (const char* name :
             {"Pict", "Picbg", "Label1", "LabBp_0", "LabBp_1", "PicTboy", "LabRes_111"})
            geometry += Geo(w.get(name));
        QCOMPARE(geometry, QString("133,0 408x%1 0,0 408x40 0,40 405x470 320,5 80x27 "
                                   "153,3 50x32 204,3 50x32 112,0 41x41 357,469 50x32 ")
                               .arg(502 + menu));
        QString fonts = w.cell(0, 0)->font().families().first();
        for (const char* name : {"Label1", "LabRes_0", "LabB_0"}) {
            const QFont font = w.get(name)->font();
            fonts += QString(" %1%2").arg(font.pointSizeF()).arg(font.bold() ? "b" : "");
        }
        QCOMPARE(fonts, "Numora Serif SC 14.25b 12 10.5");
        QCOMPARE(Ink(w.get("Label1")), "#ff0000 right");
        for (int size : {16, 32, 48, 64}) { // each title-bar size drawn, not scaled
            const QImage icon = AppIcon().pixmap(QSize(size, size), 1.0).toImage();
            QCOMPARE(icon, Png(QStringLiteral(":/icon/numora-%1.png").arg(size)));
        }
        QStringList titles;
        for (QAction* menu : w.form1.menuBar()->actions()) {
            titles << menu->text() + ":";
            for (QAction* item : menu->menu()->actions())
                titles << item->text() + (item->isChecked() ? "✓" : "");
        }
        QCOMPARE(titles.join(' '), "开始: 演示 10以内加法 10以内减法 20以内加法 20以内减法 "
                                   "级别设置: 低 中 高 动画: 有✓ 无 帮助: 玩法");
        QCOMPARE(Image(w.get("Picbg")), Art(102)); // as painted, though kept as raw pixels
        QCOMPARE(Image(w.get("Pict")), Art(101));
        QCOMPARE(w.Pair() + " " + w.Score(), "hidden 0");
        QVERIFY(!w.shows("LabBp_0") && w.shows("Picbg")); // no preview before a game
        w.Choose("Mhow");
        HelpWindow* help = w.form1.helpWindow();
        const QLabel* text = help->findChild<QLabel*>("Label1");
        QCOMPARE(help->windowTitle() + " " + Geo(help) + Geo(text),
                 "玩法 147,133 344x253 16,24 313x217 ");
        QCOMPARE(help->grab(QRect(2, 2, 1, 1)).toImage().pixelColor(0, 0), QColor(Qt::white));
        QVERIFY(text->wordWrap()); // wrapped to the box, not cut at its edge
        QVERIFY(text->text().startsWith(
            "游戏目的：帮助儿童提高口算能力。\r\n\r\n游戏方法：类似落砖棋"));
        QVERIFY(text->text().endsWith("得的分数越高。"));
        QVERIFY(!w.form1.isEnabled());
        for (QWidget* fixed : {static_cast<QWidget*>(&w.form1), static_cast<QWidget*>(help)}) {
            fixed->setWindowState(Qt::WindowMaximized); // asked by a title bar that offers it
            QVERIFY(fixed->windowState() == Qt::WindowNoState &&
                    !(fixed->windowFlags() & Qt::WindowMaximizeButtonHint));
        }
    }

    // The arrows on the window, or on any child of it: Left and Right a column (51 pixels)
    // aside, Up turns the pair (cell 0 sinks a row, cell 1 stands above it), Down and a tick a
    // row (33 pixels) down. The figure stands in the banner while the pair is in the top two
    // rows, then walks 50 pixels a column and 32 a row, 12 above the pair, stepping the way the
    // pair last went.
    void arrowsSteerThePairAndTheFigureFollows() {
        Windows w("b1_2");
        QCOMPARE(w.Pair(), At(3, 0) + " " + At(4, 0));
        QVERIFY(!w.cell(3, 13)->isVisibleTo(&w.form1)); // an empty cell shows no label
        QCOMPARE(w.sound.preloads, 1); // woken as the game starts, ready for its first sound
        w.Fire(w.form1.animationTimer());
        QCOMPARE(w.Figure(), "banner");
        QCOMPARE(w.get("PicTboy")->pos(), QPoint(112, 0));
        QCOMPARE(Image(w.get("PicTboy")), Art(204));
        QVERIFY(
            !w.Restarts(w.form1.gravityTimer(), [&w] { w.Press(Qt::Key_Left); })); // falls on time
        QCOMPARE(w.Pair(), At(2, 0) + " " + At(3, 0));
        w.Press(Qt::Key_Right);
        w.Press(Qt::Key_Right);
        QCOMPARE(w.Pair(), At(4, 0) + " " + At(5, 0));
        w.Press(Qt::Key_Up);
        QCOMPARE(w.Pair(), At(4, 1) + " " + At(4, 0));
        w.Press(Qt::Key_Down);
        QCOMPARE(w.Pair(), At(4, 2) + " " + At(4, 1));
        w.Fire(w.form1.animationTimer());
        QCOMPARE(w.Figure(), "banner");
        w.Fire(w.form1.gravityTimer());
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(w.cell(0, 0), &space); // no other key steers, or is taken
        QVERIFY(!space.isAccepted());
        QTest::keyClick(w.cell(0, 0), Qt::Key_Left);
        QCOMPARE(w.Pair(), At(3, 3) + " " + At(3, 2));
        w.Fire(w.form1.animationTimer());
        QCOMPARE(w.Figure(), "150,52");
        QCOMPARE(Image(w.get("PicMove")), Art(200));
        w.Press(Qt::Key_Right);
        w.Fire(w.form1.animationTimer());
        QCOMPARE(w.Figure(), "200,52");
        QCOMPARE(Image(w.get("PicMove")), Art(203));
    }

    // A landing with a group asks for the chime, shows the group in the mark colour for 100 ms
    // and scores 10 × 1² + 20 × 1 = 30, the next landing's group 30 again; the next pair is the
    // one previewed. Passing 2000 asks for the milestone's sound, and for its length the game
    // stands still: no pair, no fall, no key, the old score; then the chime, the new score and
    // the next stage's figure.
    void landingsScoreAndSound() {
        Windows w("b1_2");
        w.form1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form1));
        for (const char* score : {"30", "60"}) {
            w.form1.SetUp(kGroupOfTwo);
            const QString next = w.get("LabBp_0")->text() + w.get("LabBp_1")->text();
            w.Fire(w.form1.gravityTimer());
            QCOMPARE(w.Score(), score);
            QCOMPARE(w.cell(5, 13)->text() + " " + w.cell(4, 13)->text(), "7 7");
            QCOMPARE(Painted(w.cell(5, 13)), QColor(0xFFC0C0));
            QCOMPARE(Painted(w.get("LabBp_0")), QColor(0xFFC0FF));
            QCOMPARE(w.form1.waitTimer().interval(), 100);
            w.Fire(w.form1.waitTimer());
            QVERIFY(!w.cell(5, 13)->isVisible() && w.cell(4, 13)->text() == "5");
            QCOMPARE(w.Pair(), At(3, 0) + " " + At(4, 0));
            QCOMPARE(w.get("LabB_0")->text() + w.get("LabB_1")->text(), next);
        }
        Situation situation = kGroupOfTwo;
        situation.score = 1990;
        w.form1.SetUp(situation);
        w.Fire(w.form1.gravityTimer());
        QCOMPARE(w.form1.waitTimer().interval(), w.sound.DurationMs(Sound::Milestone));
        QVERIFY(!w.Restarts(w.form1.waitTimer(), [&w] { // neither a key nor a tick prolongs it
            w.Press(Qt::Key_Left);
            w.form1.GravityTick(); // a tick due just as the sound began
            w.Fire(w.form1.animationTimer());
        }));
        QCOMPARE(w.Pair() + " " + w.Score(), "hidden 1990");
        QVERIFY(!w.form1.gravityTimer().isActive());
        w.Fire(w.form1.waitTimer());
        QCOMPARE(w.Score(), "2020");
        QCOMPARE(w.sound.played,
                 (std::vector{Sound::Landing, Sound::Landing, Sound::Milestone, Sound::Landing}));
        w.Fire(w.form1.waitTimer());
        w.Fire(w.form1.animationTimer());
        QCOMPARE(Image(w.get("PicTboy")), Art(214));
    }

    // A tap or click on the board is the arrow it stands for (left or right of the pair a
    // step, on it a turn, below it a row), once however long the finger stays down, and
    // nothing where the player does not see the pair or the help is open.
    void tapsAreArrows() {
        Windows w;
        w.form1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form1));
        const std::unique_ptr<QPointingDevice> finger(QTest::createTouchDevice());
        const std::unique_ptr<QPointingDevice> pad(QTest::createTouchDevice(
            QInputDevice::DeviceType::TouchPad, {QInputDevice::Capability::MouseEmulation}));
        const auto tap = [&w](QPointingDevice* by, QPoint at) { // a click without a device
            const QPoint in = w.form1.centralWidget()->mapTo(&w.form1, at);
            if (!by) return QTest::mouseClick(w.form1.windowHandle(), Qt::LeftButton, {}, in);
            QTest::touchEvent(&w.form1, by).press(0, in);
            QTest::touchEvent(&w.form1, by).move(0, in + QPoint(9, 9)); // slides, then lifts
            QTest::touchEvent(&w.form1, by).release(0, in + QPoint(9, 9));
        };
        using Cells = std::array<int, 4>; // column and row of cell 0, then of cell 1
        const std::tuple<Cells, QPointingDevice*, QPoint, Cells> cases[] = {
            {{3, 0, 4, 0}, nullptr, {152, 60}, {2, 0, 3, 0}}, // a gap goes with the cell left of it
            {{3, 0, 4, 0}, finger.get(), {153, 40}, {3, 1, 3, 0}},
            {{3, 0, 4, 0}, nullptr, {153, 39}, {3, 0, 4, 0}},       // the banner
            {{3, 0, 4, 0}, pad.get(), {0, 40}, {3, 0, 4, 0}},       // a touchpad clicks by itself
            {{5, 6, 5, 5}, finger.get(), {255, 204}, {5, 6, 5, 5}}, // above: the figure's place
            {{5, 6, 5, 5}, finger.get(), {305, 205}, {5, 6, 4, 6}},
            {{5, 6, 5, 5}, nullptr, {255, 271}, {5, 7, 5, 6}},
            {{5, 6, 4, 6}, finger.get(), {255, 238}, {5, 6, 5, 7}}, // cell 0 on the right
        };
        for (const auto& [p, by, at, after] : cases) {
            w.Choose("b1_2");
            w.form1.SetUp({.pair = Situation::Pair{{p[0], p[2]}, {p[1], p[3]}, {"5", "5"}}});
            tap(by, at);
            QCOMPARE(w.Pair(), At(after[0], after[1]) + " " + At(after[2], after[3]));
        }
        const QPoint right = w.form1.centralWidget()->mapTo(&w.form1, QPoint(357, 400));
        QTest::mouseDClick(w.form1.windowHandle(), Qt::LeftButton, {}, right); // two steps
        QCOMPARE(w.Pair(), At(7, 6) + " " + At(7, 7));
        const QImage board = w.form1.centralWidget()->grab().toImage(); // striped as taps count
        QString stripes; // down to the bottom row; a gap goes with the cell left of it
        for (int x : {0, 50, 51, 101, 102, 152, 153, 203, 204, 254, 255, 305, 306, 356, 357, 407})
            stripes += board.pixel(x, 501) == board.pixel(0, 501) ? "." : "#";
        QCOMPARE(stripes, "..##..##..##..##");
        w.form1.SetUp(
            {.board = {". . . 5"}, .pair = Situation::Pair{{3, 3}, {12, 11}, {"5", "5"}}});
        w.Choose("Mhow");
        tap(finger.get(), {357, 403}); // while the help is open
        w.form1.helpWindow()->close();
        tap(finger.get(), {153, 469}); // on the settled 5 under the pair: down, so the pair lands
        tap(nullptr, {0, 436});        // hidden by the cascade's pause, which the keys still move
        QCOMPARE(w.Pair(), "hidden");
        QCOMPARE(w.get("LabB_0")->pos(), QPoint(153, 436));
    }

    // A game that ends hands its mode and score to the leaderboard, whose name box has the
    // keyboard for any place offered; the typed name is saved with that score at that place.
    // A new game chosen during the closing fill keeps the keyboard for its first pair.
    void finishedGameReachesTheList_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("newGame");
        const QByteArray zeros = QByteArray("0,0\r\n").repeated(8);
        QTest::newRow("no list: place 1") << QByteArray() << "Bo,1234\r\n" + zeros + "0,0\r\n"
                                          << false;
        QTest::newRow("place 2") << "a,2000\r\n" + zeros + "b,1\r\n"
                                 << "a,2000\r\nBo,1234\r\n" + zeros << false;
        QTest::newRow("a new game meanwhile") << QByteArray() << QByteArray() << true;
    }
    void finishedGameReachesTheList() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(bool, newGame);
        Windows w;
        QFile list(w.dir.filePath("kavex3.tmp"));
        QVERIFY(before.isEmpty() || (list.open(QIODevice::WriteOnly) && list.write(before) > 0));
        list.close();
        w.form1.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.form1));
        w.Choose("b1_3");
        w.EndGame(1234, newGame ? "b1_4" : "");
        QVERIFY(w.form2 && w.form2->isVisible());
        QApplication::processEvents();
        if (newGame) { // and keys typed into the list's name box never steer
            QCOMPARE(QApplication::focusWidget(), w.get<QWidget>("Pict"));
            QTest::keyClick(w.form2->findChild<QWidget*>("Text1"), Qt::Key_Right);
            w.Press(Qt::Key_Left);
            QCOMPARE(w.Pair(), At(2, 0) + " " + At(3, 0));
            return;
        }
        QCOMPARE(QApplication::focusWidget()->objectName(), "Text1");
        QTest::keyClicks(QApplication::focusWidget(), "Bo");
        QTest::mouseClick(w.form2->findChild<QWidget*>("Command1"), Qt::LeftButton); // 确认
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), after);
        w.Choose("b1_3"); // the next game's first place: the name box has the keyboard again
        w.EndGame(5000);
        QApplication::processEvents();
        QCOMPARE(QApplication::focusWidget()->objectName(), "Text1");
    }

    // The level items set the falling interval at once (2000, 1400, 800 ms at score 0) with
    // their check mark; "无" takes the figure off the board and stops its timer, "有" brings it.
    void menusDoWhatTheySay() {
        Windows w("b1_5");
        w.Choose("b1_4"); // the mark moves with the mode
        QCOMPARE(w.Checked({"b1_1", "b1_2", "b1_3", "b1_4", "b1_5"}), "...x.");
        for (const auto& [item, ms, marks] : {std::tuple{"j1", 2000, "x.."},
                                              {"j2", 1400, ".x."},
                                              {"j3", 800, "..x"},
                                              {"j1", 2000, "x.."}}) {
            w.Choose(item);
            QCOMPARE(w.form1.gravityTimer().interval(), ms);
            QCOMPARE(w.Checked({"j1", "j2", "j3"}), marks);
        }
        w.Choose("dhw");
        QCOMPARE(w.Figure() + w.Checked({"dhy", "dhw"}), ".x");
        QVERIFY(!w.form1.animationTimer().isActive());
        w.Choose("dhy");
        QCOMPARE(w.Checked({"dhy", "dhw"}) + QString::number(w.form1.animationTimer().interval()),
                 "x.200");
        QVERIFY(w.form1.animationTimer().isActive());
    }

    // Closing the main window closes the help too and ends the program with its last window;
    // its game stops: nothing ticks, waits or reaches the leaderboard afterwards.
    void closingEndsTheProgram() {
        for (const bool filling : {false, true}) { // closed in play, or during the closing fill
            Windows w("b1_2");
            QSignalSpy ended(&w.form1, &MainWindow::gameEnded);
            w.form1.show();
            w.form1.SetUp({.board = std::vector<std::string>(kRows, "5 . . 5")});
            if (filling) w.Fire(w.form1.gravityTimer());
            w.Choose("Mhow");
            w.form1.helpWindow()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(w.form1.isEnabled() && w.form1.focusWidget() == w.get<QWidget>("Pict"));
            w.Choose("Mhow"); // open again, owned by the game: kept above it by a window manager
            QVERIFY(w.form1.helpWindow()->isVisible() && !w.form1.isEnabled());
            QCOMPARE(w.form1.helpWindow()->windowHandle()->transientParent(),
                     w.form1.windowHandle());
            // In black as ever, greyed by nothing; the fill blanks this cell first.
            QCOMPARE(Ink(w.cell(0, 0)), filling ? "#c0ffc0 centred" : "#000000 centred");
            w.form1.close();
            for (QWidget* window : QApplication::topLevelWidgets()) // none keeps the program up
                QVERIFY(!window->isVisible());
            QVERIFY(!w.form1.gravityTimer().isActive() && !w.form1.animationTimer().isActive());
            QVERIFY(!w.form1.waitTimer().isActive());
            for (int k = 0; k <= kCellCount; ++k) { // waits' ends and ticks already under way
                w.form1.WaitOver();
                w.form1.GravityTick();
            }
            QVERIFY(!w.form1.gravityTimer().isActive() && !w.form1.waitTimer().isActive());
            QVERIFY(ended.isEmpty() && !w.form2);
        }
    }

    // Every character of src/ beyond ASCII is in the embedded font, or it shows as a box; a
    // damaged or missing font resource must not stop the program or be named in vain.
    void embeddedFont() {
        const QRawFont raw(kEmbeddedFontResource, 12);
        QString missing;
        int files = 0;
        for (QDirIterator it(NUMORA_SOURCE_DIR "/src", {"*.cpp", "*.h"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext(); ++files) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (char32_t c : QString::fromUtf8(file.readAll()).toUcs4())
                if (c >= 0x80 && !raw.supportsCharacter(c)) missing += QString::fromUcs4(&c, 1);
        }
        QVERIFY(raw.isValid() && files > 10);
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QVERIFY(RegisterEmbeddedFont(":/fonts/absent.otf").isEmpty());
        Windows w;
        w.form1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form1));
        QVERIFY(!w.cell(0, 0)->font().families().contains("Numora Serif SC"));
        QCOMPARE(RegisterEmbeddedFont(), "Numora Serif SC");
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
