// A tap or a click on the board is the arrow key it stands for, once however long the finger
// stays down, and nothing where the player does not see the pair or the help is open.
#include "forms/main/form1.h"
#include "support/fake_sound.h"

#include <QtTest>

using namespace numora;

enum By { Click, Twice, Touch, HeldTouch, Touchpad }; // Twice: a double-click
using Cells = std::array<int, 4>; // column and row of the pair's cell 0, then of its cell 1

QPoint Centre(int col, int row) { // of a cell, in the client area
    return {51 * col + 25, 40 + 33 * row + 16};
}
QList<int> Pixels(Cells c, bool shown = true) { // where the rules place the pair's two labels
    return {51 * c[0], 40 + 33 * c[1], 51 * c[2], 40 + 33 * c[3], shown};
}

class TouchTest : public QObject {
    Q_OBJECT
    test::FakeSound sound;
    SeededRandom random{5};
    Form1 form{sound, random};
    std::unique_ptr<QPointingDevice> finger{QTest::createTouchDevice()};
    std::unique_ptr<QPointingDevice> pad{QTest::createTouchDevice(
        QInputDevice::DeviceType::TouchPad, {QInputDevice::Capability::MouseEmulation})};

    QList<int> Shown() const {
        const auto c =
            std::array{form.findChild<QWidget*>("LabB_0"), form.findChild<QWidget*>("LabB_1")};
        return {c[0]->x(), c[0]->y(), c[1]->x(), c[1]->y(), c[0]->isVisible() && c[1]->isVisible()};
    }
    void Tap(By by, QPoint at) { // `at` in the client area; a held finger slides before it lifts
        QWidget* client = form.centralWidget();
        QPointingDevice* device = by == Touchpad ? pad.get() : finger.get();
        const QPoint in = client->mapTo(&form, at);
        if (by == Click) return QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, in);
        if (by == Twice) return QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, in);
        QTest::touchEvent(&form, device).press(0, at, client);
        if (by == HeldTouch) QTest::touchEvent(&form, device).move(0, at + QPoint(9, 9), client);
        QTest::touchEvent(&form, device).release(0, at, client);
    }

  private slots:
    // Aside of the pair a step toward the tap (a gap counts with the cell left of it), on it a
    // turn, below it a row, above it or on the banner nothing; nothing while the pair is hidden
    // by a cascade's pause, where the keys still turn it or step it aside, or the help is open.
    void taps() {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const std::tuple<Cells, By, QPoint, Cells> cases[] = {
            {{3, 0, 4, 0}, Click, Centre(0, 13), {2, 0, 3, 0}},
            {{3, 0, 4, 0}, Touch, Centre(7, 0), {4, 0, 5, 0}},
            {{3, 0, 4, 0}, Twice, Centre(7, 9), {5, 0, 6, 0}},
            {{3, 0, 4, 0}, Click, {152, 60}, {2, 0, 3, 0}},
            {{3, 0, 4, 0}, HeldTouch, {153, 41}, {3, 1, 3, 0}},
            {{3, 0, 4, 0}, HeldTouch, Centre(4, 1), {3, 1, 4, 1}},
            {{3, 0, 4, 0}, Click, {153, 20}, {3, 0, 4, 0}},
            {{3, 0, 4, 0}, Touchpad, Centre(0, 0), {3, 0, 4, 0}}, // it clicks by itself
            {{5, 6, 5, 5}, Touch, Centre(5, 2), {5, 6, 5, 5}},
            {{5, 6, 5, 5}, HeldTouch, Centre(5, 5), {5, 6, 4, 6}},
            {{5, 6, 5, 5}, Click, Centre(5, 7), {5, 7, 5, 6}},
        };
        for (const auto& [p, by, at, after] : cases) {
            form.b1_Click(2);
            form.SetUp({.pair = Situation::Pair{{p[0], p[2]}, {p[1], p[3]}, {"5", "5"}}});
            QCOMPARE(Shown(), Pixels(p));
            Tap(by, at);
            QCOMPARE(Shown(), Pixels(after));
        }
        // The columns show in stripes, each as wide as a tap counts it: 51 pixels, gap included.
        const QImage board = form.centralWidget()->grab().toImage();
        const auto shade = [&board](int x) { return board.pixel(x, 300); };
        QVERIFY(shade(50) != shade(51) && shade(51) == shade(101) && shade(50) == shade(102));
        form.Mhow_Click();
        Tap(Touch, Centre(0, 0));
        QCOMPARE(Shown(), Pixels({5, 7, 5, 6}));
        form.helpWindow()->close();
        form.SetUp({.board = {". . . 5"}, .pair = Situation::Pair{{3, 3}, {12, 11}, {"5", "5"}}});
        Tap(Touch, Centre(3, 13)); // on the settled 5 under the pair: down, so the pair lands
        for (By by : {Click, Touch, HeldTouch})
            for (QPoint at : {Centre(0, 12), Centre(3, 11), Centre(7, 12)})
                Tap(by, at);
        QCOMPARE(Shown(), Pixels({3, 12, 3, 11}, false));
    }
};

QTEST_MAIN(TouchTest)
#include "touch_test.moc"
