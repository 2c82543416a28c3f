// The rules of play: board, falling pair, turning, gravity, matching, scoring, cascade,
// game over and the figure's step. Standard C++ only: the window forwards its events
// here and then shows the state; every wait is handed back to the caller.
#pragma once

#include "game/equations.h"
#include "game/random_source.h"

#include <array>
#include <cstdint>
#include <string>

namespace numora {

// Board geometry, in cells and pixels.
inline constexpr int cellW = 50;
inline constexpr int cellH = 32;
inline constexpr int nCol = 8;
inline constexpr int nRow = 14;
inline constexpr int kCellCount = nCol * nRow;
inline constexpr int kBannerHeight = 40;  // height of the banner strip `Pict`

// Where the label of cell (col, row) sits in the window's client area.
constexpr int CellLeft(int col) { return col * (cellW + 1); }
constexpr int CellTop(int row) { return kBannerHeight + row * (cellH + 1); }
constexpr int CellIndex(int col, int row) { return row * nCol + col; }

// Windows virtual-key codes of the arrow keys; the window maps its keys onto them.
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

inline constexpr const char* kRemovalMark = "-1";

// Fixed timings of the game, in milliseconds.
inline constexpr int kNewGameInterval = 2000;
inline constexpr int kAnimationInterval = 200;
inline constexpr int kRemovalPause = 100;
inline constexpr int kFillPause = 8;
inline constexpr int kFigureSets = 5;  // picture sets 0..4; later stages keep set 4

enum class Sound { Landing = 104, Milestone = 106 };

// The result texts of the settled cells, with one spare column and row that always read
// empty, so a look-up one step right of the last column or below the last row is safe.
class Board {
public:
    std::string& operator()(int col, int row) { return cells_[Slot(col, row)]; }
    const std::string& operator()(int col, int row) const { return cells_[Slot(col, row)]; }
    bool Empty(int col, int row) const { return cells_[Slot(col, row)].empty(); }

private:
    static std::size_t Slot(int col, int row) {
        return static_cast<std::size_t>(row * (nCol + 1) + col);
    }
    std::array<std::string, (nCol + 1) * (nRow + 1)> cells_{};
};

// A board cell label `LabRes(k)` as the player sees it.
struct CellLabel {
    std::string caption;
    bool visible = false;
    bool marked = false;  // drawn in MarkColour instead of CellColour
};

// A timer's wanted state. `starts` counts the moments it must (re)start a full interval:
// enabling it when it was off, or setting its interval while it runs.
struct TimerState {
    bool enabled = false;
    int interval = 0;
    unsigned starts = 0;
};

struct FigureBox {
    bool visible = false;
    int left = 0;
    int top = 0;
};

// The frame last drawn into `PicMove`: which set and which of its four frames.
struct FigureFrame {
    int set = -1;  // -1: nothing drawn yet
    int frame = 0;
};

struct GameState : EquationTable {
    Board board;
    std::array<int, 2> blkCol{};
    std::array<int, 2> blkRow{};
    std::string blkRes0, blkRes1;
    std::string nextRes0, nextRes1;

    int mode = 1;
    bool playing = false;
    std::int64_t score = 0;
    int stage = 0;
    int lvlBonus = 0;
    bool canFall = false;
    bool canStep = false;
    bool removed = false;
    std::int64_t groupN = 0;
    int boyFrame = 0;
    bool boyFlip = false;

    // What the window shows.
    std::array<CellLabel, kCellCount> labRes{};
    std::array<std::string, 2> labB{};  // captions of the falling pair
    bool labBVisible = false;
    std::array<std::string, 2> labBp{"0", "0"};  // captions of the preview pair
    bool labBpVisible = false;
    std::string label1 = "0";  // the score caption
    bool picbgVisible = true;  // the splash over the board until the first game
    FigureBox picMove;
    FigureFrame picMoveImage;
    bool picTboyVisible = false;
    int picBoySet = 0;   // the set whose frames `PicBoy(0..3)` hold
    int picTboySet = 0;  // the set whose standing picture `PicTboy` shows

    TimerState timer1{false, kNewGameInterval, 0};
    TimerState timer3{false, kAnimationInterval, 0};

    // Menu check marks: 0 means no item of the group is checked.
    int checkedMode = 0;
    int checkedLevel = 0;
    bool dhyChecked = true;
    bool dhwChecked = false;
};

// What the game waits for before it can go on. The caller waits, then calls Resume with
// the serial; a serial from an abandoned wait is ignored.
struct Wait {
    enum class Kind { None, Pause, Sound };
    Kind kind = Kind::None;
    int ms = 0;                   // for Pause
    Sound sound = Sound::Landing; // for Sound: go on when this sound has ended
    unsigned serial = 0;
};

class GameEvents {
public:
    virtual ~GameEvents() = default;
    // wait: the game stands still until the sound has ended (Wait::Kind::Sound follows).
    virtual void PlaySound(Sound sound, bool wait) = 0;
    // A finished game hands its mode and final score on (to the leaderboard).
    virtual void GameEnded(int mode, std::int64_t score) = 0;
};

class Game {
public:
    Game(RandomSource& random, GameEvents& events);

    // What the window forwards.
    void ChooseMode(int index);     // a "开始" item, 1..5: starts a new game
    void ChooseLevel(int level);    // a "级别设置" item, 1..3
    void ChooseAnimation(bool on);  // "有" / "无"
    void KeyDown(int keyCode);
    void GravityTick();    // Timer1
    void AnimationTick();  // Timer3
    void Resume(unsigned serial);
    // The window closes: the game stops where it is. No timer, wait or hand-over of it
    // runs afterwards; a finished game still filling the board is not handed on.
    void Stop();

    const Wait& waiting() const { return wait_; }
    const GameState& state() const { return s_; }
    // Direct access for tests and tools that set up a situation.
    GameState& editState() { return s_; }

    // The falling-speed rule: interval in ms for a score and level offset.
    static int SpeedInterval(std::int64_t score, int lvlBonus);
    static int LevelBonus(int level);

private:
    enum class Step { None, MatchSecond, AfterMatches, Collapse, Removal, Spawn, Fill };

    void DropContinuations();
    void NewGame();
    void DrawPreview();
    int PickEquation();
    void SpawnBlock();
    void Timer1_Timer();
    void TestFall();
    void RotateBlock();
    void Land();
    bool MatchCell(int col, int row, const std::string& value);
    bool ScoreGroup(int count);
    void FinishScoring(bool milestone);
    void RemovalPass();
    bool Rescan();
    void GameOver();
    void HandOver();
    void Advance(Step step);
    void StartWait(Wait::Kind kind, int ms, Sound sound, Step next);
    void ClearWait();
    void SetTimer1Enabled(bool enabled);
    void SetTimer1Interval(int interval);
    void SetTimer3Enabled(bool enabled);
    bool Free(int col, int row) const { return s_.board.Empty(col, row); }

    RandomSource& random_;
    GameEvents& events_;
    GameState s_;
    Wait wait_;
    unsigned waitSerial_ = 0;
    Step next_ = Step::None;
    bool milestonePending_ = false;  // a scoring step waits for its milestone sound
    int fillIndex_ = 0;
    bool filling_ = false;  // the game-over fill has not handed over yet
};

}  // namespace numora
