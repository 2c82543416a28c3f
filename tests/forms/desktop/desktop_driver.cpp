// The program's windows on a real display, for window_manager_test.sh: each line on standard
// input asks for one thing, and the answer is one line on standard output.
//   where   the windows' ids and the 帮助 menu's title in screen pixels
//   end     a game of mode 2 ends with 500 points, so the leaderboard opens
//   state   the focused widget, the falling pair's cell 0, the name box's text
#include "forms/application.h"
#include "forms/hand_over.h"
#include "support/fake_sound.h"

#include <QtWidgets>

#include <cstdio>
#include <unistd.h>

using namespace numora;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    SetUpApplication();
    test::FakeSound sound;
    SeededRandom random(3);
    MainWindow game(sound, random);
    std::unique_ptr<LeaderboardWindow> list;
    QTemporaryDir dir;
    HandFinishedGamesOn(game, list, sound, dir.path(), {});
    game.show();
    game.ChooseMode(2);
    const auto id = [](QWidget* w) { return w ? QString::number(w->winId(), 16) : QString("-"); };
    QSocketNotifier in(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&in, &QSocketNotifier::activated, [&] {
        char buffer[64] = {};
        const QString command =
            QString::fromLatin1(buffer, read(STDIN_FILENO, buffer, 63)).trimmed();
        QString out;
        if (command == "where") {
            QAction* help = game.menuBar()->actions().last();
            const QPoint title = game.menuBar()->actionGeometry(help).center();
            out = QString("main=0x%1 help=0x%2 list=0x%3 menu=%4,%5")
                      .arg(id(&game), id(game.helpWindow()), id(list.get()))
                      .arg(game.menuBar()->mapToGlobal(title).x())
                      .arg(game.menuBar()->mapToGlobal(title).y());
        } else if (command == "end") {
            game.SetUp({.board = std::vector<std::string>(kRows, ". . . 5"), .score = 500});
            game.GravityTick();
            for (int k = 0; k <= kCellCount; ++k)
                game.WaitOver();
        } else if (command == "state") {
            QWidget* focus = QApplication::focusWidget();
            QLineEdit* name = list ? list->findChild<QLineEdit*>("Text1") : nullptr;
            out = QString("focus=%1 pair=%2 name=%3")
                      .arg(focus ? focus->objectName() : "-")
                      .arg(game.findChild<QLabel*>("LabB_0")->x())
                      .arg(name ? name->text() : "-");
        } else if (command.isEmpty()) {
            QApplication::quit();
        }
        std::printf("%s\n", qPrintable(out));
        std::fflush(stdout);
    });
    return app.exec();
}
