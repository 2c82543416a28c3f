// The leaderboard window, driven as the main window drives it at the end of a game.
#include "forms/cjk_font.h"
#include "forms/leaderboard/form2.h"
#include "leaderboard_fixtures.h"
#include "sound/sound_player.h"

#include <QDir>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace numora;
using namespace numora::testing;

namespace {

class RecordingSound : public SoundPlayer {
  public:
    void Play(int id) override { played.push_back(id); }
    int DurationMs(int) const override { return 1000; }
    std::vector<int> played;
};

const QString kCongratulation = QString::fromUtf8("恭喜恭喜!您上榜了。您的大名:");
const QString kTitle = QString::fromUtf8("排行榜");

// A window over its own folder, with the child widgets at hand.
struct Window {
    QTemporaryDir dir;
    RecordingSound sound;
    std::unique_ptr<Form2> form = std::make_unique<Form2>(sound, dir.path());

    template <typename T = QWidget> T* Child(const QString& name) const {
        T* child = form->findChild<T*>(name);
        if (!child) qFatal("no child %s", qPrintable(name));
        return child;
    }
    QLabel* Labt() const { return Child<QLabel>("Labt"); }
    QLineEdit* Text1() const { return Child<QLineEdit>("Text1"); }
    QPushButton* Command1() const { return Child<QPushButton>("Command1"); }
    QLabel* Name(int k) const { return Child<QLabel>(QStringLiteral("Label1_%1").arg(k)); }
    // As an input method hands over what was composed, Chinese included.
    void Type(const QString& text) const {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(Text1(), &commit);
    }
    QLabel* Score(int k) const { return Child<QLabel>(QStringLiteral("Label2_%1").arg(k)); }
    QString Path(int mode) const { return LeaderboardFilePath(dir.path(), mode); }
    bool Offering() const {
        return form->isVisible() && Text1()->isVisible() && Command1()->isVisible();
    }
    LeaderboardList Rows() const {
        LeaderboardList rows;
        for (int k = 0; k < kLeaderboardSize; ++k)
            rows[k] = LeaderboardEntry{Name(k)->text(), Score(k)->text().toLongLong()};
        return rows;
    }
};

} // namespace

class Form2Test : public QObject {
    Q_OBJECT

  private slots:
    void windowFrame();
    void controls_data();
    void controls();
    void rowsFollowTheDesign();
    void tabOrderStartsInNameBox();
    void outcomes_data();
    void outcomes();
    void rowsShowListBeforeNewScore();
    void namesShowAsTyped();
    void soundAtEveryOpening();
    void enterKey_data();
    void enterKey();
    void emptyNameDoesNothing();
    void closeBoxSavesNothing();
    void reopeningWhileOpenStartsAfresh();
    void modesNeverMixOnScreen();
    void failedSaveKeepsWindowOpenWithMessage();
    void twoWindowsBothSave_data();
    void twoWindowsBothSave();
    void mainWindowStaysUsable();
};

void Form2Test::windowFrame() {
    Window w;
    QCOMPARE(w.form->windowTitle(), kTitle);
    QCOMPARE(w.form->size(), QSize(312, 339));
    QCOMPARE(w.form->minimumSize(), QSize(312, 339));
    QCOMPARE(w.form->maximumSize(), QSize(312, 339));
    const Qt::WindowFlags flags = w.form->windowFlags();
    QVERIFY(w.form->isWindow());
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(w.form->autoFillBackground());
    QCOMPARE(w.form->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xFF));

    // Also a child of the main window, it is a window of its own.
    QWidget main;
    Form2 child(w.sound, w.dir.path(), &main);
    QVERIFY(child.isWindow());
    QCOMPARE(child.windowModality(), Qt::NonModal);
}

void Form2Test::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("Labt") << "Labt" << QRect(24, 16, 217, 25) << kCongratulation;
    QTest::newRow("Text1") << "Text1" << QRect(24, 40, 217, 25) << "";
    QTest::newRow("Command1") << "Command1" << QRect(256, 40, 41, 25) << QString::fromUtf8("确认");
}

void Form2Test::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    Window w;
    QWidget* widget = w.Child(name);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->property("text").toString(), text);
    QVERIFY(!widget->isHidden());
    QVERIFY(widget->font().families().contains("Noto Sans CJK SC"));

    if (name == "Labt") {
        QLabel* labt = w.Labt();
        QCOMPARE(labt->alignment(), Qt::AlignCenter);
        QCOMPARE(labt->palette().color(QPalette::WindowText), QColor(0xFF, 0x00, 0x00));
        QCOMPARE(labt->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xFF));
        QVERIFY(labt->autoFillBackground());
        QVERIFY(labt->font().bold());
        QCOMPARE(labt->font().pointSize(), 9);
        QCOMPARE(labt->font().families(), numora::SongtiFont(9, true).families());  // SimSun first where present
    }
    if (name == "Text1")
        QCOMPARE(w.Text1()->maxLength(), 32767); // QLineEdit's own maximum: no limit set
}

void Form2Test::rowsFollowTheDesign() {
    Window w;
    for (int k = 0; k < kLeaderboardSize; ++k) {
        QCOMPARE(w.Name(k)->geometry(), QRect(24, 80 + 24 * k, 81, 25));
        QCOMPARE(w.Score(k)->geometry(), QRect(152, 80 + 24 * k, 89, 25));
        QCOMPARE(w.Name(k)->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xFF));
        QVERIFY(w.Name(k)->autoFillBackground());
        QVERIFY(w.Name(k)->font().families().contains("Noto Serif CJK SC"));
    }
    // The last row ends inside the window.
    QVERIFY(w.Score(9)->geometry().bottom() < w.form->height());
}

void Form2Test::tabOrderStartsInNameBox() {
    Window w;
    QStringList focusable;
    QWidget* widget = w.Text1();
    do {
        if (widget->focusPolicy() != Qt::NoFocus && widget != w.form.get())
            focusable << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != w.Text1());
    QCOMPARE(focusable, QStringList({"Text1", "Command1"}));
    for (QLabel* label : w.form->findChildren<QLabel*>())
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);

    w.form->ShowFor(1, 10);
    QCOMPARE(w.form->focusWidget(), w.Text1());
}

void Form2Test::outcomes_data() {
    QTest::addColumn<QByteArray>("file"); // empty: no file
    QTest::addColumn<qint64>("score");
    QTest::addColumn<int>("place");
    const QByteArray ties =
        FormatLeaderboard(Scores({900, 800, 800, 700, 600, 500, 400, 300, 200, 100}));
    QTest::newRow("file created, score 0") << QByteArray() << qint64(0) << 0;
    QTest::newRow("file created, high score") << QByteArray() << qint64(5000) << 0;
    QTest::newRow("equal to tenth") << ties << qint64(100) << -1;
    QTest::newRow("below tenth") << ties << qint64(0) << -1;
    QTest::newRow("tie goes below") << ties << qint64(800) << 3;
    QTest::newRow("just above tie") << ties << qint64(801) << 1;
    QTest::newRow("just above tenth") << ties << qint64(101) << 9;
    QTest::newRow("all placeholders, 0") << QByteArray("0,0\r\n").repeated(10) << qint64(0) << -1;
}

void Form2Test::outcomes() {
    QFETCH(QByteArray, file);
    QFETCH(qint64, score);
    QFETCH(int, place);
    Window w;
    if (!file.isEmpty()) WriteFile(w.Path(3), file);
    w.form->ShowFor(3, score);
    QCOMPARE(w.form->grd, 3);
    QCOMPARE(w.form->fcount, score);
    QCOMPARE(w.form->newPos(), place);
    QCOMPARE(w.Labt()->text(), place >= 0 ? kCongratulation : kTitle);
    QCOMPARE(w.Offering(), place >= 0);
    QVERIFY(w.Labt()->isVisible());
    QVERIFY(w.form->isVisible());
    if (file.isEmpty())
        QCOMPARE(ReadFile(w.Path(3)), QByteArray("0,0\r\n").repeated(10));
    else
        QCOMPARE(ReadFile(w.Path(3)), file);
}

void Form2Test::rowsShowListBeforeNewScore() {
    Window w;
    WriteFile(w.Path(1), FormatLeaderboard(Lettered()));
    w.form->ShowFor(1, 50000);
    QCOMPARE(w.form->newPos(), 0);
    QCOMPARE(w.Rows(), Lettered());
    QCOMPARE(w.Name(0)->text(), "a");
    QCOMPARE(w.Score(0)->text(), "10");
    QCOMPARE(w.Score(9)->text(), "1");
}

void Form2Test::namesShowAsTyped() {
    Window w;
    const LeaderboardList list = List({{"<b>x</b>", 3}, {QString::fromUtf8("张三"), 2}});
    WriteFile(w.Path(1), FormatLeaderboard(list));
    w.form->ShowFor(1, 0);
    QCOMPARE(w.Name(0)->textFormat(), Qt::PlainText);
    QCOMPARE(w.Name(0)->text(), "<b>x</b>");
    QCOMPARE(w.Name(1)->text(), QString::fromUtf8("张三"));
    QCOMPARE(w.Score(2)->text(), "0");
}

void Form2Test::soundAtEveryOpening() {
    Window w;
    WriteFile(w.Path(2), FormatLeaderboard(Lettered()));
    w.form->ShowFor(2, 100); // a place
    QCOMPARE(w.sound.played, std::vector<int>({106}));
    w.form->ShowFor(2, 0); // no place, window still open
    QCOMPARE(w.sound.played, std::vector<int>({106, 106}));
    w.form->close();
    w.form->ShowFor(4, 0); // file created
    QCOMPARE(w.sound.played, std::vector<int>({106, 106, 106}));
}

void Form2Test::enterKey_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void Form2Test::enterKey() {
    QFETCH(int, key);
    Window w;
    WriteFile(w.Path(1), FormatLeaderboard(Lettered()));
    w.form->ShowFor(1, 8);
    QCOMPARE(w.form->newPos(), 3);
    w.Type(QString::fromUtf8(" 小明,"));
    QTest::keyClick(w.Text1(), Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QVERIFY(!w.form->isVisible());
    QVERIFY(!w.form->message());
    QCOMPARE(LoadLeaderboard(w.Path(1)).list,
             WithEntry(Lettered(), 3, QString::fromUtf8(" 小明，"), 8));

    // The offer is used up: pressing again writes nothing more.
    const QByteArray saved = ReadFile(w.Path(1));
    w.form->Command1_Click();
    QCOMPARE(ReadFile(w.Path(1)), saved);
}

void Form2Test::emptyNameDoesNothing() {
    Window w;
    WriteFile(w.Path(1), FormatLeaderboard(Lettered()));
    const QByteArray before = ReadFile(w.Path(1));
    w.form->ShowFor(1, 8);
    QTest::keyClick(w.Text1(), Qt::Key_Return);
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QVERIFY(w.form->isVisible());
    QVERIFY(w.Offering());
    QVERIFY(!w.form->message());
    QCOMPARE(ReadFile(w.Path(1)), before);

    // A name that is nothing but pasted line breaks counts as empty too.
    w.Text1()->setText("\r\n");
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QVERIFY(w.form->isVisible());
    QCOMPARE(ReadFile(w.Path(1)), before);

    QTest::keyClicks(w.Text1(), "ok");
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QVERIFY(!w.form->isVisible());
    QCOMPARE(LoadLeaderboard(w.Path(1)).list[3], (LeaderboardEntry{"ok", 8}));
}

void Form2Test::closeBoxSavesNothing() {
    Window w;
    w.form->ShowFor(5, 70);
    const QByteArray created = ReadFile(w.Path(5));
    QTest::keyClicks(w.Text1(), "name");
    QVERIFY(w.form->close());
    QVERIFY(!w.form->isVisible());
    QCOMPARE(ReadFile(w.Path(5)), created);
}

void Form2Test::reopeningWhileOpenStartsAfresh() {
    Window w;
    WriteFile(w.Path(2), FormatLeaderboard(Lettered()));
    w.form->ShowFor(1, 500); // mode 1 created, place offered
    QTest::keyClicks(w.Text1(), "first game");
    const QByteArray mode1 = ReadFile(w.Path(1));

    // The next game ends before the player answered: mode 2, no place.
    w.form->ShowFor(2, 1);
    QCOMPARE(w.form->grd, 2);
    QCOMPARE(w.form->newPos(), -1);
    QCOMPARE(w.Text1()->text(), "");
    QVERIFY(!w.Offering());
    QCOMPARE(w.Labt()->text(), kTitle);
    QCOMPARE(w.Rows(), Lettered());
    QCOMPARE(w.sound.played.size(), size_t(2));
    w.form->Command1_Click();
    QCOMPARE(ReadFile(w.Path(1)), mode1);
    QCOMPARE(ReadFile(w.Path(2)), FormatLeaderboard(Lettered()));

    // And another, mode 2 with a place: back to the design state, at the place of this game.
    w.form->ShowFor(2, 6);
    QCOMPARE(w.form->newPos(), 5);
    QVERIFY(w.Offering());
    QCOMPARE(w.Labt()->text(), kCongratulation);
    QTest::keyClicks(w.Text1(), "third");
    QTest::keyClick(w.Text1(), Qt::Key_Return);
    QCOMPARE(LoadLeaderboard(w.Path(2)).list, WithEntry(Lettered(), 5, "third", 6));
    QCOMPARE(ReadFile(w.Path(1)), mode1);
}

void Form2Test::modesNeverMixOnScreen() {
    Window w;
    WriteFile(w.Path(2), FormatLeaderboard(Lettered()));
    WriteFile(w.Path(4), "short,5\r\nbroken\r\n");
    w.form->ShowFor(2, 0);
    QCOMPARE(w.Rows(), Lettered());
    // Rows mode 4's file does not supply show placeholders, not what mode 2 left there.
    w.form->ShowFor(4, 0);
    QCOMPARE(w.Rows(), List({{"short", 5}}));
    w.form->close();
    w.form->ShowFor(5, 0);
    QCOMPARE(w.Rows(), PlaceholderList());
}

void Form2Test::failedSaveKeepsWindowOpenWithMessage() {
    Window w;
    // Something that is not a readable file stands where mode 1's list belongs.
    QVERIFY(QDir(w.dir.path()).mkdir("kavex1.tmp"));
    w.form->ShowFor(1, 40);
    QCOMPARE(w.form->newPos(), 0);
    QTest::keyClicks(w.Text1(), "name");
    QTest::mouseClick(w.Command1(), Qt::LeftButton);

    QVERIFY(w.form->isVisible());
    QVERIFY(w.Offering());
    QCOMPARE(w.Text1()->text(), "name");
    QMessageBox* box = w.form->message();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QCOMPARE(box->parent(), w.form.get());
    QVERIFY(box->text().contains(QString::fromUtf8("没能保存")));
    QVERIFY(box->text().contains(QDir::toNativeSeparators(w.Path(1))));
    QVERIFY(QFileInfo(w.Path(1)).isDir());

    // Closing the window takes its message with it.
    QPointer<QMessageBox> watched = box;
    w.form->close();
    QVERIFY(!watched || !watched->isVisible());

    // Opened again, it fails again; once the obstacle is gone, trying again works.
    w.form->ShowFor(1, 40);
    QTest::keyClicks(w.Text1(), "name");
    QTest::keyClick(w.Text1(), Qt::Key_Return);
    QVERIFY(w.form->message());
    w.form->message()->close();
    QVERIFY(QDir(w.dir.path()).rmdir("kavex1.tmp"));
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QVERIFY(!w.form->isVisible());
    QCOMPARE(ReadFile(w.Path(1)), "name,40\r\n" + QByteArray("0,0\r\n").repeated(9));
}

void Form2Test::twoWindowsBothSave_data() {
    QTest::addColumn<qint64>("second");
    QTest::addColumn<bool>("secondSaved");
    // Both see a..j holding 10..1; the first saves 5 at index 6, pushing i (2) to the tenth.
    QTest::newRow("second still placed") << qint64(3) << true;
    QTest::newRow("second pushed out") << qint64(2) << false;
}

void Form2Test::twoWindowsBothSave() {
    QFETCH(qint64, second);
    QFETCH(bool, secondSaved);
    Window a;
    WriteFile(a.Path(1), FormatLeaderboard(Lettered()));
    RecordingSound otherSound;
    Form2 b(otherSound, a.dir.path());
    a.form->ShowFor(1, 5);
    b.ShowFor(1, second);
    QVERIFY(a.form->newPos() >= 0 && b.newPos() >= 0);

    QTest::keyClicks(a.Text1(), "A");
    QTest::keyClick(a.Text1(), Qt::Key_Return);
    auto* bText = b.findChild<QLineEdit*>("Text1");
    QTest::keyClicks(bText, "B");
    QTest::keyClick(bText, Qt::Key_Return);

    LeaderboardList expected = WithEntry(Lettered(), 6, "A", 5);
    if (secondSaved) expected = WithEntry(expected, 9, "B", second);
    QCOMPARE(LoadLeaderboard(a.Path(1)).list, expected);
    QCOMPARE(b.isVisible(), !secondSaved);
    QCOMPARE(b.message() != nullptr, !secondSaved);
    if (!secondSaved) {
        QVERIFY(b.message()->text().contains(QString::fromUtf8("进不了前十名")));
        // The window now shows the list that beat the score, and asks for no name.
        QCOMPARE(b.newPos(), -1);
        QVERIFY(bText->isHidden());
        QCOMPARE(b.findChild<QLabel*>("Label1_6")->text(), "A");
        QCOMPARE(b.findChild<QLabel*>("Labt")->text(), kTitle);
    }
}

void Form2Test::mainWindowStaysUsable() {
    QWidget main;
    main.show();
    Window w;
    w.form->ShowFor(1, 3);
    QVERIFY(w.form->isVisible());
    QVERIFY(main.isEnabled());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(w.form->windowModality(), Qt::NonModal);
}

QTEST_MAIN(Form2Test)
#include "leaderboard_form2_test.moc"
