// Boards as text pictures, a scripted random source, and a game driven by a script and read as
// text.
#pragma once

#include "game/game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace numora::test {

using Rows = std::vector<std::string>;
inline const std::string kEmptyRow = ". . . . . . . .";

// A board picture as the game takes it (the last row is row 13), or, after a first row "^",
// drawn from row 0 down.
inline Rows Picture(Rows rows) {
    if (rows.empty() || rows[0] != "^") return rows;
    rows.erase(rows.begin());
    rows.resize(nRow, ".");
    return rows;
}

struct ScriptedRandom final : RandomSource {
    double NextUnit() override {
        const double r = script.empty() ? 0.0 : script.front();
        if (!script.empty()) script.pop_front();
        return r;
    }
    std::deque<double> script;
};

struct Harness : GameEvents {
    Harness() : game(random, *this) {}
    void PlaySound(Sound sound) override { log.push_back(std::to_string(int(sound))); }
    void HandOverScore(int mode, std::int64_t score) override {
        log.push_back("end" + std::to_string(mode) + ":" + std::to_string(score));
    }
    const GameState& st() const { return game.state(); }
    static std::optional<Situation::Pair>
    Pair(const std::string& pair) { // "c0 r0 result0 c1 r1 result1"; "" leaves it
        Situation::Pair p;
        std::istringstream in(pair);
        in >> p.col[0] >> p.row[0] >> p.result[0] >> p.col[1] >> p.row[1] >> p.result[1];
        return pair.empty() ? std::nullopt : std::optional(p);
    }

    // T gravity tick, A animation tick, W end of the wait, S every wait ended, L R U D the
    // arrows, x another key, 1-5 a new game, a b c a level, y n the figure on or off, s a late
    // timer of the wait before the last new game, k a serial that never was.
    void Play(const std::string& script) {
        for (char c : script) {
            const unsigned serial = game.waiting().serial;
            switch (c) {
            case 'T':
                game.GravityTick();
                break;
            case 'A':
                game.AnimationTick();
                break;
            case 'W':
                game.Resume(serial);
                break;
            case 'S':
                for (int n = 0; n < 1000 && game.waiting().kind != Wait::Kind::None; ++n)
                    game.Resume(game.waiting().serial);
                break;
            case 'L':
                game.KeyDown(kKeyLeft);
                break;
            case 'R':
                game.KeyDown(kKeyRight);
                break;
            case 'U':
                game.KeyDown(kKeyUp);
                break;
            case 'D':
                game.KeyDown(kKeyDown);
                break;
            case 'x':
                game.KeyDown(65);
                break;
            case 'y':
            case 'n':
                game.ChooseAnimation(c == 'y');
                break;
            case 's':
                game.Resume(stale);
                break;
            case 'k':
                game.Resume(serial + 1), game.Resume(serial - 1);
                break;
            default:
                if (c >= 'a' && c <= 'd') game.ChooseLevel(c - 'a' + 1);
                if (c >= '0' && c <= '6') stale = serial, game.ChooseMode(c - '0');
            }
        }
    }

    // What the player would see, one "key=value" per key asked for, joined by "|".
    std::string Show(const std::string& keys) const {
        const GameState& s = st();
        const Wait& w = game.waiting();
        std::istringstream in(std::regex_replace(keys, std::regex("=[^|]*|\\|"),
                                                 " ")); // keys alone, or a wanted "k=v|k=v"
        std::string out, key;
        while (in >> key) {
            std::string v;
            auto add = [&v](bool on, const std::string& word) {
                if (on) v += (v.empty() ? "" : " ") + word;
            };
            if (key == "score")
                v = std::to_string(s.score) + " " + game.scoreCaption() + " g" +
                    std::to_string(s.groupN);
            else if (key == "stage")
                v = std::to_string(s.stage) + " set " + std::to_string(game.figureSet());
            else if (key == "pair")
                v = std::to_string(s.blkCol[0]) + "," + std::to_string(s.blkRow[0]) + " " +
                    std::to_string(s.blkCol[1]) + "," + std::to_string(s.blkRow[1]);
            else if (key == "log")
                for (const std::string& e : log)
                    add(true, e);
            else if (key == "fig")
                v = (s.picTboyVisible ? "banner" : "") +
                    (s.picMove.visible
                         ? std::to_string(s.picMove.left) + "," + std::to_string(s.picMove.top)
                     : s.picTboyVisible ? ""
                                        : "none");
            else if (key == "frame")
                v = std::to_string(s.picMoveImage.set) + "." +
                    std::to_string(s.picMoveImage.frame) + " facing " + std::to_string(s.boyFrame);
            else if (key == "checked")
                v = std::to_string(game.checkedMode()) + std::to_string(s.level) +
                    (s.dhyChecked ? "y" : "n");
            else if (key == "cells") { // labels shown, marked, with a caption
                int n[3] = {};
                for (int k = 0; k < kCellCount; ++k)
                    n[0] += game.cellLabel(k).visible, n[1] += game.cellLabel(k).marked,
                        n[2] += !game.cellLabel(k).caption.empty();
                v = std::to_string(n[0]) + " " + std::to_string(n[1]) + " " + std::to_string(n[2]);
            } else if (key == "starts")
                v = std::to_string(s.timer1.starts);
            else if (key.starts_with("row"))
                for (int col = 0, row = std::stoi(key.substr(3)); col < nCol; ++col)
                    add(true, s.board(col, row).marked  ? "-1"
                              : s.board.Empty(col, row) ? "."
                                                        : s.board(col, row).result);
            else if (key == "flags") {
                add(s.playing, "play");
                add(s.timer1.enabled, "t1=" + std::to_string(s.timer1.interval));
                add(game.canStep(), "step");
                add(game.pairVisible(), "pair");
                add(s.timer3.enabled, "t3");
                add(w.kind == Wait::Kind::Pause, "wait=" + std::to_string(w.ms));
                add(w.kind == Wait::Kind::Sound, "wait=sound" + std::to_string(int(w.sound)));
                add(!s.started, "splash");
            } else
                v = "?";
            out += (out.empty() ? "" : "|") + key + "=" + v;
        }
        return out;
    }

    ScriptedRandom random;
    std::vector<std::string> log; // "104", "106w", "end2:30"
    unsigned stale = 0;
    Game game;
};

// Names parameterized cases, in the test list and in failure messages, after their `name`.
inline constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };
template <class Case>
requires requires(Case c) {
    c.name;
}
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

} // namespace numora::test
