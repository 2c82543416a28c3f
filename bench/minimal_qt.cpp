// The floor the toolkit allows: a main window with a menu bar and a label, nothing else.
// The benchmarks measure the game beside it, on the same machine in the same run.
//
// Built a second time as minimal_qt_zh, with the game's Chinese menu titles and Qt
// Multimedia loaded: the floor for a program that must show Chinese and play sound,
// which tells how much of the game's cost the toolkit alone accounts for.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
#ifdef MINIMAL_QT_ZH
    for (const char* title : {"开始", "级别设置", "动画", "帮助"})
        window.menuBar()->addMenu(QString::fromUtf8(title));
#else
    window.menuBar()->addMenu(QStringLiteral("File"));
#endif
    window.setCentralWidget(new QLabel(QStringLiteral("Hello")));
    // The game's window size, so both paint the same number of pixels.
    window.resize(408, 525);
    window.show();
    return app.exec();
}
