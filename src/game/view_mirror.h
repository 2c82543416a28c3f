// How a view (the desktop window, the web page) mirrors the game after every call: what each
// board cell must change to show the game's state, and what each of its timers must do. The
// views only apply the answers, each with its own widgets or elements.
#pragma once

#include "game/game.h"

#include <string>

namespace numora {

// What a board cell's widget or element must change.
struct CellChange {
    bool caption = false;
    bool background = false;
    bool visibility = false;
};

// A board cell as the view last showed it, so a sync touches only what changed; the first
// showing sets everything.
struct ShownCell {
    std::string caption;
    bool visible = false;
    bool marked = false;
    bool shownOnce = false;

    // What must change to show `want`; remembered as shown. A hidden cell keeps whatever
    // caption it had: the caption is set when the cell shows again.
    CellChange Show(const CellLabel& want) {
        const CellChange change{want.visible && (!shownOnce || want.caption != caption),
                                !shownOnce || want.marked != marked,
                                !shownOnce || want.visible != visible};
        if (change.caption) caption = want.caption;
        marked = want.marked;
        visible = want.visible;
        shownOnce = true;
        return change;
    }
};

enum class TimerMove { Keep, Stop, Start };

// A view's repeating timer (gravity, animation): off when the game wants it off, started on
// a full interval when the game asked for a new start or the timer is not running.
struct TimerFollower {
    unsigned seenStarts = 0;
    TimerMove Follow(const TimerState& want, bool running) {
        const TimerMove move = !want.enabled                           ? TimerMove::Stop
                               : want.starts != seenStarts || !running ? TimerMove::Start
                                                                       : TimerMove::Keep;
        seenStarts = want.starts;
        return move;
    }
};

// A view's single-shot wait timer: armed once for each wait the game asks for. `armed` is
// the serial handed back to Game::Resume when it ends.
struct WaitFollower {
    unsigned armed = 0;
    TimerMove Follow(const Wait& wait, bool running) {
        if (wait.kind == Wait::Kind::None) return TimerMove::Stop;
        if (wait.serial == armed && running) return TimerMove::Keep;
        armed = wait.serial;
        return TimerMove::Start;
    }
};

} // namespace numora
