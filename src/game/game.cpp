#include "game/game.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace numora {

Game::Game(RandomSource& random, GameEvents& events) : random_(random), events_(events) {}

int Game::LevelBonus(int level) {
    return level == 2 ? 3000 : level == 3 ? 6000 : 0;
}

int Game::SpeedInterval(std::int64_t score, int levelBonus) {
    const std::int64_t step = std::min<std::int64_t>((score + levelBonus) / 1000, 9);
    return static_cast<int>((10 - step) * 200);
}

// ---------------------------------------------------------------- menus

void Game::ChooseMode(int index) {
    if (index < 1 || index > kModeCount) return;
    // A finished game whose closing fill is still running is handed on first, so its
    // score is never lost to the new game.
    if (pending_.then == Step::Fill) HandOver();
    s_.mode = index;
    NewGame();
}

void Game::ChooseLevel(int level) {
    if (level < 1 || level > 3) return;
    s_.level = level;
    s_.gravity.SetInterval(SpeedInterval(0, LevelBonus(level)));
}

void Game::ChooseAnimation(bool on) {
    s_.animationOn = on;
    s_.animation.Enable(on);
    s_.walkingFigure.visible = on;
}

// ---------------------------------------------------------------- new game, spawn

// Whatever the old game was waiting for belongs to it alone: no continuation of it runs.
void Game::DropContinuations() {
    pending_ = Pending{Wait{.serial = pending_.wait.serial + 1}};
}

void Game::NewGame() {
    DropContinuations();

    s_.score = 0;
    s_.stage = 0;
    s_.started = true;
    s_.playing = true;
    s_.gravity.SetInterval(kNewGameInterval);
    s_.filled = 0;
    s_.walkingFigure.left = (kColumns - 1) * kCellWidth;
    s_.walkingFigure.top = kBannerHeight;
    if (s_.animationOn) {
        s_.walkingFigure.visible = true;
        s_.animation.Enable(true);
    }
    s_.board.Clear();
    LoadEquations(EquationList(s_.mode), s_);
    DrawPreview();
    SpawnPair();
}

std::size_t Game::PickEquation() {
    const double r = random_.NextUnit();
    const int k = static_cast<int>(r * s_.equationCount);
    return static_cast<std::size_t>(std::clamp(k, 0, s_.equationCount - 1));
}

void Game::DrawPreview() {
    s_.preview[0] = PickEquation();
    s_.preview[1] = PickEquation();
}

void Game::SpawnPair() {
    s_.pair.col = {3, 4};
    s_.pair.row = {0, 0};
    s_.facing = 0;
    s_.pair.equation = s_.preview;
    DrawPreview();
    s_.gravity.Enable(true);
}

// ---------------------------------------------------------------- keys

void Game::Press(Arrow arrow) {
    if (!s_.playing) return;
    // The game stands still while the milestone sound plays.
    if (MilestoneSounding()) return;
    auto& col = s_.pair.col;
    auto& row = s_.pair.row;
    switch (arrow) {
    case Arrow::Left:
    case Arrow::Right: {
        // A step aside, when both cells have a free cell beside them; the figure turns to it.
        const int dx = arrow == Arrow::Left ? -1 : 1;
        const int edge = arrow == Arrow::Left ? 0 : kColumns - 1;
        if (col[0] != edge && col[1] != edge && Free(col[0] + dx, row[0]) &&
            Free(col[1] + dx, row[1])) {
            col[0] += dx;
            col[1] += dx;
            s_.facing = dx < 0 ? 0 : 2;
        }
        break;
    }
    case Arrow::Up:
        TurnPair();
        break;
    case Arrow::Down:
        if (downAllowed()) StepDown();
        break;
    }
}

void Game::TurnPair() {
    const int c0 = s_.pair.col[0], r0 = s_.pair.row[0];
    const int c1 = s_.pair.col[1], r1 = s_.pair.row[1];
    if (r0 == r1 && r0 < kRows - 1) {
        if (!Free(c0, r0 + 1)) return;
        if (c1 < c0) { // A1: from the left of cell 0 to below it
            s_.pair.col[1] = c0;
            s_.pair.row[1] = r0 + 1;
        } else if (c1 > c0) { // A2: the pair sinks, cell 1 ends above cell 0, in its row
            s_.pair.row[0] = r0 + 1;
            s_.pair.col[1] = c0;
        }
    } else if (r1 > r0 && c1 < kColumns - 1) { // B1: from below to the right
        if (Free(c1 + 1, r0)) {
            s_.pair.col[1] = c1 + 1;
            s_.pair.row[1] = r0;
        }
    } else if (r1 < r0 && c1 > 0) { // B2: from above to the left
        if (Free(c1 - 1, r0)) {
            s_.pair.col[1] = c1 - 1;
            s_.pair.row[1] = r0;
        }
    }
}

// ---------------------------------------------------------------- gravity and landing

void Game::GravityTick() {
    if (!s_.gravity.enabled || pending_.wait.kind != Wait::Kind::None) return;
    StepDown();
}

void Game::StepDown() {
    if (!Free(3, 0) || !Free(4, 0)) {
        GameOver();
        return;
    }
    if (CanFall()) {
        ++s_.pair.row[0];
        ++s_.pair.row[1];
        return;
    }
    Land();
}

bool Game::CanFall() const {
    const auto& col = s_.pair.col;
    const auto& row = s_.pair.row;
    if (col[0] == col[1]) {
        const std::size_t lower = row[0] > row[1] ? 0 : 1;
        return Free(col[lower], row[lower] + 1) && row[lower] < kRows - 1;
    }
    const int r = row[0];
    return Free(col[0], r + 1) && Free(col[1], r + 1) && r < kRows - 1;
}

void Game::Land() {
    s_.gravity.Enable(false);
    for (std::size_t i = 0; i < 2; ++i)
        s_.board(s_.pair.col[i], s_.pair.row[i]) = Cell{s_.fallingResult(i)};
    s_.chainNeighbours = 0;
    Advance(Step::MatchFirst);
}

// Runs the landing sequence (and the game-over fill) from `step` until it must wait.
void Game::Advance(Step step) {
    while (step != Step::None) {
        Step then = Step::None;
        switch (step) {
        case Step::None:
            break;
        case Step::MatchFirst:
            MarkGroup(s_.pair.col[0], s_.pair.row[0], s_.fallingResult(0));
            then = Step::MatchSecond;
            break;
        case Step::MatchSecond:
            MarkGroup(s_.pair.col[1], s_.pair.row[1], s_.fallingResult(1));
            then = Step::AfterMatches;
            break;
        case Step::AfterMatches:
            if (!s_.board.AnyMarked()) {
                then = Step::Spawn;
                break;
            }
            events_.PlaySound(Sound::Landing);
            then = Step::Collapse;
            break;
        case Step::Collapse:
            // The marked cells stay in view in MarkColour for the pause.
            StartWait(Wait{.kind = Wait::Kind::Pause, .ms = kRemovalPause});
            then = Step::Removal;
            break;
        case Step::Removal:
            RemovalPass();
            then = Rescan() ? Step::Collapse : Step::Spawn;
            break;
        case Step::Spawn:
            SpawnPair();
            break;
        case Step::Fill:
            if (s_.filled >= kCellCount) {
                HandOver();
                break;
            }
            ++s_.filled;
            StartWait(Wait{.kind = Wait::Kind::Pause, .ms = kFillPause});
            then = Step::Fill;
            break;
        }
        // A milestone's sound may have begun a wait inside any step, too.
        if (pending_.wait.kind != Wait::Kind::None) {
            pending_.then = then;
            return;
        }
        step = then;
    }
}

// ---------------------------------------------------------------- matching and scoring

// Marks the cross of equal results in line with (col, row) and scores it. Returns whether
// it found a group; one that reaches a score milestone leaves the game waiting for its sound.
bool Game::MarkGroup(int col, int row, const std::string& value) {
    const bool holds = !Free(col, row);
    int count = 0;
    auto run = [&](int dx, int dy) {
        for (int x = col + dx, y = row + dy; x >= 0 && x < kColumns && y >= 0 && y < kRows;
             x += dx, y += dy) {
            Cell& cell = s_.board(x, y);
            // A run stops at a cell another group has marked.
            if (!holds || cell.marked || cell.result != value) return;
            cell.marked = true;
            ++count;
        }
    };
    run(-1, 0);
    run(1, 0);
    run(0, 1);
    run(0, -1);
    if (count == 0) return false;
    s_.board(col, row).marked = true;
    ScoreGroup(count);
    return true;
}

void Game::ScoreGroup(int count) {
    const std::int64_t before = s_.score;
    s_.chainNeighbours += count;
    s_.score += 10 * count * count + 20 * s_.chainNeighbours;
    s_.gravity.SetInterval(SpeedInterval(s_.score, LevelBonus(s_.level)));
    if (s_.score / 2000 > s_.stage) {
        // The game stands still while the sound plays; the new score and the stage's
        // pictures show once it has ended.
        ++s_.stage;
        events_.PlaySound(Sound::Milestone);
        StartWait(Wait{.kind = Wait::Kind::Sound, .sound = Sound::Milestone});
        pending_.scoreShown = before;
    }
}

// Takes the marked cells off, column by column from the top, and lets each settled cell
// above drop one row for every removed cell beneath it.
void Game::RemovalPass() {
    for (int col = 0; col < kColumns; ++col) {
        for (int row = 0; row < kRows; ++row) {
            if (!s_.board(col, row).marked) continue;
            s_.board(col, row) = Cell{};
            for (int k = row - 1; k >= 0; --k) {
                if (Free(col, k)) continue;
                s_.board(col, k + 1) = std::move(s_.board(col, k));
                s_.board(col, k) = Cell{};
            }
        }
    }
}

// Looks for the first cell, column by column, that has an equal neighbour in line, and
// marks and scores its group. Returns whether one was found.
bool Game::Rescan() {
    for (int col = 0; col < kColumns; ++col)
        for (int row = 0; row < kRows; ++row)
            if (!Free(col, row) && MarkGroup(col, row, s_.board(col, row).result)) return true;
    return false;
}

// ---------------------------------------------------------------- game over

void Game::GameOver() {
    s_.gravity.Enable(false);
    s_.playing = false;
    Advance(Step::Fill); // from the first cell: every new game begins with none filled
}

void Game::Stop() {
    DropContinuations();
    s_.playing = false;
    s_.gravity.Enable(false);
    s_.animation.Enable(false);
}

void Game::HandOver() {
    DropContinuations();
    events_.HandOverScore(s_.mode, s_.score);
}

// ---------------------------------------------------------------- the figure

void Game::AnimationTick() {
    if (!s_.animation.enabled || MilestoneSounding()) return;
    s_.walkingFrame.set = figureSet();
    s_.walkingFrame.frame = s_.secondPose ? s_.facing + 1 : s_.facing;
    s_.secondPose = !s_.secondPose;
    const int col = std::min(s_.pair.col[0], s_.pair.col[1]);
    const int row = std::min(s_.pair.row[0], s_.pair.row[1]);
    if (row > 1) {
        s_.walkingFigure.left = kCellWidth * col;
        s_.walkingFigure.top = row * kCellHeight - 12;
        s_.walkingFigure.visible = true;
        s_.bannerFigureVisible = false;
    } else {
        s_.walkingFigure.visible = false;
        s_.bannerFigureVisible = true;
    }
}

// ---------------------------------------------------------------- what the window shows

CellLabel Game::cellLabel(int k) const {
    const Cell& cell = s_.board(k % kColumns, k / kColumns);
    // The game-over fill blanks the labels one by one and leaves the board as it was.
    if (k < s_.filled) return {"", true, cell.marked};
    return {cell.result, !cell.result.empty(), cell.marked};
}

std::string Game::scoreCaption() const {
    return std::to_string(MilestoneSounding() ? pending_.scoreShown : s_.score);
}

int Game::figureSet() const {
    // A milestone's stage takes its pictures once its sound has ended.
    const int stage = s_.stage - (MilestoneSounding() ? 1 : 0);
    return std::min(stage, kFigureSets - 1);
}

// ---------------------------------------------------------------- setting up a situation

void Game::SetUp(const Situation& situation) {
    // All is checked before anything changes: a situation refused leaves the game as it was.
    auto refuse = [](const std::string& what) { throw std::invalid_argument(what); };
    Board board;
    int row = kRows - static_cast<int>(situation.board.size());
    for (const std::string& line : situation.board) {
        std::istringstream tokens(line);
        std::string token;
        for (int col = 0; tokens >> token; ++col) {
            if (row < 0 || col >= kColumns) refuse("a board picture larger than the board");
            const bool marked = token.size() > 1 && token.ends_with('*');
            if (marked) token.pop_back();
            if (token != ".") board(col, row) = Cell{token, marked};
        }
        ++row;
    }
    if (const auto& pair = situation.pair) {
        std::array<std::size_t, 2> eq{};
        for (std::size_t i = 0; i < 2; ++i) {
            const int c = pair->col[i], r = pair->row[i];
            if (c < 0 || c >= kColumns || r < 0 || r >= kRows) refuse("a pair off the board");
            const auto first = s_.results.begin(), last = first + s_.equationCount;
            eq[i] = static_cast<std::size_t>(std::find(first, last, pair->result[i]) - first);
            if (eq[i] == static_cast<std::size_t>(s_.equationCount))
                refuse("no equation of the list has " + pair->result[i]);
        }
        s_.pair.col = pair->col;
        s_.pair.row = pair->row;
        s_.pair.equation = eq;
    }
    if (!situation.board.empty()) s_.board = board;
    if (situation.score) s_.score = *situation.score;
    if (situation.stage) s_.stage = *situation.stage;
}

// ---------------------------------------------------------------- waits and timers

void Game::StartWait(Wait wait) {
    wait.serial = pending_.wait.serial + 1;
    pending_ = Pending{wait};
}

void Game::Resume(unsigned serial) {
    if (pending_.wait.kind == Wait::Kind::None || serial != pending_.wait.serial) return;
    const Step then = pending_.then;
    DropContinuations();
    Advance(then);
}

} // namespace numora
