// Boards as text pictures, a scripted random source, a game driven by a script and read back
// as text, and tables of such scripts written one case to a line.
#pragma once

#include "game/game.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>
#include <string>
#include <vector>

namespace numora::test {

using Rows = std::vector<std::string>;

struct ScriptedRandom final : RandomSource {
    double NextUnit() override {
        if (script.empty()) return 0.0; // the first equation of the list
        const double r = script.front();
        script.pop_front();
        return r;
    }
    std::deque<double> script;
};

// The parts of `text` between `at`s, without the blanks around them.
inline std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, at);) {
        part.erase(0, part.find_first_not_of(' '));
        parts.push_back(part.erase(part.find_last_not_of(' ') + 1));
    }
    return parts;
}

struct Harness : GameEvents {
    Harness() : game(random, *this) {}
    void PlaySound(Sound sound) override { log += std::to_string(int(sound)) + " "; }
    void HandOverScore(int mode, std::int64_t score) override {
        log += "end" + std::to_string(mode) + ":" + std::to_string(score) + " ";
    }

    // T gravity tick, A animation tick, W end of the wait, S every wait ended, L R U D the
    // arrows, 1-5 a new game, a b c d a level, n the figure off,
    // s a late timer of the wait before the last new game, k serials that never were.
    void Play(const std::string& script) {
        for (char c : script) {
            const unsigned serial = game.waiting().serial;
            const std::string keys = "LURD";
            if (keys.find(c) != std::string::npos) game.Press(Arrow(keys.find(c)));
            if (c == 'T') game.GravityTick();
            if (c == 'A') game.AnimationTick();
            if (c == 'W') game.Resume(serial);
            for (int n = 0; c == 'S' && n < 1000 && game.waiting().kind != Wait::Kind::None; ++n)
                game.Resume(game.waiting().serial);
            if (c == 'n') game.ChooseAnimation(false);
            if (c == 's') game.Resume(stale);
            if (c == 'k') {
                game.Resume(serial + 1);
                game.Resume(serial - 1);
            }
            if (c >= 'a' && c <= 'd') game.ChooseLevel(c - 'a' + 1);
            if (c >= '0' && c <= '6') {
                stale = serial;
                game.ChooseMode(c - '0');
            }
        }
    }

    // What the player would see under `key`, as the tables write it.
    std::string Show(const std::string& key) const {
        const GameState& s = game.state();
        const auto n = [](auto v) { return std::to_string(v); };
        std::string v;
        const auto add = [&v](bool on, const std::string& word) {
            if (on) v += (v.empty() ? "" : " ") + word;
        };
        if (key == "score")
            return n(s.score) + " " + game.scoreCaption() + " g" + n(s.chainNeighbours);
        if (key == "stage") return n(s.stage) + " set " + n(game.figureSet());
        if (key == "pair")
            return n(s.pair.col[0]) + "," + n(s.pair.row[0]) + " " + n(s.pair.col[1]) + "," +
                   n(s.pair.row[1]);
        if (key == "log") return log.substr(0, log.find_last_not_of(' ') + 1);
        if (key == "frame") return n(s.walkingFrame.set) + "." + n(s.walkingFrame.frame);
        if (key == "facing") return n(s.facing);
        if (key == "checked")
            return n(game.checkedMode()) + n(s.level) + (s.animationOn ? "y" : "n");
        if (key == "starts") return n(s.gravity.starts);
        if (key == "fig") {
            add(s.bannerFigureVisible, "banner");
            add(s.walkingFigure.visible, n(s.walkingFigure.left) + "," + n(s.walkingFigure.top));
            return v.empty() ? "none" : v;
        }
        if (key == "cells") { // labels shown, marked, with a caption
            int count[3] = {};
            for (int k = 0; k < kCellCount; ++k) {
                const CellLabel label = game.cellLabel(k);
                count[0] += label.visible;
                count[1] += label.marked;
                count[2] += !label.caption.empty();
            }
            return n(count[0]) + " " + n(count[1]) + " " + n(count[2]);
        }
        if (key == "marked") {
            for (int k = 0; k < kCellCount; ++k)
                add(s.board(k % kColumns, k / kColumns).marked,
                    n(k % kColumns) + "," + n(k / kColumns));
            return v.empty() ? "none" : v;
        }
        if (key.starts_with("row")) {
            for (int col = 0, row = std::stoi(key.substr(3)); col < kColumns; ++col) {
                const Cell& cell = s.board(col, row);
                add(true, cell.marked ? "-1" : cell.result.empty() ? "." : cell.result);
            }
            return v;
        }
        const Wait& w = game.waiting();
        add(s.playing, "play");
        add(s.gravity.enabled, "t1=" + n(s.gravity.interval));
        add(game.downAllowed(), "step");
        add(game.pairVisible(), "pair");
        add(s.animation.enabled, "t3");
        add(w.kind == Wait::Kind::Pause, "wait=" + n(w.ms));
        add(w.kind == Wait::Kind::Sound, "wait=sound" + n(int(w.sound)));
        add(!s.started, "splash");
        return key == "flags" ? v : "?";
    }

    ScriptedRandom random;
    std::string log; // "104 106 end2:30 "
    unsigned stale = 0;
    Game game;
};

// A case of a table: one line of six fields apart by ";"; lines that begin with a blank go on
// with the want of the line before, and lines that begin with "#" say what the cases catch.
//   board   "-"; a picture's rows apart by "/", the last one row 13; or cells "9@2,6 7@0,0"
//           (result@col,row)
//   pair    "c0 r0 result0 c1 r1 result1", or "-"
//   score   "score stage", or "-"
//   script  "before|after" the set-up (see Harness::Play); "after" alone begins mode 1
//   want    "key=value|key=value", as Harness::Show says
struct Scenario {
    std::string name, board, pair, score, script, want;
};

inline std::vector<Scenario> Table(const std::string& text) {
    std::vector<Scenario> table;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f = Split(line, ';');
        if (line[0] == ' ') {
            table.back().want += (table.back().want.empty() ? "" : "|") + f[0];
            continue;
        }
        f.resize(6);
        table.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
    }
    return table;
}

inline Situation SituationOf(const Scenario& c) {
    Situation situation;
    if (c.board.find('@') != std::string::npos) {
        std::vector<Rows> grid(kRows, Rows(kColumns, "."));
        for (const std::string& cell : Split(c.board, ' ')) {
            const auto at = cell.find('@'), comma = cell.find(',');
            grid[std::stoul(cell.substr(comma + 1))][std::stoul(cell.substr(at + 1))] =
                cell.substr(0, at);
        }
        for (const Rows& row : grid) {
            std::string line;
            for (const std::string& token : row)
                line += token + " ";
            situation.board.push_back(line);
        }
    } else if (c.board != "-") {
        situation.board = Split(c.board, '/');
    }
    if (c.pair != "-") {
        Situation::Pair p;
        std::istringstream in(c.pair);
        in >> p.col[0] >> p.row[0] >> p.result[0] >> p.col[1] >> p.row[1] >> p.result[1];
        situation.pair = p;
    }
    if (c.score != "-") {
        std::istringstream in(c.score);
        situation.score.emplace();
        situation.stage.emplace();
        in >> *situation.score >> *situation.stage;
    }
    return situation;
}

// Names parameterized cases, in the test list and in failure messages, after their `name`.
inline constexpr auto kCaseName = [](const auto& info) { return info.param.name; };
inline void PrintTo(const Scenario& c, std::ostream* out) {
    *out << c.name;
}

} // namespace numora::test
