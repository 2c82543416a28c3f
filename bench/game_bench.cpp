// Figures for the rules library alone: one worst-case landing and whole random games.
#include "game/game.h"
#include "worst_case.h"

#include <chrono>
#include <cstdio>
#include <random>

using namespace numora;
using Clock = std::chrono::steady_clock;

namespace {

struct Quiet : GameEvents {
    void PlaySound(Sound) override {}
    void HandOverScore(int, std::int64_t) override { ++ended; }
    int ended = 0;
};

double WorstLandingMicros(int repeats, int& levels, std::int64_t& score) {
    Quiet quiet;
    SeededRandom random(1);
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        Game game(random, quiet);
        game.ChooseMode(2);
        game.SetUp(bench::WorstLanding());
        const auto start = Clock::now();
        game.GravityTick();
        levels = 0;
        while (game.waiting().kind != Wait::Kind::None) {
            levels += game.waiting().kind == Wait::Kind::Pause;
            game.Resume(game.waiting().serial);
        }
        const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        if (us < best) best = us;
        score = game.state().score;
    }
    return best;
}

// One arrow key as the game handles it: the pair steps left, then right, so every key
// moves it. The mean over many keys, as one is far below the clock's resolution.
double ArrowKeyNanos(int keys) {
    Quiet quiet;
    SeededRandom random(3);
    Game game(random, quiet);
    game.ChooseMode(2);
    const auto start = Clock::now();
    for (int i = 0; i < keys; ++i)
        game.Press(i % 2 ? Arrow::Right : Arrow::Left);
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    if (game.state().pair.col[0] != 3) std::printf("arrow keys: the pair did not come back\n");
    return ns / keys;
}

double RandomGamesPerSecond(int games, long& steps) {
    Quiet quiet;
    SeededRandom random(7);
    std::mt19937_64 actions(11);
    Game game(random, quiet);
    steps = 0;
    const auto start = Clock::now();
    for (int g = 0; g < games; ++g) {
        game.ChooseMode(1 + g % 5);
        const int ended = quiet.ended;
        while (quiet.ended == ended) {
            if (game.waiting().kind != Wait::Kind::None) {
                game.Resume(game.waiting().serial);
            } else {
                const int roll = static_cast<int>(actions() % 10);
                if (roll < 4)
                    game.GravityTick();
                else
                    game.Press(static_cast<Arrow>(actions() % 4));
                game.AnimationTick();
            }
            ++steps;
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return games / seconds;
}

} // namespace

int main() {
    int levels = 0;
    std::int64_t score = 0;
    const double landing = WorstLandingMicros(200, levels, score);
    std::printf("worst-case landing: %.1f us of computation (%d removal levels, score %lld; "
                "the 100 ms pauses not counted)\n",
                landing, levels, static_cast<long long>(score));
    std::printf("arrow key: %.0f ns (mean of 1000000 keys)\n", ArrowKeyNanos(1000000));
    long steps = 0;
    const double rate = RandomGamesPerSecond(3000, steps);
    std::printf("random games: %.0f games/s (%ld calls in 3000 games)\n", rate, steps);
    return 0;
}
