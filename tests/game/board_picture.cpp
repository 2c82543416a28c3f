#include "board_picture.h"

#include <sstream>
#include <stdexcept>

namespace numora::test {

void SetBoard(GameState& state, std::initializer_list<std::string> rows) {
    for (int col = 0; col < nCol; ++col)
        for (int row = 0; row < nRow; ++row) state.board(col, row).clear();
    int row = nRow - static_cast<int>(rows.size());
    for (const std::string& line : rows) {
        std::istringstream in(line);
        std::string token;
        for (int col = 0; col < nCol; ++col) {
            if (!(in >> token)) throw std::invalid_argument("short board row: " + line);
            if (token != ".") state.board(col, row) = token;
            CellLabel& label = state.labRes[static_cast<std::size_t>(CellIndex(col, row))];
            label.visible = token != ".";
            label.caption = token == "." ? "" : token;
        }
        ++row;
    }
}

std::vector<std::string> BoardRows(const GameState& state, int first) {
    std::vector<std::string> rows;
    for (int row = first; row < nRow; ++row) {
        std::string line;
        for (int col = 0; col < nCol; ++col) {
            if (col) line += ' ';
            line += state.board.Empty(col, row) ? "." : state.board(col, row);
        }
        rows.push_back(line);
    }
    return rows;
}

double ScriptedRandom::NextUnit() {
    if (script.empty()) return 0.0;
    const double r = script.front();
    script.pop_front();
    return r;
}

void ScriptedRandom::Pick(std::initializer_list<int> indices, int eqCount) {
    for (int k : indices) script.push_back((k + 0.5) / eqCount);
}

void Harness::PlaySound(Sound sound, bool wait) {
    log.push_back("sound " + std::to_string(static_cast<int>(sound)) + (wait ? " wait" : ""));
}

void Harness::GameEnded(int mode, std::int64_t score) {
    log.push_back("ended " + std::to_string(mode) + " " + std::to_string(score));
}

void Harness::Settle() {
    for (int guard = 0; game.waiting().kind != Wait::Kind::None; ++guard) {
        if (guard > 10000) throw std::runtime_error("the game never stops waiting");
        game.Resume(game.waiting().serial);
    }
}

void Harness::SetPair(int c0, int r0, const std::string& res0, int c1, int r1,
                      const std::string& res1) {
    GameState& st = s();
    st.blkCol = {c0, c1};
    st.blkRow = {r0, r1};
    st.blkRes0 = res0;
    st.blkRes1 = res1;
}

void Harness::PrepareGroupOfTwo() {
    SetBoard(s(), {". . . . . 7 . ."});
    SetPair(4, 13, "7", 4, 12, "5");
}

}  // namespace numora::test
