// Figures for the main window with everything the program gives it: the real sound
// service, the embedded pictures, the leaderboard window at each game's end.
//
//   window_bench respond    one arrow key, and one worst-case landing with its cascade
//   window_bench games [n]  heap and resident memory after each of n whole games (10)
//
// The handlers are called the way their timers and the key preview call them; the waits
// the game asks for are ended at once, so only computation is timed, never a pause.
#include "forms/leaderboard/leaderboard_window.h"
#include "forms/main/main_window.h"
#include "game/random_source.h"
#include "sound/qt_sound_player.h"
#include "worst_case.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace numora;
using Clock = std::chrono::steady_clock;

namespace {

double Micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Max(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

// Lets the window paint what the last handler changed, as the event loop would next.
void Repaint() {
    QCoreApplication::sendPostedEvents();
}

void Settle(QWidget& w) {
    w.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

int Respond() {
    QtSoundPlayer sound;
    sound.Preload();
    SeededRandom random(5);
    MainWindow form(sound, random);
    Settle(form);
    QWidget* target = form.findChild<QLabel*>(QStringLiteral("Pict"));
    const QLabel* pair = form.findChild<QLabel*>(QStringLiteral("LabB_0"));

    // Arrow keys as the key preview receives them; they alternate, so each one moves the
    // pair a column and its labels with it.
    form.ChooseMode(2);
    Repaint();
    std::vector<double> keyMoved, keyPainted;
    for (int i = 0; i < 2000; ++i) {
        const int x = pair->x();
        QKeyEvent press(QEvent::KeyPress, i % 2 ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        const auto t0 = Clock::now();
        QApplication::sendEvent(target, &press);
        const auto t1 = Clock::now();
        Repaint();
        const auto t2 = Clock::now();
        if (pair->x() == x) {
            std::printf("respond: an arrow key did not move the pair\n");
            return 1;
        }
        keyMoved.push_back(Micros(t0, t1));
        keyPainted.push_back(Micros(t0, t2));
    }

    // The worst landing: the gravity tick that lands the pair, then every continuation of
    // its cascade, each handler timed alone and the whole summed.
    std::vector<double> totals, totalsPainted, longest, longestPainted;
    int handlers = 0;
    for (int rep = 0; rep < 30; ++rep) {
        form.ChooseMode(2); // the prepared board shows, outside the timing
        form.SetUp(bench::WorstLanding());
        Repaint();
        double total = 0, totalPainted = 0, worst = 0, worstPainted = 0;
        handlers = 0;
        bool more = true;
        for (bool first = true; more; first = false) {
            const auto t0 = Clock::now();
            if (first)
                form.GravityTick();
            else
                form.WaitOver();
            const auto t1 = Clock::now();
            Repaint();
            const auto t2 = Clock::now();
            total += Micros(t0, t1);
            totalPainted += Micros(t0, t2);
            worst = std::max(worst, Micros(t0, t1));
            worstPainted = std::max(worstPainted, Micros(t0, t2));
            ++handlers;
            more = form.waitTimer().isActive();
        }
        if (!form.gravityTimer().isActive() || !form.game().pairVisible()) {
            std::printf("respond: the cascade did not end with a new pair falling\n");
            return 1;
        }
        totals.push_back(total);
        totalsPainted.push_back(totalPainted);
        longest.push_back(worst);
        longestPainted.push_back(worstPainted);
    }

    std::printf("window arrow key: %.1f us to the labels moved, %.1f us repainted "
                "(median of %zu; slowest %.1f / %.1f us)\n",
                Median(keyMoved), Median(keyPainted), keyMoved.size(), Max(keyMoved),
                Max(keyPainted));
    std::printf("window worst-case landing: %.1f us of computation in %d handler calls, "
                "%.1f us repainted after each; longest single call %.1f us, %.1f us repainted "
                "(medians of %zu)\n",
                Median(totals), handlers, Median(totalsPainted), Median(longest),
                Median(longestPainted), totals.size());
    return 0;
}

long StatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, n, key) == 0 && line[n] == ':') return std::stol(line.substr(n + 1));
    return -1;
}

int Games(int count) {
    QTemporaryDir folder;
    QtSoundPlayer sound;
    sound.Preload();
    SeededRandom random(9);
    MainWindow form(sound, random);
    // As the program wires it: one leaderboard window, made at the first game's end.
    std::unique_ptr<LeaderboardWindow> leaderboard;
    bool ended = false;
    QObject::connect(&form, &MainWindow::gameEnded, &form, [&](int mode, qint64 score) {
        if (!leaderboard)
            leaderboard = std::make_unique<LeaderboardWindow>(sound, folder.path(), QString());
        leaderboard->ShowFor(mode, score, true);
        ended = true;
    });
    Settle(form);

    std::mt19937 player(17);
    const Arrow keys[] = {Arrow::Left, Arrow::Right, Arrow::Up, Arrow::Down};
    std::vector<double> heapKb, rssKb;
    long calls = 0;
    for (int g = 0; g < count; ++g) {
        ended = false;
        form.ChooseMode(1 + g % 5);
        for (long step = 0; !ended; ++step, ++calls) {
            if (form.waitTimer().isActive())
                form.WaitOver();
            else if (player() % 3 == 0)
                form.GravityTick();
            else
                form.PressArrow(keys[player() % 4]);
            if (step % 2 == 0) form.AnimationTick();
            if (step % 16 == 0) QCoreApplication::processEvents();
        }
        // The player types a name when the score earns a place, then the window closes.
        if (auto* name = leaderboard->findChild<QLineEdit*>(QStringLiteral("Text1"));
            name && name->isVisible()) {
            name->setText(QStringLiteral("小明%1").arg(g));
            leaderboard->Confirm();
        }
        leaderboard->close();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        heapKb.push_back(static_cast<double>(mallinfo2().uordblks) / 1024.0);
        rssKb.push_back(static_cast<double>(StatusKb("VmRSS")));
    }

    std::printf("%d games (%ld handler calls): heap in use after each game, KiB:", count, calls);
    for (double h : heapKb)
        std::printf(" %.0f", h);
    std::printf("\n%d games: resident after each game, KiB:", count);
    for (double r : rssKb)
        std::printf(" %.0f", r);
    const auto last = static_cast<std::size_t>(count - 1);
    std::printf("\n%d games: growth from game 2 to game %d: heap %+.0f KiB, resident %+.0f KiB\n",
                count, count, heapKb[last] - heapKb[1], rssKb[last] - rssKb[1]);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "respond") return Respond();
    if (what == "games") return Games(argc > 2 ? std::max(2, std::atoi(argv[2])) : 10);
    std::fprintf(stderr, "usage: window_bench respond | games [count, default 10]\n");
    return 2;
}
