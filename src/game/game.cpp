#include "game/game.h"

#include <algorithm>

namespace numora {

Game::Game(RandomSource& random, GameEvents& events) : random_(random), events_(events) {}

int Game::LevelBonus(int level) {
    switch (level) {
    case 2: return 3000;
    case 3: return 6000;
    default: return 0;
    }
}

int Game::SpeedInterval(std::int64_t score, int lvlBonus) {
    const std::int64_t step = std::min<std::int64_t>((score + lvlBonus) / 1000, 9);
    return static_cast<int>((10 - step) * 200);
}

// ---------------------------------------------------------------- menus

void Game::ChooseMode(int index) {
    if (index < 1 || index > kModeCount) return;
    // A finished game whose closing fill is still running is handed on first, so its
    // score is never lost to the new game.
    if (filling_) HandOver();
    s_.mode = index;
    s_.checkedMode = index;
    NewGame();
}

void Game::ChooseLevel(int level) {
    if (level < 1 || level > 3) return;
    s_.lvlBonus = LevelBonus(level);
    s_.checkedLevel = level;
    SetTimer1Interval(SpeedInterval(0, s_.lvlBonus));
}

void Game::ChooseAnimation(bool on) {
    s_.dhyChecked = on;
    s_.dhwChecked = !on;
    SetTimer3Enabled(on);
    s_.picMove.visible = on;
}

// ---------------------------------------------------------------- new game, spawn

// Whatever the old game was waiting for belongs to it alone: no continuation of it runs.
void Game::DropContinuations() {
    ClearWait();
    next_ = Step::None;
    milestonePending_ = false;
    filling_ = false;
}

void Game::NewGame() {
    DropContinuations();

    s_.canStep = true;
    s_.score = 0;
    s_.stage = 0;
    s_.picbgVisible = false;
    s_.picBoySet = 0;
    s_.picTboySet = 0;
    s_.playing = true;
    SetTimer1Interval(kNewGameInterval);
    s_.label1 = "0";
    for (CellLabel& label : s_.labRes) label = CellLabel{};
    s_.picMove.left = (nCol - 1) * cellW;
    s_.picMove.top = kBannerHeight;
    if (s_.dhyChecked) {
        s_.picMove.visible = true;
        SetTimer3Enabled(true);
    }
    s_.labBpVisible = true;
    for (int col = 0; col < nCol; ++col)
        for (int row = 0; row < nRow; ++row) s_.board(col, row).clear();
    LoadEquations(EquationList(s_.mode), s_);
    DrawPreview();
    SpawnBlock();
    SetTimer1Enabled(true);
}

int Game::PickEquation() {
    const double r = random_.NextUnit();
    int k = static_cast<int>(r * s_.eqCount);
    return std::clamp(k, 0, s_.eqCount - 1);
}

void Game::DrawPreview() {
    const auto k0 = static_cast<std::size_t>(PickEquation());
    s_.labBp[0] = s_.eqText[k0];
    s_.nextRes0 = s_.eqRes[k0];
    const auto k1 = static_cast<std::size_t>(PickEquation());
    s_.labBp[1] = s_.eqText[k1];
    s_.nextRes1 = s_.eqRes[k1];
}

void Game::SpawnBlock() {
    s_.blkCol = {3, 4};
    s_.blkRow = {0, 0};
    s_.boyFrame = 0;
    s_.labB[0] = s_.labBp[0];
    s_.blkRes0 = s_.nextRes0;
    s_.labB[1] = s_.labBp[1];
    s_.blkRes1 = s_.nextRes1;
    s_.labBVisible = true;
    DrawPreview();
    SetTimer1Enabled(true);
}

// ---------------------------------------------------------------- keys

void Game::KeyDown(int keyCode) {
    if (!s_.playing) return;
    // The game stands still while the milestone sound plays.
    if (wait_.kind == Wait::Kind::Sound) return;
    auto& col = s_.blkCol;
    auto& row = s_.blkRow;
    switch (keyCode) {
    case kKeyLeft:
        if (col[0] > 0 && col[1] > 0 && Free(col[0] - 1, row[0]) && Free(col[1] - 1, row[1])) {
            --col[0];
            --col[1];
            s_.boyFrame = 0;
        }
        break;
    case kKeyRight:
        if (col[0] < nCol - 1 && col[1] < nCol - 1 && Free(col[0] + 1, row[0]) &&
            Free(col[1] + 1, row[1])) {
            ++col[0];
            ++col[1];
            s_.boyFrame = 2;
        }
        break;
    case kKeyUp:
        RotateBlock();
        break;
    case kKeyDown:
        if (s_.canStep) Timer1_Timer();
        break;
    default:
        break;
    }
}

void Game::RotateBlock() {
    const int c0 = s_.blkCol[0], r0 = s_.blkRow[0];
    const int c1 = s_.blkCol[1], r1 = s_.blkRow[1];
    if (r0 == r1 && r0 < nRow - 1) {
        if (!Free(c0, r0 + 1)) return;
        if (c1 < c0) {  // A1: from the left of cell 0 to below it
            s_.blkCol[1] = c0;
            s_.blkRow[1] = r0 + 1;
        } else if (c1 > c0) {  // A2: the pair sinks, cell 1 ends above cell 0
            s_.blkRow[0] = r0 + 1;
            s_.blkCol[1] = c0;
            s_.blkRow[1] = r0;
        }
    } else if (r1 > r0 && c1 < nCol - 1) {  // B1: from below to the right
        if (Free(c1 + 1, r0)) {
            s_.blkCol[1] = c1 + 1;
            s_.blkRow[1] = r0;
        }
    } else if (r1 < r0 && c1 > 0) {  // B2: from above to the left
        if (Free(c1 - 1, r0)) {
            s_.blkCol[1] = c1 - 1;
            s_.blkRow[1] = r0;
        }
    }
}

// ---------------------------------------------------------------- gravity and landing

void Game::GravityTick() {
    if (!s_.timer1.enabled || wait_.kind != Wait::Kind::None) return;
    Timer1_Timer();
}

void Game::Timer1_Timer() {
    if (!Free(3, 0) || !Free(4, 0)) {
        GameOver();
        return;
    }
    TestFall();
    if (s_.canFall) {
        ++s_.blkRow[0];
        ++s_.blkRow[1];
        return;
    }
    Land();
}

void Game::TestFall() {
    const auto& col = s_.blkCol;
    const auto& row = s_.blkRow;
    if (col[0] == col[1]) {
        const int lower = row[0] > row[1] ? 0 : 1;
        const int c = col[static_cast<std::size_t>(lower)];
        const int r = row[static_cast<std::size_t>(lower)];
        s_.canFall = Free(c, r + 1) && r < nRow - 1;
    } else {
        const int r = row[0];
        s_.canFall = Free(col[0], r + 1) && Free(col[1], r + 1) && r < nRow - 1;
    }
}

void Game::Land() {
    SetTimer1Enabled(false);
    s_.labBVisible = false;
    const std::string* results[2] = {&s_.blkRes0, &s_.blkRes1};
    for (std::size_t i = 0; i < 2; ++i) {
        CellLabel& label = s_.labRes[static_cast<std::size_t>(CellIndex(s_.blkCol[i], s_.blkRow[i]))];
        label.visible = true;
        label.caption = *results[i];
    }
    for (std::size_t i = 0; i < 2; ++i) s_.board(s_.blkCol[i], s_.blkRow[i]) = *results[i];
    s_.removed = false;
    s_.groupN = 0;
    if (MatchCell(s_.blkCol[0], s_.blkRow[0], s_.blkRes0)) {
        next_ = Step::MatchSecond;
        return;
    }
    Advance(Step::MatchSecond);
}

// Runs the landing sequence (and the game-over fill) from `step` until it must wait.
void Game::Advance(Step step) {
    for (;;) {
        switch (step) {
        case Step::None:
            return;
        case Step::MatchSecond:
            if (MatchCell(s_.blkCol[1], s_.blkRow[1], s_.blkRes1)) {
                next_ = Step::AfterMatches;
                return;
            }
            step = Step::AfterMatches;
            break;
        case Step::AfterMatches:
            if (!s_.removed) {
                step = Step::Spawn;
                break;
            }
            events_.PlaySound(Sound::Landing, false);
            step = Step::Collapse;
            break;
        case Step::Collapse:
            // The marked cells stay in view in MarkColour for the pause; the Down arrow is
            // refused until the whole cascade is over.
            s_.canStep = false;
            StartWait(Wait::Kind::Pause, kRemovalPause, Sound::Landing, Step::Removal);
            return;
        case Step::Removal:
            RemovalPass();
            if (Rescan()) {
                if (wait_.kind == Wait::Kind::Sound) {
                    next_ = Step::Collapse;
                    return;
                }
                step = Step::Collapse;
                break;
            }
            s_.canStep = true;
            step = Step::Spawn;
            break;
        case Step::Spawn:
            SpawnBlock();
            return;
        case Step::Fill:
            if (fillIndex_ >= kCellCount) {
                HandOver();
                return;
            }
            s_.labRes[static_cast<std::size_t>(fillIndex_)].visible = true;
            s_.labRes[static_cast<std::size_t>(fillIndex_)].caption.clear();
            ++fillIndex_;
            StartWait(Wait::Kind::Pause, kFillPause, Sound::Landing, Step::Fill);
            return;
        }
    }
}

// ---------------------------------------------------------------- matching and scoring

// Marks the cross of equal results in line with (col, row) and scores it. Returns true
// when the scoring reached a milestone and the game now waits for its sound.
bool Game::MatchCell(int col, int row, const std::string& value) {
    const bool holds = !s_.board.Empty(col, row);
    int count = 0;
    auto run = [&](int dx, int dy) {
        for (int x = col + dx, y = row + dy; x >= 0 && x < nCol && y >= 0 && y < nRow;
             x += dx, y += dy) {
            if (!holds || s_.board(x, y) != value) return;
            s_.board(x, y) = kRemovalMark;
            s_.labRes[static_cast<std::size_t>(CellIndex(x, y))].marked = true;
            ++count;
        }
    };
    run(-1, 0);
    run(1, 0);
    run(0, 1);
    run(0, -1);
    if (count == 0) return false;
    s_.board(col, row) = kRemovalMark;
    s_.labRes[static_cast<std::size_t>(CellIndex(col, row))].marked = true;
    s_.removed = true;
    return ScoreGroup(count);
}

bool Game::ScoreGroup(int count) {
    s_.groupN += count;
    s_.score += 10 * count * count + 20 * s_.groupN;
    SetTimer1Interval(SpeedInterval(s_.score, s_.lvlBonus));
    if (s_.score / 2000 > s_.stage) {
        ++s_.stage;
        events_.PlaySound(Sound::Milestone, true);
        milestonePending_ = true;
        StartWait(Wait::Kind::Sound, 0, Sound::Milestone, Step::None);  // the caller says what follows
        return true;
    }
    FinishScoring(false);
    return false;
}

void Game::FinishScoring(bool milestone) {
    if (milestone && s_.stage < kFigureSets) {
        s_.picBoySet = s_.stage;
        s_.picTboySet = s_.stage;
    }
    s_.label1 = std::to_string(s_.score);
}

// Takes the marked cells off, column by column from the top, and lets each settled cell
// above drop one row for every removed cell beneath it.
void Game::RemovalPass() {
    for (int col = 0; col < nCol; ++col) {
        for (int row = 0; row < nRow; ++row) {
            if (s_.board(col, row) != kRemovalMark) continue;
            CellLabel& gone = s_.labRes[static_cast<std::size_t>(CellIndex(col, row))];
            gone.marked = false;
            gone.visible = false;
            s_.board(col, row).clear();
            for (int k = row - 1; k >= 0; --k) {
                if (s_.board.Empty(col, k)) continue;
                s_.board(col, k + 1) = s_.board(col, k);
                CellLabel& to = s_.labRes[static_cast<std::size_t>(CellIndex(col, k + 1))];
                CellLabel& from = s_.labRes[static_cast<std::size_t>(CellIndex(col, k))];
                to.caption = from.caption;
                to.visible = true;
                s_.board(col, k).clear();
                from.visible = false;
            }
        }
    }
}

// Looks for the first cell, column by column, that has an equal neighbour in line, and
// marks and scores its group. Returns whether one was found.
bool Game::Rescan() {
    for (int col = 0; col < nCol; ++col) {
        for (int row = 0; row < nRow; ++row) {
            if (s_.board.Empty(col, row)) continue;
            s_.removed = false;
            const std::string value = s_.board(col, row);
            MatchCell(col, row, value);
            if (s_.removed) return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- game over

void Game::GameOver() {
    SetTimer1Enabled(false);
    s_.playing = false;
    s_.labBVisible = false;
    fillIndex_ = 0;
    filling_ = true;
    Advance(Step::Fill);
}

void Game::Stop() {
    DropContinuations();
    s_.playing = false;
    SetTimer1Enabled(false);
    SetTimer3Enabled(false);
}

void Game::HandOver() {
    DropContinuations();
    events_.GameEnded(s_.mode, s_.score);
}

// ---------------------------------------------------------------- the figure

void Game::AnimationTick() {
    if (!s_.timer3.enabled || wait_.kind == Wait::Kind::Sound) return;
    s_.picMoveImage.set = s_.picBoySet;
    s_.picMoveImage.frame = s_.boyFlip ? s_.boyFrame + 1 : s_.boyFrame;
    s_.boyFlip = !s_.boyFlip;
    const int col = std::min(s_.blkCol[0], s_.blkCol[1]);
    const int row = std::min(s_.blkRow[0], s_.blkRow[1]);
    if (row > 1) {
        s_.picMove.left = cellW * col;
        s_.picMove.top = row * cellH - 12;
        s_.picMove.visible = true;
        s_.picTboyVisible = false;
    } else {
        s_.picMove.visible = false;
        s_.picTboyVisible = true;
    }
}

// ---------------------------------------------------------------- waits and timers

void Game::StartWait(Wait::Kind kind, int ms, Sound sound, Step next) {
    wait_ = Wait{kind, ms, sound, ++waitSerial_};
    next_ = next;
}

void Game::ClearWait() { wait_ = Wait{Wait::Kind::None, 0, Sound::Landing, ++waitSerial_}; }

void Game::Resume(unsigned serial) {
    if (wait_.kind == Wait::Kind::None || serial != wait_.serial) return;
    ClearWait();
    if (milestonePending_) {
        milestonePending_ = false;
        FinishScoring(true);
    }
    const Step next = next_;
    next_ = Step::None;
    Advance(next);
}

void Game::SetTimer1Enabled(bool enabled) {
    if (enabled && !s_.timer1.enabled) ++s_.timer1.starts;
    s_.timer1.enabled = enabled;
}

void Game::SetTimer1Interval(int interval) {
    s_.timer1.interval = interval;
    if (s_.timer1.enabled) ++s_.timer1.starts;
}

void Game::SetTimer3Enabled(bool enabled) {
    if (enabled && !s_.timer3.enabled) ++s_.timer3.starts;
    s_.timer3.enabled = enabled;
}

}  // namespace numora
