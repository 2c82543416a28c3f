// The test build's hooks: the same page, plus functions the browser tests call to set up a
// situation, fire the page's timers without waiting for them, and read what it armed and
// which sounds it asked for. The shipped site has none of them.
#include "web/page.h"

#include <emscripten/bind.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using numora::Situation;
using numora::Sound;
using numora::web::CurrentPage;
using numora::web::Timer;

std::string& SoundsAsked() {
    static std::string asked;
    return asked;
}

// Watching from before main builds the page, so no sound is missed.
[[maybe_unused]] const bool watching = [] {
    numora::web::SoundService::Watch([](Sound sound) {
        std::string& asked = SoundsAsked();
        if (!asked.empty()) asked += ' ';
        asked += std::to_string(static_cast<int>(sound));
    });
    return true;
}();

std::vector<std::string> Rows(const std::string& board) {
    std::vector<std::string> rows;
    std::istringstream in(board);
    for (std::string row; std::getline(in, row, '/');)
        rows.push_back(row);
    return rows;
}

// `board`: the picture's rows joined by "/" (the last is the bottom row), or "" to keep the
// board; `pair`: "c0 r0 result0 c1 r1 result1", or "" to keep it; `score`: -1 keeps it.
// False for a pair that does not read as six fields; the game refuses the rest itself.
bool SetUp(std::string board, std::string pair, double score) {
    Situation situation;
    situation.board = Rows(board);
    if (!pair.empty()) {
        Situation::Pair p{};
        std::istringstream in(pair);
        std::string rest;
        if (!(in >> p.col[0] >> p.row[0] >> p.result[0] >> p.col[1] >> p.row[1] >> p.result[1]) ||
            in >> rest)
            return false;
        situation.pair = p;
    }
    if (score != -1) situation.score = static_cast<std::int64_t>(score);
    CurrentPage().SetUp(situation);
    return true;
}

Timer* TimerNamed(const std::string& name) {
    if (name == "gravity") return &CurrentPage().gravityTimer();
    if (name == "animation") return &CurrentPage().animationTimer();
    if (name == "wait") return &CurrentPage().waitTimer();
    return nullptr;
}

bool Fire(std::string name) {
    Timer* timer = TimerNamed(name);
    return timer != nullptr && timer->Fire();
}

// {"gravity":ms|null,"animation":ms|null,"wait":ms|null}: each timer's interval while armed.
std::string Timers() {
    std::string json = "{";
    for (const char* name : {"gravity", "animation", "wait"}) {
        const Timer* timer = TimerNamed(name);
        if (json.size() > 1) json += ',';
        json += std::string("\"") + name + "\":";
        json += timer->active() ? std::to_string(timer->interval()) : "null";
    }
    return json + "}";
}

std::string Sounds() {
    return SoundsAsked();
}

} // namespace

EMSCRIPTEN_BINDINGS(numora_test_hooks) {
    emscripten::function("numoraSetUp", &SetUp);
    emscripten::function("numoraFire", &Fire);
    emscripten::function("numoraTimers", &Timers);
    emscripten::function("numoraSounds", &Sounds);
}
