// Figures for the rules library alone: one worst-case landing and whole random games.
#include "game/game.h"

#include <chrono>
#include <cstdio>
#include <random>

using namespace numora;
using Clock = std::chrono::steady_clock;

namespace {

struct Quiet : GameEvents {
    void PlaySound(Sound, bool) override {}
    void GameEnded(int, std::int64_t) override { ++ended; }
    int ended = 0;
};

// A full board of vertical pairs of equal results, neighbours always different: the
// landing's group sets off a cascade that removes the pairs one rescan at a time.
void FillForCascade(GameState& s) {
    for (int col = 0; col < nCol; ++col)
        for (int row = 1; row < nRow; ++row) {
            s.board(col, row) = ((row / 2 + col) % 2) ? "2" : "3";
            CellLabel& label = s.labRes[static_cast<std::size_t>(CellIndex(col, row))];
            label.visible = true;
            label.caption = s.board(col, row);
        }
}

double WorstLandingMicros(int repeats, int& levels, std::int64_t& score) {
    Quiet quiet;
    SeededRandom random(1);
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        Game game(random, quiet);
        game.ChooseMode(2);
        FillForCascade(game.editState());
        GameState& s = game.editState();
        s.blkCol = {1, 2};
        s.blkRow = {0, 0};
        s.blkRes0 = "2";  // equal to the cell it lands on
        s.blkRes1 = "9";
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
                if (roll < 4) game.GravityTick();
                else game.KeyDown(kKeyLeft + static_cast<int>(actions() % 4));
                game.AnimationTick();
            }
            ++steps;
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return games / seconds;
}

}  // namespace

int main() {
    int levels = 0;
    std::int64_t score = 0;
    const double landing = WorstLandingMicros(200, levels, score);
    std::printf("worst-case landing: %.1f us of computation (%d removal levels, score %lld; "
                "the 100 ms pauses not counted)\n",
                landing, levels, static_cast<long long>(score));
    long steps = 0;
    const double rate = RandomGamesPerSecond(3000, steps);
    std::printf("random games: %.0f games/s (%ld calls in 3000 games)\n", rate, steps);
    return 0;
}
