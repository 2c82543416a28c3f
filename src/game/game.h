// The rules of play: board, falling pair, turning, gravity, matching, scoring, cascade,
// game over and the figure's step. Standard C++ only: the window forwards its events
// here and then shows the state; every wait is handed back to the caller.
#pragma once

#include "game/equations.h"
#include "game/random_source.h"
#include "game/sound.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace numora {

// Board geometry, in cells and pixels.
inline constexpr int kCellWidth = 50;
inline constexpr int kCellHeight = 32;
inline constexpr int kColumns = 8;
inline constexpr int kRows = 14;
inline constexpr int kCellCount = kColumns * kRows;
inline constexpr int kBannerHeight = 40; // the banner strip above the board

// Where the label of cell (col, row) sits in the window's client area.
constexpr int CellLeft(int col) {
    return col * (kCellWidth + 1);
}
constexpr int CellTop(int row) {
    return kBannerHeight + row * (kCellHeight + 1);
}

// The four arrows that steer the falling pair: a step aside, a turn, a row down. A view maps
// its keys and taps onto them.
enum class Arrow { Left, Up, Right, Down };

// Fixed timings of the game, in milliseconds.
inline constexpr int kNewGameInterval = 2000;
inline constexpr int kAnimationInterval = 200;
inline constexpr int kRemovalPause = 100;
inline constexpr int kFillPause = 8;
inline constexpr int kFigureSets = 5; // picture sets 0..4; later stages keep set 4

// A settled cell: its result text ("" when empty) and whether it belongs to a found group
// that the next removal pass takes off.
struct Cell {
    std::string result;
    bool marked = false;
};

// The settled cells, with one spare column and row that are always empty, so a look-up
// one step right of the last column or below the last row is safe.
class Board {
  public:
    Cell& operator()(int col, int row) { return cells_[Slot(col, row)]; }
    const Cell& operator()(int col, int row) const { return cells_[Slot(col, row)]; }
    bool Empty(int col, int row) const { return cells_[Slot(col, row)].result.empty(); }
    bool AnyMarked() const {
        return std::any_of(cells_.begin(), cells_.end(), [](const Cell& c) { return c.marked; });
    }
    void Clear() { cells_ = {}; }

  private:
    static std::size_t Slot(int col, int row) { return std::size_t(row * (kColumns + 1) + col); }
    std::array<Cell, (kColumns + 1) * (kRows + 1)> cells_{};
};

// Board cell k (row * kColumns + col) as the player sees it; the caption lives in the board.
struct CellLabel {
    std::string_view caption;
    bool visible = false;
    bool marked = false; // drawn in MarkColour instead of CellColour
};

// A timer's wanted state. `starts` counts the moments it must (re)start a full interval:
// enabling it when it was off, or setting its interval while it runs.
struct TimerState {
    bool enabled = false;
    int interval = 0;
    unsigned starts = 0;
    void Enable(bool on) {
        starts += on && !enabled ? 1 : 0;
        enabled = on;
    }
    void SetInterval(int ms) {
        interval = ms;
        starts += enabled ? 1 : 0;
    }
};

struct FigureBox {
    bool visible = false;
    int left = 0;
    int top = 0;
};

// The frame the walking figure last showed: which set and which of its four frames.
struct FigureFrame {
    int set = -1; // -1: nothing drawn yet
    int frame = 0;
    bool operator==(const FigureFrame&) const = default;
};

// The pair the player steers: each cell's column and row, and its equation as a row of the
// equation table. It is not on the board while it falls.
struct FallingPair {
    std::array<int, 2> col{};
    std::array<int, 2> row{};
    std::array<std::size_t, 2> equation{};
};

// The rules' state, each fact once. What the window shows is computed from it (see Game).
struct GameState : EquationTable {
    Board board;
    FallingPair pair;
    std::array<std::size_t, 2> preview{}; // the next pair's equations

    int mode = 1;
    bool started = false; // a game has begun since start-up, so the splash is gone
    bool playing = false;
    std::int64_t score = 0;
    int stage = 0;
    int level = 0; // the level last chosen, 1..3; 0 until one is (it plays as the first)
    // Equal neighbours marked since the pair landed, the origins of groups not counted: each
    // further group of the same landing scores 20 points for every one of them.
    std::int64_t chainNeighbours = 0;
    int facing = 0;          // the figure's first frame: 0 facing left, 2 facing right
    bool secondPose = false; // the figure's next frame is the second of its pair
    bool animationOn = true; // "有" carries the check mark, "无" does not
    int filled = 0;          // the cell labels the game-over fill has blanked, in order

    // The figure as the last animation tick (or the animation menu) left it: walking on the
    // board above the pair, or standing in the banner.
    FigureBox walkingFigure;
    FigureFrame walkingFrame;
    bool bannerFigureVisible = false;

    TimerState gravity{false, kNewGameInterval, 0};
    TimerState animation{false, kAnimationInterval, 0};

    const std::string& fallingResult(std::size_t i) const { return results[pair.equation[i]]; }
    const std::string& previewResult(std::size_t i) const { return results[preview[i]]; }
};

// What the game waits for before it can go on. The caller waits, then calls Resume with
// the serial; a serial from an abandoned wait is ignored.
struct Wait {
    enum class Kind { None, Pause, Sound };
    Kind kind = Kind::None;
    int ms = 0;                     // for Pause
    Sound sound = Sound::Milestone; // for Sound: go on when this sound has ended
    unsigned serial = 0;
};

// A situation to play on from. The program never makes one: it serves the tests, the
// benchmarks and the scene tool, which set up a board, a pair or a score to play on from.
// What is not given stays.
struct Situation {
    // The board as a picture, one string per row, the last one the bottom row: up to kColumns
    // tokens apart, "." for an empty cell, else the cell's result, with a trailing "*" when
    // it is marked. Rows above those given are empty, and so are cells a row leaves out.
    std::vector<std::string> board{};
    // The falling pair: each cell's column, row and result. A result picks the first
    // equation of the game's list that has it.
    struct Pair {
        std::array<int, 2> col, row;
        std::array<std::string, 2> result;
    };
    std::optional<Pair> pair{};
    std::optional<std::int64_t> score{};
    std::optional<int> stage{};
};

class GameEvents {
  public:
    virtual ~GameEvents() = default;
    virtual void PlaySound(Sound sound) = 0;
    // A finished game hands its mode and final score on (to the leaderboard).
    virtual void HandOverScore(int mode, std::int64_t score) = 0;
};

class Game {
  public:
    Game(RandomSource& random, GameEvents& events);

    // What the window forwards.
    void ChooseMode(int index);    // a "开始" item, 1..5: starts a new game
    void ChooseLevel(int level);   // a "级别设置" item, 1..3
    void ChooseAnimation(bool on); // "有" / "无"
    void Press(Arrow arrow);
    void GravityTick();
    void AnimationTick();
    void Resume(unsigned serial);
    // The window closes: the game stops where it is. No timer, wait or hand-over of it
    // runs afterwards; a finished game still filling the board is not handed on.
    void Stop();
    // Puts the game into a situation (see Situation); for tests and tools. Throws
    // std::invalid_argument for a picture that does not fit the board or a result no equation of
    // the list has.
    void SetUp(const Situation& situation);

    const Wait& waiting() const { return pending_.wait; }
    const GameState& state() const { return s_; }

    // What the window shows, computed from the state: the board's cells, the falling and the
    // preview pair's captions, the score.
    CellLabel cellLabel(int k) const;
    const std::string& pairCaption(std::size_t i) const {
        return s_.expressions[s_.pair.equation[i]];
    }
    const std::string& previewCaption(std::size_t i) const { return s_.expressions[s_.preview[i]]; }
    bool pairVisible() const { return s_.playing && pending_.wait.kind == Wait::Kind::None; }
    std::string scoreCaption() const;
    int figureSet() const; // the picture set the figure is drawn from now
    int checkedMode() const { return s_.started ? s_.mode : 0; } // 0: no item checked
    // The Down arrow is refused from the first removal pause until the cascade is over.
    bool downAllowed() const {
        return s_.started && pending_.then != Step::Collapse && pending_.then != Step::Removal;
    }

    // The falling-speed rule: interval in ms for a score and level offset.
    static int SpeedInterval(std::int64_t score, int levelBonus);
    static int LevelBonus(int level);

  private:
    enum class Step { None, MatchFirst, MatchSecond, AfterMatches, Collapse, Removal, Spawn, Fill };

    void DropContinuations();
    void NewGame();
    void DrawPreview();
    std::size_t PickEquation();
    void SpawnPair();
    void StepDown(); // what a gravity tick and the Down arrow do
    bool CanFall() const;
    void TurnPair();
    void Land();
    bool MarkGroup(int col, int row, const std::string& value);
    void ScoreGroup(int count);
    void RemovalPass();
    bool Rescan();
    void GameOver();
    void HandOver();
    void Advance(Step step);
    void StartWait(Wait wait);
    bool Free(int col, int row) const { return s_.board.Empty(col, row); }
    // The game stands still while a milestone's sound plays, the one sound it waits for.
    bool MilestoneSounding() const { return pending_.wait.kind == Wait::Kind::Sound; }

    RandomSource& random_;
    GameEvents& events_;
    GameState s_;
    // The one place that says what the game waits for, what follows when the wait is over,
    // and, while a milestone sound plays, the score the label still shows.
    struct Pending {
        Wait wait;
        Step then = Step::None;
        std::int64_t scoreShown = 0;
    } pending_;
};

} // namespace numora
