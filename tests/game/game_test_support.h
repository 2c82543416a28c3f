// Boards as text pictures, a scripted random source and a game that records what it asks
// of the window.
#pragma once

#include "game/game.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>
#include <string>
#include <vector>

namespace numora::test {

// Rows of 8 tokens, "." for empty; the last row given is row 13. Labels follow the board.
inline void SetBoard(GameState& s, const std::vector<std::string>& rows) {
    for (int k = 0; k < kCellCount; ++k) s.board(k % nCol, k / nCol).clear();
    int row = nRow - static_cast<int>(rows.size());
    for (const std::string& line : rows) {
        std::istringstream in(line);
        std::string token;
        for (int col = 0; col < nCol && in >> token; ++col) {
            if (token != ".") s.board(col, row) = token;
            s.labRes[std::size_t(CellIndex(col, row))] = {token == "." ? "" : token, token != ".", false};
        }
        ++row;
    }
}

inline std::vector<std::string> BoardRows(const GameState& s, int first) {
    std::vector<std::string> rows;
    for (int row = first; row < nRow; ++row) {
        std::string line;
        for (int col = 0; col < nCol; ++col)
            line += (col ? " " : "") + (s.board.Empty(col, row) ? std::string(".") : s.board(col, row));
        rows.push_back(line);
    }
    return rows;
}

struct ScriptedRandom final : RandomSource {
    double NextUnit() override {
        if (script.empty()) return 0.0;
        const double r = script.front();
        script.pop_front();
        return r;
    }
    std::deque<double> script;
};

struct Harness : GameEvents {
    Harness() : game(random, *this) {}
    void PlaySound(Sound sound, bool wait) override {
        log.push_back("sound " + std::to_string(int(sound)) + (wait ? " wait" : ""));
    }
    void GameEnded(int mode, std::int64_t score) override {
        log.push_back("ended " + std::to_string(mode) + " " + std::to_string(score));
    }
    void Settle() {
        for (int guard = 0; game.waiting().kind != Wait::Kind::None; ++guard) {
            ASSERT_LT(guard, 10000) << "the game never stops waiting";
            game.Resume(game.waiting().serial);
        }
    }
    void SetPair(int c0, int r0, const std::string& res0, int c1, int r1, const std::string& res1) {
        s().blkCol = {c0, c1};
        s().blkRow = {r0, r1};
        s().blkRes0 = res0;
        s().blkRes1 = res1;
    }
    // The next gravity tick lands cell 0 beside an equal "7": a group of two, 30 points.
    void PrepareGroupOfTwo() {
        SetBoard(s(), {". . . . . 7 . ."});
        SetPair(4, 13, "7", 4, 12, "5");
    }
    GameState& s() { return game.editState(); }
    const GameState& st() const { return game.state(); }

    ScriptedRandom random;
    std::vector<std::string> log;  // "sound 104", "sound 106 wait", "ended 2 30"
    Game game;
};

// The flags a test most often checks, as one line: "play t1=2000 step pair t3 fig wait=pause100".
inline std::string Flags(const Game& g) {
    const GameState& s = g.state();
    std::string out;
    auto add = [&out](bool on, const std::string& word) { if (on) out += (out.empty() ? "" : " ") + word; };
    add(s.playing, "play");
    add(s.timer1.enabled, "t1=" + std::to_string(s.timer1.interval));
    add(s.canStep, "step");
    add(s.labBVisible, "pair");
    add(s.timer3.enabled, "t3");
    add(s.picMove.visible, "fig");
    add(g.waiting().kind == Wait::Kind::Pause, "wait=pause" + std::to_string(g.waiting().ms));
    add(g.waiting().kind == Wait::Kind::Sound, "wait=sound" + std::to_string(int(g.waiting().sound)));
    return out;
}

inline const std::string kEmptyRow = ". . . . . . . .";

// Names parameterized cases after their `name` field.
inline constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace numora::test
