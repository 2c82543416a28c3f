// A tap or click on the board is the arrow it stands for, once however long the finger stays
// down, and nothing where the player does not see the pair or the help is open.
#include "forms/main/form1.h"
#include "support/fake_sound.h"

#include <QtTest>

using namespace numora;

enum By { Click, Twice, Touch, Touchpad }; // Twice: a double-click; a touch slides before it lifts
using Cells = std::array<int, 4>; // column and row of the pair's cell 0, then of its cell 1

class TouchTest : public QObject {
    Q_OBJECT
    test::FakeSound sound;
    SeededRandom random{5};
    Form1 form{sound, random};
    std::unique_ptr<QPointingDevice> finger{QTest::createTouchDevice()};
    std::unique_ptr<QPointingDevice> pad{QTest::createTouchDevice(
        QInputDevice::DeviceType::TouchPad, {QInputDevice::Capability::MouseEmulation})};

    static QPoint Pixel(int col, int row) { return {51 * col, 40 + 33 * row}; } // a cell's corner
    static QList<QPoint> Pixels(Cells c) { return {Pixel(c[0], c[1]), Pixel(c[2], c[3])}; }
    QWidget* Label(int i) const { return form.findChild<QWidget*>(QString("LabB_%1").arg(i)); }
    QList<QPoint> Shown() const { return {Label(0)->pos(), Label(1)->pos()}; }
    void Tap(By by, QPoint at) { // `at` in the client area
        const QPoint in = form.centralWidget()->mapTo(&form, at);
        if (by == Click) return QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, in);
        if (by == Twice) return QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, in);
        QPointingDevice* device = by == Touch ? finger.get() : pad.get();
        QTest::touchEvent(&form, device).press(0, in);
        QTest::touchEvent(&form, device).move(0, in + QPoint(9, 9));
        QTest::touchEvent(&form, device).release(0, in + QPoint(9, 9));
    }

  private slots:
    void taps() {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const std::tuple<Cells, By, QPoint, Cells> cases[] = {
            {{3, 0, 4, 0}, Click, {152, 60}, {2, 0, 3, 0}}, // a gap goes with the cell left of it
            {{3, 0, 4, 0}, Twice, {306, 337}, {5, 0, 6, 0}},
            {{3, 0, 4, 0}, Touch, {153, 40}, {3, 1, 3, 0}},
            {{3, 0, 4, 0}, Click, {153, 39}, {3, 0, 4, 0}},      // the banner
            {{3, 0, 4, 0}, Touchpad, Pixel(0, 0), {3, 0, 4, 0}}, // it clicks by itself
            {{5, 6, 5, 5}, Touch, {255, 204}, {5, 6, 5, 5}}, // above the pair, the figure's place
            {{5, 6, 5, 5}, Touch, {305, 205}, {5, 6, 4, 6}},
            {{5, 6, 5, 5}, Click, Pixel(5, 7), {5, 7, 5, 6}},
        };
        for (const auto& [p, by, at, after] : cases) {
            form.b1_Click(2);
            form.SetUp({.pair = Situation::Pair{{p[0], p[2]}, {p[1], p[3]}, {"5", "5"}}});
            Tap(by, at);
            QCOMPARE(Shown(), Pixels(after));
        }
        const QImage board = form.centralWidget()->grab().toImage(); // striped as taps count
        const auto shade = [&board](int x) { return board.pixel(x, 300); };
        QVERIFY(shade(50) != shade(51) && shade(51) == shade(101) && shade(50) == shade(102));
        form.SetUp({.board = {". . . 5"}, .pair = Situation::Pair{{3, 3}, {12, 11}, {"5", "5"}}});
        form.Mhow_Click();
        Tap(Touch, Pixel(7, 11)); // while the help is open
        form.helpWindow()->close();
        Tap(Touch, Pixel(3, 13)); // on the settled 5 under the pair: down, so the pair lands
        Tap(Click, Pixel(0, 12)); // hidden by the cascade's pause, which the keys still move
        QVERIFY(Shown() == Pixels({3, 12, 3, 11}) && Label(0)->isHidden() && Label(1)->isHidden());
    }
};

QTEST_MAIN(TouchTest)
#include "touch_test.moc"
